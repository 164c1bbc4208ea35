#include <benchmark/benchmark.h>

#include "data/record_database.h"

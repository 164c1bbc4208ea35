#include "data/serial_number.h"

namespace wmb {

int candidate_add_serial(int record_count) { return record_count + 1; }

int resolve_add_serial(int candidate, bool candidate_taken) { return candidate_taken ? candidate + 1 : candidate; }

int transferred_serial(int target_count_after_append) { return target_count_after_append; }

int renumbered_serial(int record_number) { return record_number; }

int record_for_row(int row) { return row + 1; }

int row_for_record(int record_number) { return record_number - 1; }

}  // namespace wmb

// Any bytes as a record file: open either refuses them or the whole file
// reads without a crash. Seeds: small registers in corpus/.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/record_database.h"

namespace fs = std::filesystem;

namespace {

// The input's file, removed when the fuzzer ends.
struct InputFile {
    fs::path path = fs::temp_directory_path() / ("register_open_fuzzer-" + std::to_string(getpid()) + ".edb");
    ~InputFile() {
        std::error_code error;
        fs::remove(path, error);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const InputFile input;
    const fs::path& file = input.path;
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    wmb::RecordDatabase db;
    if (db.open(file)) {
        const int count = std::min(db.record_count(), 1000);
        for (int k = 1; k <= count; ++k) {
            db.go_to(k);
            for (int n = 1; n <= wmb::kFieldCount; ++n) db.read_field(n);
        }
        db.go_to_first();
        db.find([](wmb::RecordDatabase& d) { return d.read_text(13).size() == 18; });
        db.close();
    }
    return 0;
}

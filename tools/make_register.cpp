// make_register DIR: the empty record files and the photo folder that the
// program needs before its first start. An existing record file is left as
// it is.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "data/record_database.h"

namespace fs = std::filesystem;

namespace {

std::string display(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string display(const std::u8string& text) { return std::string(text.begin(), text.end()); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_register DIR\n");
        return 2;
    }
    const fs::path dir = fs::u8path(argv[1]);
    std::error_code error;
    fs::create_directories(dir / "photo", error);
    if (error) {
        std::fprintf(stderr, "%s: %s\n", display(dir / "photo").c_str(), error.message().c_str());
        return 1;
    }
    int status = 0;
    for (const char* name : {"xsdate.edb", "deldate.edb"}) {
        const fs::path file = dir / name;
        if (fs::exists(file, error)) {
            std::printf("%s exists, left as it is\n", display(file).c_str());
            continue;
        }
        const wmb::DbResult result = wmb::RecordDatabase::create_register(file);
        if (result) {
            std::printf("%s created\n", display(file).c_str());
        } else {
            std::fprintf(stderr, "%s: %s\n", display(file).c_str(), display(result.message).c_str());
            status = 1;
        }
    }
    return status;
}

#pragma once
// Every file of the program lies in its run directory, the folder of the .exe.

#include <filesystem>

namespace wmb {

struct RunPaths {
    std::filesystem::path run_dir;

    std::filesystem::path register_file() const { return run_dir / "xsdate.edb"; }
    std::filesystem::path deleted_file() const { return run_dir / "deldate.edb"; }
    std::filesystem::path config_file() const { return run_dir / "config.ini"; }
    std::filesystem::path photo_dir() const { return run_dir / "photo"; }
};

}  // namespace wmb

#include "workspace.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace bench {

namespace {

// A memory file system where there is one, so that the BMP timings measure the library rather
// than the disk (overwriting a file on ext4 can wait for a flush of the old contents).
std::filesystem::path TemporaryRoot() {
    std::error_code error;
    const std::filesystem::path memory = "/dev/shm";
    if (std::filesystem::is_directory(memory, error)) return memory;
    return std::filesystem::temp_directory_path();
}

}  // namespace

Workspace::Workspace(const char* userIdentity) : previous_(std::filesystem::current_path()) {
    std::string pattern = (TemporaryRoot() / "ecc200-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    directory_ = pattern;
    std::ofstream(directory_ / "user.id") << userIdentity << "\n";
    std::filesystem::current_path(directory_);
}

Workspace::~Workspace() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(directory_, ignored);
}

}  // namespace bench

#include "atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "tool_error.h"

namespace ecc200_cli {
namespace {

std::string TemporaryPattern(const std::string& target) {
    const std::filesystem::path path(target);
    std::string hidden(".");
    hidden += path.filename().string();
    hidden += ".XXXXXX";
    return (path.parent_path() / hidden).string();
}

// mkstemp makes the file readable by its owner only; a finished output gets the permissions that
// any newly created file would get.
void GiveUsualPermissions(int descriptor) {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, static_cast<mode_t>(0666 & ~mask));
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
    std::string pattern = TemporaryPattern(target_);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) Fail("cannot write", errno);
    temporary_ = name.data();
    GiveUsualPermissions(descriptor);
    stream_ = fdopen(descriptor, "wb");
    if (stream_ == nullptr) {
        const int error = errno;
        close(descriptor);
        std::remove(temporary_.c_str());
        Fail("cannot write", error);
    }
}

AtomicFile::~AtomicFile() {
    if (committed_) return;
    CloseStream();
    std::remove(temporary_.c_str());
}

void AtomicFile::CloseStream() {
    if (stream_ != nullptr) std::fclose(stream_);
    stream_ = nullptr;
}

const std::string& AtomicFile::HandOverPath() {
    CloseStream();
    return temporary_;
}

void AtomicFile::Commit() {
    if (stream_ != nullptr) {
        const bool written = std::fflush(stream_) == 0 && !std::ferror(stream_);
        const int error = errno;
        const bool closed = std::fclose(stream_) == 0;
        stream_ = nullptr;
        if (!written || !closed) Fail("cannot write", written ? errno : error);
    }
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail("cannot write", errno);
    committed_ = true;
}

void AtomicFile::Fail(const std::string& what, int error) const {
    throw ToolError(kExitFileError, what + " '" + target_ + "': " + std::strerror(error));
}

}  // namespace ecc200_cli

#include "atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform.h"
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

}  // namespace

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
    temporary_ = TemporaryPattern(target_);
    stream_ = CreateTemporaryFile(temporary_);
    if (stream_ == nullptr) Fail("cannot write", errno);
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

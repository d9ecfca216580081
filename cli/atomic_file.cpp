#include "atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

constexpr int kNameAttempts = 100;

// A hidden name next to target that no other writer picks: ".name.png.3f9a1c07".
std::string TemporaryName(const std::string& target) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%016llx", static_cast<unsigned long long>(random()));
    const std::filesystem::path path(target);
    return (path.parent_path() / ("." + path.filename().string() + suffix)).string();
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
    for (int attempt = 0; stream_ == nullptr; ++attempt) {
        temporary_ = TemporaryName(target_);
        stream_ = CreateNewFile(temporary_);
        if (stream_ == nullptr && (errno != EEXIST || attempt == kNameAttempts)) {
            Fail("cannot write", errno);
        }
    }
    std::setvbuf(stream_, buffer_.data(), _IOFBF, buffer_.size());
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
    if (const int error = ReplaceAtomically(temporary_, target_); error != 0) {
        Fail("cannot write", error);
    }
    committed_ = true;
}

void AtomicFile::Fail(const std::string& what, int error) const {
    throw ToolError(kExitFileError, what + " '" + target_ + "': " + std::strerror(error));
}

}  // namespace ecc200_cli

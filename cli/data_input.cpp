#include "data_input.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "ecc200.h"
#include "platform.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void FailToRead(const std::string& path, int error) {
    const std::string name = path == "-" ? "standard input" : "'" + path + "'";
    throw ToolError(kExitFileError, "cannot read " + name + ": " + std::strerror(error));
}

std::string ReadFrom(std::FILE* file, const std::string& path, std::size_t maxBytes) {
    std::string bytes;
    char chunk[65536];
    while (bytes.size() < maxBytes) {
        const std::size_t wanted = std::min(sizeof chunk, maxBytes - bytes.size());
        const std::size_t got = std::fread(chunk, 1, wanted, file);
        bytes.append(chunk, got);
        if (got < wanted) {
            if (std::ferror(file)) FailToRead(path, errno);
            break;
        }
    }
    return bytes;
}

// Reads the next line into line; false at the end of the file (or on an error or an interrupt)
// before any byte of a line.
bool ReadLine(std::FILE* in, BatchLine& line, std::size_t maxLength) {
    // A CR may still follow the longest line that fits; one byte beyond that proves it too long.
    const std::size_t kept = maxLength + 2;
    line = {};
    bool started = false;
    for (int c = std::getc(in); c != EOF && InterruptSignal() == 0; c = std::getc(in)) {
        started = true;
        if (c == '\n') break;
        if (line.bytes.size() < kept) line.bytes += static_cast<char>(c);
    }
    if (!line.bytes.empty() && line.bytes.back() == '\r') line.bytes.pop_back();
    if (line.bytes.size() > maxLength) {
        line = {{},
                "the line is longer than " + std::to_string(maxLength) +
                    (maxLength == ECC200_MAX_DATA_LENGTH ? " bytes, the most a symbol holds"
                                                         : " bytes")};
    }
    return started && InterruptSignal() == 0;
}

}  // namespace

std::string ReadBytes(const std::string& path, std::size_t maxBytes) {
    if (path == "-") return ReadFrom(stdin, path, maxBytes);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) FailToRead(path, errno);
    return ReadFrom(file.get(), path, maxBytes);
}

BatchLines::BatchLines(const std::string& path, std::size_t maxLength)
    : path_(path), maxLength_(maxLength) {
    std::FILE* in = stdin;
    if (path != "-") {
        in = std::fopen(path.c_str(), "rb");
        if (in == nullptr) FailToRead(path, errno);
    }
    std::error_code ignored;
    const bool regular = path != "-" && std::filesystem::is_regular_file(path, ignored);
    BatchLine line;
    while (ReadLine(in, line, maxLength_)) {
        ++count_;
        if (!regular) kept_.push_back(std::move(line));
    }
    const int error = errno;
    if (std::ferror(in) && InterruptSignal() == 0) {
        if (in != stdin) std::fclose(in);
        FailToRead(path, error);
    }
    if (regular && std::fseek(in, 0, SEEK_SET) != 0) {
        const int seekError = errno;
        std::fclose(in);
        FailToRead(path, seekError);
    }
    if (regular) {
        file_ = in;
    } else if (in != stdin) {
        std::fclose(in);
    }
}

BatchLines::~BatchLines() {
    if (file_ != nullptr) std::fclose(file_);
}

std::optional<std::size_t> BatchLines::Take(BatchLine& line) {
    const std::lock_guard<std::mutex> guard(lock_);
    if (next_ >= count_ || InterruptSignal() != 0) return std::nullopt;
    if (file_ == nullptr) {
        line = std::move(kept_[next_]);
    } else if (!ReadLine(file_, line, maxLength_)) {
        if (InterruptSignal() != 0) return std::nullopt;
        line = {{},
                std::ferror(file_) ? "cannot read '" + path_ + "': " + std::strerror(errno)
                                   : "'" + path_ + "' ended before this line when read again"};
    }
    return next_++;
}

}  // namespace ecc200_cli

#include "data_input.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
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

BatchLine FinishLine(BatchLine line) {
    if (!line.bytes.empty() && line.bytes.back() == '\r') line.bytes.pop_back();
    if (line.bytes.size() > ECC200_MAX_DATA_LENGTH) line = {{}, true};
    return line;
}

}  // namespace

std::string ReadBytes(const std::string& path, std::size_t maxBytes) {
    if (path == "-") return ReadFrom(stdin, path, maxBytes);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) FailToRead(path, errno);
    return ReadFrom(file.get(), path, maxBytes);
}

std::vector<BatchLine> ReadBatchLines(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(path == "-" ? nullptr
                                                            : std::fopen(path.c_str(), "rb"));
    if (path != "-" && !file) FailToRead(path, errno);
    std::FILE* in = path == "-" ? stdin : file.get();
    // A CR may still follow the longest line that fits; one byte beyond that proves it too long.
    constexpr std::size_t kKept = ECC200_MAX_DATA_LENGTH + 2;
    std::vector<BatchLine> lines;
    BatchLine line;
    bool lineStarted = false;
    for (int c = std::getc(in); c != EOF && InterruptSignal() == 0; c = std::getc(in)) {
        lineStarted = true;
        if (c != '\n') {
            if (line.bytes.size() < kKept) line.bytes += static_cast<char>(c);
            continue;
        }
        lines.push_back(FinishLine(std::move(line)));
        line = {};
        lineStarted = false;
    }
    if (std::ferror(in) && InterruptSignal() == 0) FailToRead(path, errno);
    if (lineStarted) lines.push_back(FinishLine(std::move(line)));
    return lines;
}

}  // namespace ecc200_cli

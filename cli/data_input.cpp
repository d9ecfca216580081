#include "data_input.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

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

}  // namespace

std::string ReadBytes(const std::string& path, std::size_t maxBytes) {
    if (path == "-") return ReadFrom(stdin, path, maxBytes);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) FailToRead(path, errno);
    return ReadFrom(file.get(), path, maxBytes);
}

std::string ReadAllBytes(const std::string& path) {
    return ReadBytes(path, std::numeric_limits<std::size_t>::max());
}

}  // namespace ecc200_cli

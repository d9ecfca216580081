// The file is opened without blocking (a FIFO would otherwise wait for a writer), checked to be a
// regular file, and read in chunks until the first token is complete.
#include "marks/identity_file.h"

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace ecc200 {
namespace {

#ifdef _WIN32
int OpenRegularFile(const char* name) {
    const int fd = _open(name, _O_RDONLY | _O_BINARY);
    if (fd < 0) return -1;
    struct _stat64 status {};
    if (_fstat64(fd, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
        _close(fd);
        return -1;
    }
    return fd;
}

int ReadSome(int fd, uint8_t* buffer, unsigned count) {
    return _read(fd, buffer, count);
}

void CloseFile(int fd) {
    _close(fd);
}
#else
int OpenRegularFile(const char* name) {
    const int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

ssize_t ReadSome(int fd, uint8_t* buffer, std::size_t count) {
    for (;;) {
        const ssize_t got = read(fd, buffer, count);
        if (got >= 0 || errno != EINTR) return got;
    }
}

void CloseFile(int fd) {
    close(fd);
}
#endif

constexpr bool IsTokenSpace(uint8_t byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

constexpr int32_t kMaxTokenLength = kIdentityTokenCapacity - 1;

// Appends the chunk's bytes to the token; true once the token is complete (white space after
// it, or the most it can hold).
bool ScanChunk(const uint8_t* chunk, std::size_t count, char (&token)[kIdentityTokenCapacity],
               int32_t& length) {
    for (std::size_t i = 0; i < count; ++i) {
        if (IsTokenSpace(chunk[i])) {
            if (length > 0) return true;
            continue;
        }
        token[length++] = static_cast<char>(chunk[i]);
        if (length == kMaxTokenLength) return true;
    }
    return false;
}

// The first token of an open file; false on a read error or when there is none.
bool ScanFirstToken(int fd, char (&token)[kIdentityTokenCapacity]) {
    uint8_t chunk[512];
    int32_t length = 0;
    for (;;) {
        const auto got = ReadSome(fd, chunk, sizeof chunk);
        if (got < 0) return false;
        if (got == 0 || ScanChunk(chunk, static_cast<std::size_t>(got), token, length)) break;
    }
    token[length] = '\0';
    return length > 0;
}

}  // namespace

bool ReadIdentityToken(const char* path, char (&token)[kIdentityTokenCapacity]) {
    if (path == nullptr) return false;
    const int fd = OpenRegularFile(path);
    if (fd < 0) return false;
    const bool found = ScanFirstToken(fd, token);
    CloseFile(fd);
    return found;
}

}  // namespace ecc200

// The temporary file is named after the target, hidden beside it: "dir/.name.XXXXXX". It is
// created exclusively (never reusing an existing file) with the usual creation mode, so the
// umask applies to a new file as it would to the target itself.
#include "api/file_replace.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace ecc200 {
namespace {

enum class TargetKind { kDirect, kNewFile, kRegularFile };

// How path is to be written, and the permission bits of an existing regular file. For a link to
// a regular file, resolved receives the file's own path (freed by the caller).
#ifdef _WIN32
TargetKind Classify(const char* path, char*& /*resolved*/, unsigned& /*mode*/) {
    struct _stat64 status {};
    if (_stat64(path, &status) != 0) {
        return errno == ENOENT ? TargetKind::kNewFile : TargetKind::kDirect;
    }
    return (status.st_mode & _S_IFMT) == _S_IFREG ? TargetKind::kRegularFile : TargetKind::kDirect;
}
#else
TargetKind Classify(const char* path, char*& resolved, unsigned& mode) {
    struct stat status {};
    if (lstat(path, &status) != 0) {
        return errno == ENOENT ? TargetKind::kNewFile : TargetKind::kDirect;
    }
    if (S_ISLNK(status.st_mode)) {
        if (stat(path, &status) != 0 || !S_ISREG(status.st_mode)) return TargetKind::kDirect;
        resolved = realpath(path, nullptr);
        if (resolved == nullptr) return TargetKind::kDirect;
    }
    if (!S_ISREG(status.st_mode)) return TargetKind::kDirect;
    mode = status.st_mode & 07777u;
    return TargetKind::kRegularFile;
}
#endif

constexpr bool IsSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

constexpr char kSuffixPattern[] = ".XXXXXX";
constexpr std::size_t kSuffixLength = sizeof kSuffixPattern - 1;

// "dir/.name.XXXXXX" for "dir/name", from the heap; null when memory cannot be had.
char* TemporaryNameFor(const char* path) {
    const std::size_t length = std::strlen(path);
    std::size_t base = length;
    while (base > 0 && !IsSeparator(path[base - 1])) --base;
    auto* name = static_cast<char*>(std::malloc(length + 1 + kSuffixLength + 1));
    if (name == nullptr) return nullptr;
    std::memcpy(name, path, base);
    name[base] = '.';
    std::memcpy(name + base + 1, path + base, length - base);
    std::memcpy(name + length + 1, kSuffixPattern, sizeof kSuffixPattern);
    return name;
}

// Constant-initialised: the library has no static initialisers.
std::atomic<uint32_t> temporaryCounter{0};

// Replaces the six X of the name with letters and digits that differ from call to call.
void VaryTemporaryName(char* name) {
    constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
#ifdef _WIN32
    const auto process = static_cast<uint64_t>(_getpid());
#else
    const auto process = static_cast<uint64_t>(getpid());
#endif
    uint64_t seed = (process << 32) ^ static_cast<uint64_t>(std::time(nullptr)) ^
                    (uint64_t{temporaryCounter.fetch_add(1)} * 0x9E3779B97F4A7C15ull) ^
                    reinterpret_cast<uintptr_t>(name);
    char* suffix = name + std::strlen(name) - (kSuffixLength - 1);
    for (std::size_t i = 0; i + 1 < kSuffixLength; ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        suffix[i] = kAlphabet[(seed >> 33) % (sizeof kAlphabet - 1)];
    }
}

// Creates a new temporary file for writing under a name no file has yet; -1 on failure.
int CreateTemporaryFile(char* name) {
    constexpr int kAttempts = 32;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        VaryTemporaryName(name);
#ifdef _WIN32
        const int fd =
            _open(name, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
        const int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Gives the temporary file the permission bits of the file it replaces.
bool KeepMode(int fd, TargetKind kind, unsigned mode) {
#ifdef _WIN32
    (void)fd;
    (void)kind;
    (void)mode;
    return true;
#else
    if (kind != TargetKind::kRegularFile) return true;
    struct stat status {};
    if (fstat(fd, &status) != 0) return false;
    return (status.st_mode & 07777u) == mode || fchmod(fd, static_cast<mode_t>(mode)) == 0;
#endif
}

bool ReplaceWith(const char* temporary, const char* target) {
#ifdef _WIN32
    return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(temporary, target) == 0;
#endif
}

void CloseDescriptor(int fd) {
#ifdef _WIN32
    _close(fd);
#else
    close(fd);
#endif
}

// A stream over the temporary file with its permission bits set; null (the file closed) when
// either fails.
std::FILE* PreparedStream(int fd, TargetKind kind, unsigned mode) {
#ifdef _WIN32
    std::FILE* file = KeepMode(fd, kind, mode) ? _fdopen(fd, "wb") : nullptr;
#else
    std::FILE* file = KeepMode(fd, kind, mode) ? fdopen(fd, "wb") : nullptr;
#endif
    if (file == nullptr) CloseDescriptor(fd);
    return file;
}

bool WriteAndClose(std::FILE* file, FileContentsWriter writeContents, const void* context) {
    const bool written = writeContents(file, context);
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

bool WriteDirectly(const char* path, FileContentsWriter writeContents, const void* context) {
    std::FILE* file = std::fopen(path, "wb");
    return file != nullptr && WriteAndClose(file, writeContents, context);
}

bool WriteThroughTemporary(const char* target, TargetKind kind, unsigned mode,
                           FileContentsWriter writeContents, const void* context) {
    char* temporary = TemporaryNameFor(target);
    if (temporary == nullptr) return false;
    const int fd = CreateTemporaryFile(temporary);
    bool replaced = false;
    if (fd >= 0) {
        std::FILE* file = PreparedStream(fd, kind, mode);
        replaced = file != nullptr && WriteAndClose(file, writeContents, context) &&
                   ReplaceWith(temporary, target);
        if (!replaced) std::remove(temporary);
    }
    std::free(temporary);
    return replaced;
}

}  // namespace

bool WriteFileReplacing(const char* path, FileContentsWriter writeContents, const void* context) {
    char* resolved = nullptr;
    unsigned mode = 0;
    const TargetKind kind = Classify(path, resolved, mode);
    const bool written = kind == TargetKind::kDirect
                             ? WriteDirectly(path, writeContents, context)
                             : WriteThroughTemporary(resolved != nullptr ? resolved : path, kind,
                                                     mode, writeContents, context);
    std::free(resolved);
    return written;
}

}  // namespace ecc200

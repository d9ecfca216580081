// The one way ecc200 replaces a file: through a temporary file beside the target, renamed onto it.
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

// How a path is to be written and what the replacement keeps of an existing regular file.
struct TargetFacts {
    TargetKind kind = TargetKind::kNewFile;
    unsigned mode = 0;  // permission bits
    long owner = -1;    // user and group; -1 where unknown
    long group = -1;
};

// How path is to be written. For a link to a regular file, resolved receives the file's own path
// (freed by the caller), so that the file is replaced and the link stays.
#ifdef _WIN32
// A reparse point (a symbolic link) is opened, which follows it, and the final path of what it
// names is asked for.
char* ResolvedLink(const char* path) {
    const HANDLE handle =
        CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    char* resolved = nullptr;
    const DWORD length = GetFinalPathNameByHandleA(handle, nullptr, 0, FILE_NAME_NORMALIZED);
    if (length > 0) resolved = static_cast<char*>(std::malloc(length + 1));
    if (resolved != nullptr &&
        GetFinalPathNameByHandleA(handle, resolved, length + 1, FILE_NAME_NORMALIZED) == 0) {
        std::free(resolved);
        resolved = nullptr;
    }
    CloseHandle(handle);
    return resolved;
}

TargetFacts Classify(const char* path, char*& resolved) {
    struct _stat64 status {};
    if (_stat64(path, &status) != 0) {
        return {errno == ENOENT ? TargetKind::kNewFile : TargetKind::kDirect};
    }
    if ((status.st_mode & _S_IFMT) != _S_IFREG) return {TargetKind::kDirect};
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        resolved = ResolvedLink(path);
        if (resolved == nullptr) return {TargetKind::kDirect};
    }
    return {TargetKind::kRegularFile};
}
#else
TargetFacts Classify(const char* path, char*& resolved) {
    struct stat status {};
    if (lstat(path, &status) != 0) {
        return {errno == ENOENT ? TargetKind::kNewFile : TargetKind::kDirect};
    }
    if (S_ISLNK(status.st_mode)) {
        if (stat(path, &status) != 0 || !S_ISREG(status.st_mode)) return {TargetKind::kDirect};
        resolved = realpath(path, nullptr);
        if (resolved == nullptr) return {TargetKind::kDirect};
    }
    if (!S_ISREG(status.st_mode)) return {TargetKind::kDirect};
    return {TargetKind::kRegularFile, status.st_mode & 07777u, static_cast<long>(status.st_uid),
            static_cast<long>(status.st_gid)};
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

// Gives the temporary file the owner, group and permission bits of the file it replaces. The
// owner is kept only where the process may set it (as root, or its own files); the mode is set
// after it, since a change of owner clears the set-user-ID bit.
bool KeepOwnerAndMode(int fd, const TargetFacts& target) {
#ifdef _WIN32
    (void)fd;
    (void)target;
    return true;
#else
    if (target.kind != TargetKind::kRegularFile) return true;
    struct stat status {};
    if (fstat(fd, &status) != 0) return false;
    const auto owner = static_cast<uid_t>(target.owner);
    const auto group = static_cast<gid_t>(target.group);
    if ((status.st_uid != owner || status.st_gid != group) && fchown(fd, owner, group) != 0) {
        (void)!fchown(fd, static_cast<uid_t>(-1), group);  // the group alone, if that is allowed
    }
    return fchmod(fd, static_cast<mode_t>(target.mode)) == 0;
#endif
}

// Moves the finished temporary file onto the target. On Windows an existing file is replaced with
// ReplaceFile, which keeps its attributes and access control list (the counterpart of the
// permission bits), or moved over when that is refused.
bool ReplaceWith(const char* temporary, const char* target, TargetKind kind) {
#ifdef _WIN32
    if (kind == TargetKind::kRegularFile &&
        ReplaceFileA(target, temporary, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr) != 0) {
        return true;
    }
    return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    (void)kind;
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

// Where the contents come from: a writer handed an open stream, or a filler handed a file name.
struct ContentSource {
    FileContentsWriter writeContents = nullptr;
    const void* writerContext = nullptr;
    FileContentsFiller fill = nullptr;
    void* fillerContext = nullptr;
};

std::FILE* OpenStream(int fd) {
#ifdef _WIN32
    return _fdopen(fd, "wb");
#else
    return fdopen(fd, "wb");
#endif
}

bool WriteAndClose(std::FILE* file, const ContentSource& source) {
    const bool written = source.writeContents(file, source.writerContext);
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

bool WriteDirectly(const char* path, const ContentSource& source) {
    if (source.fill != nullptr) return source.fill(path, source.fillerContext);
    std::FILE* file = std::fopen(path, "wb");
    return file != nullptr && WriteAndClose(file, source);
}

// Fills the freshly created temporary file (descriptor fd, closed here) with the contents.
bool FillTemporary(int fd, const char* temporary, const TargetFacts& target,
                   const ContentSource& source) {
    if (!KeepOwnerAndMode(fd, target)) {
        CloseDescriptor(fd);
        return false;
    }
    if (source.fill != nullptr) {
        CloseDescriptor(fd);
        return source.fill(temporary, source.fillerContext);
    }
    std::FILE* file = OpenStream(fd);
    if (file == nullptr) {
        CloseDescriptor(fd);
        return false;
    }
    return WriteAndClose(file, source);
}

bool WriteThroughTemporary(const char* target, const TargetFacts& facts,
                           const ContentSource& source) {
    char* temporary = TemporaryNameFor(target);
    if (temporary == nullptr) return false;
    const int fd = CreateTemporaryFile(temporary);
    bool replaced = false;
    if (fd >= 0) {
        replaced = FillTemporary(fd, temporary, facts, source) &&
                   ReplaceWith(temporary, target, facts.kind);
        if (!replaced) std::remove(temporary);
    }
    std::free(temporary);
    return replaced;
}

bool WriteBySource(const char* path, const ContentSource& source) {
    char* resolved = nullptr;
    const TargetFacts facts = Classify(path, resolved);
    const bool written =
        facts.kind == TargetKind::kDirect
            ? WriteDirectly(path, source)
            : WriteThroughTemporary(resolved != nullptr ? resolved : path, facts, source);
    std::free(resolved);
    return written;
}

}  // namespace

bool WriteFileReplacing(const char* path, FileContentsWriter writeContents, const void* context) {
    return WriteBySource(path, {writeContents, context, nullptr, nullptr});
}

bool FillFileReplacing(const char* path, FileContentsFiller fill, void* context) {
    return WriteBySource(path, {nullptr, nullptr, fill, context});
}

}  // namespace ecc200

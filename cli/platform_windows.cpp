#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "platform.h"

namespace ecc200_cli {
namespace {

volatile std::sig_atomic_t receivedSignal = 0;

extern "C" void RecordSignal(int signal) {
    receivedSignal = signal;
}

// The errno value closest to a Windows error, for the tool's messages.
int ErrnoFor(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        default:
            return EIO;
    }
}

}  // namespace

void PrepareStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    if (StandardOutputIsTerminal()) SetConsoleOutputCP(CP_UTF8);
}

std::FILE* CreateNewFile(const std::string& path) {
    const int fd =
        _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) _close(fd);
    return file;
}

int ReplaceAtomically(const std::string& temporary, const std::string& target) {
    if (MoveFileExA(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
        return 0;
    }
    return ErrnoFor(GetLastError());
}

bool StandardOutputIsTerminal() {
    return _isatty(_fileno(stdout)) != 0;
}

bool StandardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

// Windows knows SIGINT (Ctrl+C) and SIGTERM; blocking reads are not interrupted, so a run stops
// at its next check.
void WatchForInterrupts() {
    std::signal(SIGINT, RecordSignal);
    std::signal(SIGTERM, RecordSignal);
}

int InterruptSignal() {
    return receivedSignal;
}

int ExitCodeForSignal(int signal) {
    return 128 + signal;
}

}  // namespace ecc200_cli

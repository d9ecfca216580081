#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <vector>

#include "platform.h"

namespace ecc200_cli {
namespace {

volatile std::sig_atomic_t receivedSignal = 0;

extern "C" void RecordSignal(int signal) {
    receivedSignal = signal;
}

// umask can only be read by setting it, which is not safe while other threads create files, so
// it is read once, before any of them start.
mode_t NewFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = umask(0);
        umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

}  // namespace

bool StandardOutputIsTerminal() {
    return isatty(STDOUT_FILENO) != 0;
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

void WatchForInterrupts() {
    NewFileMode();
    struct sigaction action {};
    action.sa_handler = RecordSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocked read returns and the run can stop
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

int InterruptSignal() {
    return receivedSignal;
}

int ExitCodeForSignal(int signal) {
    return 128 + signal;
}

std::FILE* CreateTemporaryFile(std::string& pattern) {
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) return nullptr;
    pattern = name.data();
    // mkstemp makes the file readable by its owner only; a finished output gets the permissions
    // that any newly created file would get.
    fchmod(descriptor, NewFileMode());
    std::FILE* stream = fdopen(descriptor, "wb");
    if (stream == nullptr) {
        const int error = errno;
        close(descriptor);
        unlink(pattern.c_str());
        errno = error;
    }
    return stream;
}

}  // namespace ecc200_cli

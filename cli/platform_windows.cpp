// The tool's system services on Windows (see platform.h).
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

}  // namespace

void PrepareStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    if (StandardOutputIsTerminal()) SetConsoleOutputCP(CP_UTF8);
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

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <initializer_list>

#include "platform.h"

namespace ecc200_cli {
namespace {

volatile std::sig_atomic_t receivedSignal = 0;

extern "C" void RecordSignal(int signal) {
    receivedSignal = signal;
}

}  // namespace

void PrepareStandardStreams() {}

std::FILE* CreateNewFile(const std::string& path) {
    // "x" creates the file or fails if it exists, with the permissions any new file gets.
    return std::fopen(path.c_str(), "wbx");
}

int ReplaceAtomically(const std::string& temporary, const std::string& target) {
    return std::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno;
}

bool StandardOutputIsTerminal() {
    return isatty(STDOUT_FILENO) != 0;
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

void WatchForInterrupts() {
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

}  // namespace ecc200_cli

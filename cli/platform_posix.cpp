// The tool's system services on POSIX systems (see platform.h).
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
    for (int signal : {SIGINT, SIGTERM, SIGQUIT, SIGHUP, SIGUSR1, SIGUSR2, SIGALRM, SIGPIPE})
        sigaction(signal, &action, nullptr);
}

int InterruptSignal() {
    return receivedSignal;
}

int ExitCodeForSignal(int signal) {
    return 128 + signal;
}

}  // namespace ecc200_cli

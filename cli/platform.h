// The few services of the operating system that the tool needs beyond standard C++: terminals,
// and interrupt signals. Everything system-specific lives behind these functions.
#pragma once

namespace ecc200_cli {

bool StandardOutputIsTerminal();
bool StandardErrorIsTerminal();

// From now on SIGINT, SIGTERM and SIGHUP are only recorded (InterruptSignal reports them) and
// interrupt blocking reads, so that a long run can stop cleanly and remove its temporary files.
void WatchForInterrupts();
// The interrupt signal received since WatchForInterrupts, or 0.
int InterruptSignal();
// The exit code that reports an interrupt by signal: 128 + its number (130 for SIGINT).
int ExitCodeForSignal(int signal);

}  // namespace ecc200_cli

// The few services of the operating system that the tool needs beyond standard C++: terminals,
// interrupt signals and byte-exact standard streams. (Files are replaced by the library's
// WriteFileReplacing_ECC200, see replaced_file.h.)
// Everything system-specific lives behind these functions (platform_posix.cpp and
// platform_windows.cpp).
#pragma once

#include <cstdio>
#include <string>

namespace ecc200_cli {

// Makes standard input and output carry bytes as they are (no line-end translation, no stop at
// 0x1A) and lets a terminal show the UTF-8 the tool draws with. Called once at start.
void PrepareStandardStreams();

bool StandardOutputIsTerminal();
bool StandardErrorIsTerminal();

// From now on the signals that would end the tool (SIGINT, SIGTERM, SIGQUIT, SIGHUP, SIGUSR1,
// SIGUSR2, SIGALRM and SIGPIPE; on Windows SIGINT and SIGTERM) are only recorded (InterruptSignal
// reports them) and interrupt blocking reads, so that a run finishes the file in progress, writes
// no other and leaves no temporary file. A broken pipe then shows as a failed write.
void WatchForInterrupts();
// The interrupt signal received since WatchForInterrupts, or 0.
int InterruptSignal();
// The exit code that reports an interrupt by signal: 128 + its number (130 for SIGINT).
int ExitCodeForSignal(int signal);

}  // namespace ecc200_cli

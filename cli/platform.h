// The few services of the operating system that the tool needs beyond standard C++: terminals,
// interrupt signals, byte-exact standard streams and files created and replaced in one step.
// Everything system-specific lives behind these functions (platform_posix.cpp and
// platform_windows.cpp).
#pragma once

#include <cstdio>
#include <string>

namespace ecc200_cli {

// Makes standard input and output carry bytes as they are (no line-end translation, no stop at
// 0x1A) and lets a terminal show the UTF-8 the tool draws with. Called once at start.
void PrepareStandardStreams();

// Creates path as a new file open for writing bytes; nullptr (errno set) if it exists already or
// cannot be created.
std::FILE* CreateNewFile(const std::string& path);

// Moves the file temporary onto target in one step, replacing a file there. Returns 0, or an
// errno value describing the failure.
int ReplaceAtomically(const std::string& temporary, const std::string& target);

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

// ecc200: encodes data as a Data Matrix ECC 200 symbol and writes it as PNG, BMP, SVG, PDF or
// EPS, or draws it in the terminal; `ecc200 read` and `ecc200 verify` read symbols from images.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iomanip>
#include <iostream>
#include <string>

#include "batch.h"
#include "catalogue.h"
#include "ecc200.h"
#include "options.h"
#include "platform.h"
#include "read_command.h"
#include "single_run.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

void PrintVersion() {
    std::cout << "ecc200 tool " << ECC200_TOOL_VERSION << ", library " << Version_ECC200() << "\n";
}

std::string ShapeNote(const SizeFacts& size) {
    if (size.square()) return "square";
    if (size.dmre) return "rectangle, DMRE (considered by --shape dmre only)";
    return "rectangle (considered by --shape any and dmre)";
}

void PrintSizes() {
    std::cout << std::left << std::setw(9) << "size" << std::right << std::setw(6) << "rows"
              << std::setw(9) << "columns" << std::setw(16) << "data codewords"
              << "  shape\n";
    for (const SizeFacts& size : AllSizes()) {
        std::cout << std::left << std::setw(9) << size.name << std::right << std::setw(6)
                  << size.rows << std::setw(9) << size.cols << std::setw(16) << size.dataCodewords
                  << "  " << ShapeNote(size) << "\n";
    }
}

int Run(const Options& options) {
    if (options.version) {
        PrintVersion();
        return kExitOk;
    }
    if (options.listSizes) {
        PrintSizes();
        return kExitOk;
    }
    if (options.batchFile) return RunBatch(options);
    return RunSingle(options);
}

// Whatever went to standard output must have arrived: a full disk or a closed pipe is a failure.
void CheckStandardOutput() {
    std::cout.flush();
    if (std::fflush(stdout) != 0 || std::ferror(stdout) || !std::cout) {
        throw ToolError(kExitFileError,
                        std::string("cannot write to standard output: ") + std::strerror(errno));
    }
}

// A run stopped by a signal ends with 128 + its number, whatever failed on the way because of it
// (a read or a write cut short). A closed pipe ends it silently, as it would end any filter.
int InterruptedExit() {
    std::cout.flush();
#ifdef SIGPIPE
    const bool quiet = InterruptSignal() == SIGPIPE;
#else
    const bool quiet = false;
#endif
    if (!quiet) {
        std::cerr << "ecc200: interrupted by signal " << InterruptSignal()
                  << "; the files written are complete and no temporary file is left\n";
    }
    return ExitCodeForSignal(InterruptSignal());
}

}  // namespace
}  // namespace ecc200_cli

int main(int argc, char** argv) {
    using namespace ecc200_cli;
    PrepareStandardStreams();
    if (argc >= 2 && IsReadCommand(argv[1])) {
        try {
            const int code = RunReadCommand(argc, argv);
            CheckStandardOutput();
            return code;
        } catch (const ToolError& error) {
            std::cerr << "ecc200: " << error.what() << "\n";
            return error.code();
        }
    }
    ParseOutcome outcome = ParseCommandLine(argc, argv);
    if (outcome.exitNow) {
        // Help that did not reach standard output (a full disk, a closed pipe) is a failure too.
        if (*outcome.exitNow != kExitOk) return *outcome.exitNow;
        try {
            CheckStandardOutput();
        } catch (const ToolError& error) {
            std::cerr << "ecc200: " << error.what() << "\n";
            return error.code();
        }
        return kExitOk;
    }
    try {
        const int code = Run(outcome.options);
        if (InterruptSignal() != 0 && code < ExitCodeForSignal(0)) return InterruptedExit();
        CheckStandardOutput();
        return code;
    } catch (const ToolError& error) {
        if (InterruptSignal() != 0) return InterruptedExit();
        std::cout.flush();
        std::cerr << "ecc200: " << error.what() << "\n";
        return error.code();
    } catch (const std::exception& error) {
        std::cerr << "ecc200: " << error.what() << "\n";
        return kExitSymbolFailed;
    }
}

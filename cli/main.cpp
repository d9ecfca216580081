// ecc200: encodes data as a Data Matrix ECC 200 symbol and writes it as PNG, BMP, SVG, PDF or
// EPS, or draws it in the terminal.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iomanip>
#include <iostream>

#include "batch.h"
#include "catalogue.h"
#include "ecc200.h"
#include "options.h"
#include "platform.h"
#include "single_run.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

void PrintVersion() {
    std::cout << "ecc200 tool " << ECC200_TOOL_VERSION << ", library " << Version_ECC200() << "\n";
}

void PrintSizes() {
    std::cout << std::left << std::setw(9) << "size" << std::right << std::setw(6) << "rows"
              << std::setw(9) << "columns" << std::setw(16) << "data codewords"
              << "  shape\n";
    for (const SizeFacts& size : AllSizes()) {
        std::cout << std::left << std::setw(9) << size.name << std::right << std::setw(6)
                  << size.rows << std::setw(9) << size.cols << std::setw(16) << size.dataCodewords
                  << "  "
                  << (size.square() ? "square"
                                    : "rectangle (chosen automatically with --shape any)")
                  << "\n";
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

}  // namespace
}  // namespace ecc200_cli

int main(int argc, char** argv) {
    using namespace ecc200_cli;
    PrepareStandardStreams();
    ParseOutcome outcome = ParseCommandLine(argc, argv);
    if (outcome.exitNow) return *outcome.exitNow;
    try {
        const int code = Run(outcome.options);
        CheckStandardOutput();
        return code;
    } catch (const ToolError& error) {
        std::cout.flush();
        std::cerr << "ecc200: " << error.what() << "\n";
        return error.code();
    } catch (const std::exception& error) {
        std::cerr << "ecc200: " << error.what() << "\n";
        return kExitSymbolFailed;
    }
}

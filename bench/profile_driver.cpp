// Encodes corpus rows with ecc200 a fixed number of times, for profilers:
//
//   valgrind --tool=callgrind --toggle-collect='*EncodeRepeatedly*'
//            ecc200_profile --row=mixed_1531_max --iterations=100
//
//   ecc200_profile [--row=KEY] [--path=buffer|smallest|bmp|user|product] [--iterations=N]
//
// KEY is a row key as in the benchmark names (digits_5, binary_1556_max, ...); every row when
// absent. Prints each row's key and the symbol size.
#include <ecc200.h>

#include <cstring>
#include <iostream>
#include <string>

#include "corpus.h"
#include "ecc200_adapter.h"
#include "workspace.h"

namespace {

struct Options {
    std::string row;
    bench::Ecc200Path path = bench::Ecc200Path::kBuffer;
    long iterations = 1000;
};

bool TakeValue(const char* argument, const char* flag, std::string& value) {
    const std::size_t length = std::strlen(flag);
    if (std::strncmp(argument, flag, length) != 0 || argument[length] != '=') return false;
    value = argument + length + 1;
    return true;
}

bench::Ecc200Path ParsePath(const std::string& name) {
    if (name == "smallest") return bench::Ecc200Path::kSmallest;
    if (name == "bmp") return bench::Ecc200Path::kBmp;
    if (name == "user") return bench::Ecc200Path::kUserMark;
    if (name == "product") return bench::Ecc200Path::kProductMark;
    return bench::Ecc200Path::kBuffer;
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string value;
        if (TakeValue(argv[i], "--row", value)) {
            options.row = value;
        } else if (TakeValue(argv[i], "--path", value)) {
            options.path = ParsePath(value);
        } else if (TakeValue(argv[i], "--iterations", value)) {
            options.iterations = std::stol(value);
        } else {
            std::cerr << "unknown argument " << argv[i] << "\n";
        }
    }
    return options;
}

std::string RowKey(const bench::CorpusRow& row) {
    return bench::ClassName(row.dataClass) + "_" + std::to_string(row.data.size()) +
           (row.largest ? "_max" : "");
}

// The only function a profiler needs to collect in.
[[gnu::noinline]] long EncodeRepeatedly(bench::Job& job, long iterations) {
    long failures = 0;
    for (long i = 0; i < iterations; ++i) failures += job.Run() ? 0 : 1;
    return failures;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    const bench::Workspace workspace(bench::kBenchUserIdentity);
    const auto fits = [](const bench::Bytes& data) {
        const bench::Ecc200Probe probe = bench::ProbeEcc200(data);
        return probe.status == ECC200_OK;
    };
    const bench::Ecc200Encoder encoder(options.path);
    int status = 0;
    for (const bench::CorpusRow& row : bench::BuildCorpus(false, fits)) {
        const std::string key = RowKey(row);
        if (!options.row.empty() && key != options.row) continue;
        const auto job = encoder.Prepare(row.data);
        const bench::Verdict verdict = job->Verify();
        std::cout << key << " " << verdict.detail << "\n";
        if (!verdict.correct() || EncodeRepeatedly(*job, options.iterations) != 0) status = 1;
    }
    return status;
}

// Times ecc200 and the peer encoders side by side on a fixed corpus and prints the summary tables.
// Exits with 1 when any output of ecc200 does not read back as its input.
//
//   ecc200_bench [--quick] [--wall-clock] [--markdown=FILE] [--repetitions=N] [--min-time=SECONDS]
//                [Google Benchmark flags, e.g. --benchmark_filter=zint]
#include <benchmark/benchmark.h>
#include <ecc200.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "corpus.h"
#include "dmtx_adapter.h"
#include "ecc200_adapter.h"
#include "median_reporter.h"
#include "registry.h"
#include "symbol_sizes.h"
#include "table.h"
#include "workspace.h"
#include "zint_adapter.h"
#include "zxing_adapter.h"

namespace {

struct Options {
    bool quick = false;
    bool wallClock = false;
    std::string markdownPath;
    bench::TimingOptions timing;
};

bool TakeValue(const char* argument, const char* flag, std::string& value) {
    const std::size_t length = std::strlen(flag);
    if (std::strncmp(argument, flag, length) != 0 || argument[length] != '=') return false;
    value = argument + length + 1;
    return true;
}

// Takes our own flags out of argv and leaves the rest to Google Benchmark.
Options TakeOptions(int& argc, char** argv) {
    Options options;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        std::string value;
        if (std::strcmp(argv[i], "--quick") == 0) {
            options.quick = true;
        } else if (std::strcmp(argv[i], "--wall-clock") == 0) {
            options.wallClock = true;
        } else if (TakeValue(argv[i], "--markdown", value)) {
            options.markdownPath = value;
        } else if (TakeValue(argv[i], "--repetitions", value)) {
            options.timing.repetitions = std::stoi(value);
        } else if (TakeValue(argv[i], "--min-time", value)) {
            options.timing.minSeconds = std::stod(value);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    if (options.quick) options.timing = {1, 0.001};
    return options;
}

// Our library decides how much of each class fits 144x144; while it cannot encode yet, zint's
// default mode stands in so that the corpus keeps its shape.
bench::FitsLargestSquare ChooseFitter(std::string& fitterName) {
    const bench::Ecc200Probe probe =
        bench::ProbeEcc200(bench::ClassData(bench::DataClass::kDigits, 5));
    if (probe.status == ECC200_OK) {
        fitterName = "ecc200";
        return [](const bench::Bytes& data) {
            const bench::Ecc200Probe result = bench::ProbeEcc200(data);
            return result.status == ECC200_OK && result.sizeIndex <= bench::kLargestSquare;
        };
    }
    fitterName = "zint (ecc200 returned status " + std::to_string(probe.status) + ")";
    return [](const bench::Bytes& data) { return bench::ZintEncoder(false).Prepare(data)->Run(); };
}

std::vector<int> SizeIndices(bool quick) {
    if (quick) return {ECC200_SIZE_10X10, ECC200_SIZE_144X144, ECC200_SIZE_8X18};
    std::vector<int> all;
    for (int index = 0; index < static_cast<int>(bench::kSymbolSizes.size()); ++index) {
        all.push_back(index);
    }
    return all;
}

void PrintSummary(const std::vector<bench::Grid>& grids, const std::string& fitterName,
                  bool wallClock, std::ostream& out) {
    out << "\n## ecc200 " << Version_ECC200() << " against the peer encoders\n\n"
        << "Median " << (wallClock ? "wall-clock" : "CPU")
        << " time per symbol in microseconds, from data bytes to module matrix (libdmtx: "
           "to its picture), automatic scheme and square size. Largest lengths found with "
        << fitterName << ".\n";
    bench::PrintComparison(grids[0], out);
    const auto overall = bench::GeometricMeanRatio(grids[0], false);
    const auto largest = bench::GeometricMeanRatio(grids[0], true);
    out << "\necc200 / fastest peer, geometric mean: overall "
        << (overall ? std::to_string(*overall) : "-") << ", 144x144 rows "
        << (largest ? std::to_string(*largest) : "-") << "\n";
    for (std::size_t i = 1; i < grids.size(); ++i) bench::PrintTimes(grids[i], out);
    bench::PrintSizes(grids[0], out);
    for (const auto& grid : grids) bench::PrintUntimed(grid, out);
}

}  // namespace

int main(int argc, char** argv) {
    Options options = TakeOptions(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    if (!options.markdownPath.empty()) {
        options.markdownPath = std::filesystem::absolute(options.markdownPath).string();
    }
    const bench::Workspace workspace(bench::kBenchUserIdentity);
    std::string fitterName;
    const auto corpus = bench::BuildCorpus(options.quick, ChooseFitter(fitterName));

    const bench::Ecc200Encoder ours(bench::Ecc200Path::kBuffer);
    const bench::Ecc200Encoder smallest(bench::Ecc200Path::kSmallest);
    const bench::ZintEncoder zint(false);
    const bench::ZintEncoder zintFast(true);
    const bench::ZxingEncoder zxing;
    const bench::DmtxEncoder dmtx;
    const bench::Ecc200Encoder bmp(bench::Ecc200Path::kBmp);
    const bench::Ecc200Encoder userMark(bench::Ecc200Path::kUserMark);
    const bench::Ecc200Encoder productMark(bench::Ecc200Path::kProductMark);

    bench::Registry registry(options.timing);
    std::vector<bench::Grid> grids;
    grids.push_back(registry.AddCorpusGrid("Comparison", corpus,
                                           {&ours, &smallest, &zint, &zintFast, &zxing, &dmtx}, 2));
    grids.push_back(registry.AddCorpusGrid("ecc200 output paths and marks", corpus,
                                           {&bmp, &userMark, &productMark}, 3));
    grids.push_back(registry.AddSizeGrid("ecc200 encode alone per size (fixed size, digits)",
                                         SizeIndices(options.quick)));

    bench::MedianReporter reporter(options.wallClock);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (auto& grid : grids) bench::Registry::FillTimes(grid, reporter);

    std::ostringstream summary;
    PrintSummary(grids, fitterName, options.wallClock, summary);
    std::cout << summary.str();
    if (!options.markdownPath.empty()) std::ofstream(options.markdownPath) << summary.str();
    // Our own output must be right: a wrong or missing symbol of ours fails the run.
    for (const auto& grid : grids) {
        if (!bench::OursAllCorrect(grid)) {
            std::cerr << "ecc200 did not encode every input correctly (see the list above)\n";
            return 1;
        }
    }
    return 0;
}

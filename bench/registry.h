// Verifies each encoder on each input and registers a benchmark for every correct one.
#ifndef ECC200_BENCH_REGISTRY_H
#define ECC200_BENCH_REGISTRY_H

#include <memory>
#include <string>
#include <vector>

#include "corpus.h"
#include "job.h"
#include "median_reporter.h"
#include "table.h"

namespace bench {

struct TimingOptions {
    int repetitions = 5;
    double minSeconds = 0.05;
};

class Registry {
  public:
    explicit Registry(TimingOptions timing) : timing_(timing) {}

    // A grid of the corpus rows by the encoders, each cell verified and, when correct, registered.
    // The first ourColumns encoders are ours.
    Grid AddCorpusGrid(const std::string& title, const std::vector<CorpusRow>& corpus,
                       const std::vector<const Encoder*>& encoders, std::size_t ourColumns);

    // One row per fixed size (ECC200_SIZE_* values), with digits that fill its capacity.
    Grid AddSizeGrid(const std::string& title, const std::vector<int>& sizeIndices);

    // Fills in the medians once the benchmarks have run.
    static void FillTimes(Grid& grid, const MedianReporter& reporter);

  private:
    Cell AddCell(const Encoder& encoder, const std::string& rowKey, const Bytes& data);

    TimingOptions timing_;
    std::vector<std::unique_ptr<Job>> jobs_;  // alive until the benchmarks have run
};

}  // namespace bench

#endif

// A console reporter that also keeps the median time per symbol of every benchmark.
#ifndef ECC200_BENCH_MEDIAN_REPORTER_H
#define ECC200_BENCH_MEDIAN_REPORTER_H

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace bench {

class MedianReporter final : public benchmark::ConsoleReporter {
  public:
    // Tabular console output, coloured only on a terminal.
    MedianReporter();
    void ReportRuns(const std::vector<Run>& runs) override;

    // Median over the repetitions (or the single run's time), in microseconds per symbol.
    std::optional<double> MedianMicros(const std::string& benchmarkName) const;

  private:
    std::map<std::string, double> medians_;
};

}  // namespace bench

#endif

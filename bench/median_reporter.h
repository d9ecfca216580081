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
    // Tabular console output, coloured only on a terminal. The medians are of the process CPU
    // time per symbol, which other processes on a shared machine disturb far less than the
    // wall-clock time; with wallClock, of the wall-clock time.
    explicit MedianReporter(bool wallClock);
    void ReportRuns(const std::vector<Run>& runs) override;

    // Median over the repetitions (or the single run's time), in microseconds per symbol.
    std::optional<double> MedianMicros(const std::string& benchmarkName) const;

  private:
    bool wallClock_;
    std::map<std::string, double> medians_;
};

}  // namespace bench

#endif

#include "median_reporter.h"

#include <unistd.h>

namespace bench {
namespace {

double ToMicros(double value, benchmark::TimeUnit unit) {
    switch (unit) {
        case benchmark::kNanosecond:
            return value / 1e3;
        case benchmark::kMicrosecond:
            return value;
        case benchmark::kMillisecond:
            return value * 1e3;
        case benchmark::kSecond:
            return value * 1e6;
    }
    return value;
}

benchmark::ConsoleReporter::OutputOptions ConsoleOptions() {
    return isatty(STDOUT_FILENO) != 0 ? benchmark::ConsoleReporter::OO_ColorTabular
                                      : benchmark::ConsoleReporter::OO_Tabular;
}

}  // namespace

MedianReporter::MedianReporter(bool wallClock)
    : ConsoleReporter(ConsoleOptions()), wallClock_(wallClock) {}

void MedianReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const std::string& name = run.run_name.function_name;
        const double time = wallClock_ ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
        const double micros = ToMicros(time, run.time_unit);
        if (run.run_type == Run::RT_Aggregate) {
            if (run.aggregate_name == "median") medians_[name] = micros;
        } else if (run.repetitions <= 1) {
            medians_[name] = micros;
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

std::optional<double> MedianReporter::MedianMicros(const std::string& benchmarkName) const {
    const auto found = medians_.find(benchmarkName);
    if (found == medians_.end()) return std::nullopt;
    return found->second;
}

}  // namespace bench

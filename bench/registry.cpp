#include "registry.h"

#include <benchmark/benchmark.h>

#include <iostream>

#include "ecc200_adapter.h"
#include "symbol_sizes.h"

namespace bench {
namespace {

std::string Key(std::string text) {
    for (char& c : text) {
        if (c == ' ') c = '_';
        if (c == '(' || c == ')') c = '-';
    }
    return text;
}

std::string RowKey(const CorpusRow& row) {
    return ClassName(row.dataClass) + "_" + std::to_string(row.data.size()) +
           (row.largest ? "_max" : "");
}

void TimeJob(benchmark::State& state, Job* job, std::size_t bytes) {
    for (auto _ : state) {
        if (!job->Run()) {
            state.SkipWithError("encode failed while timed");
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
}

}  // namespace

Cell Registry::AddCell(const Encoder& encoder, const std::string& rowKey, const Bytes& data) {
    std::unique_ptr<Job> job = encoder.Prepare(data);
    Cell cell{job->Verify(), "", std::nullopt};
    if (cell.verdict.kind == Verdict::Kind::kWrongOutput) {
        std::cerr << "wrong output: " << encoder.Name() << " on " << rowKey << ": "
                  << cell.verdict.detail << "\n";
    }
    if (!cell.verdict.correct()) return cell;
    cell.benchmarkName = Key(encoder.Name()) + "/" + rowKey;
    Job* timed = job.get();
    const std::size_t bytes = data.size();
    benchmark::RegisterBenchmark(
        cell.benchmarkName.c_str(),
        [timed, bytes](benchmark::State& state) { TimeJob(state, timed, bytes); })
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(timing_.minSeconds)
        ->Repetitions(timing_.repetitions)
        ->ReportAggregatesOnly(timing_.repetitions > 1);
    jobs_.push_back(std::move(job));
    return cell;
}

Grid Registry::AddCorpusGrid(const std::string& title, const std::vector<CorpusRow>& corpus,
                             const std::vector<const Encoder*>& encoders, std::size_t ourColumns) {
    Grid grid{title, {}, {}, ourColumns};
    for (const Encoder* encoder : encoders) grid.columns.push_back(encoder->Name());
    for (const CorpusRow& row : corpus) {
        GridRow gridRow{row.Label(), row.largest, {}};
        for (const Encoder* encoder : encoders) {
            gridRow.cells.push_back(AddCell(*encoder, RowKey(row), row.data));
        }
        grid.rows.push_back(std::move(gridRow));
    }
    return grid;
}

Grid Registry::AddSizeGrid(const std::string& title, const std::vector<int>& sizeIndices) {
    Grid grid{title, {"ecc200 fixed size"}, {}, 1};
    for (const int index : sizeIndices) {
        const SymbolSize& size = kSymbolSizes[static_cast<std::size_t>(index)];
        // Two digits make one codeword, so this fills the capacity exactly.
        const Bytes data =
            ClassData(DataClass::kDigits, 2 * static_cast<std::size_t>(size.dataCodewords));
        const Ecc200FixedSizeEncoder encoder(index);
        const std::string name = SizeName(size.rows, size.cols);
        GridRow row{name + ", " + std::to_string(data.size()) + " digits", false, {}};
        row.cells.push_back(AddCell(encoder, "digits_" + std::to_string(data.size()), data));
        grid.rows.push_back(std::move(row));
    }
    return grid;
}

void Registry::FillTimes(Grid& grid, const MedianReporter& reporter) {
    for (auto& row : grid.rows) {
        for (auto& cell : row.cells) {
            if (!cell.benchmarkName.empty())
                cell.micros = reporter.MedianMicros(cell.benchmarkName);
        }
    }
}

}  // namespace bench

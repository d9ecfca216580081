// The summary tables printed after the timing: per row, each encoder's median time per symbol,
// our ratio to the fastest peer and the geometric means.
#ifndef ECC200_BENCH_TABLE_H
#define ECC200_BENCH_TABLE_H

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "job.h"

namespace bench {

// One encoder on one input: its verdict from before the timing and, when timed, its median.
struct Cell {
    Verdict verdict;
    std::string benchmarkName;  // empty when not timed
    std::optional<double> micros;
};

struct GridRow {
    std::string label;
    bool largest = false;  // the row's data is the largest of its class that fits 144x144
    std::vector<Cell> cells;
};

// Rows by columns; the first ourColumns columns are our library, the rest are peers.
struct Grid {
    std::string title;
    std::vector<std::string> columns;
    std::vector<GridRow> rows;
    std::size_t ourColumns = 1;
};

// Columns from ourColumns on are peers: adds the fastest peer, each of our columns' ratio to it,
// every further column of ours over our first, and the geometric means.
void PrintComparison(const Grid& grid, std::ostream& out);

// Plain times per column with the size of our symbol, no ratio.
void PrintTimes(const Grid& grid, std::ostream& out);

// The symbol size each encoder chose per row (or why it has none).
void PrintSizes(const Grid& grid, std::ostream& out);

// Every cell that was not timed, with the reason.
void PrintUntimed(const Grid& grid, std::ostream& out);

// Whether our library encoded every input of the grid correctly.
bool OursAllCorrect(const Grid& grid);

// Geometric mean of one of our columns' ratio to the fastest peer (or to our first column);
// over the largest rows only when asked.
std::optional<double> GeometricMeanRatio(const Grid& grid, bool largestOnly, std::size_t column = 0,
                                         bool toOurFirst = false);

}  // namespace bench

#endif

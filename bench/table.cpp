#include "table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bench {
namespace {

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Three significant digits or so, in microseconds.
std::string Micros(double value) {
    if (value >= 100) return Fixed(value, 0);
    if (value >= 10) return Fixed(value, 1);
    if (value >= 1) return Fixed(value, 2);
    return Fixed(value, 3);
}

std::string CellText(const Cell& cell) {
    if (cell.micros) return Micros(*cell.micros);
    switch (cell.verdict.kind) {
        case Verdict::Kind::kCannotEncode:
            return "cannot encode";
        case Verdict::Kind::kWrongOutput:
            return "WRONG";
        case Verdict::Kind::kCorrect:
            return "filtered out";
    }
    return "?";
}

// The fastest of the columns from firstPeer on (the columns before it are ours).
std::optional<double> FastestPeer(const GridRow& row, std::size_t firstPeer) {
    std::optional<double> fastest;
    for (std::size_t column = firstPeer; column < row.cells.size(); ++column) {
        const auto& micros = row.cells[column].micros;
        if (micros && (!fastest || *micros < *fastest)) fastest = micros;
    }
    return fastest;
}

std::optional<double> Ratio(const GridRow& row, std::size_t firstPeer) {
    const std::optional<double> fastest = FastestPeer(row, firstPeer);
    if (!fastest || row.cells.empty() || !row.cells[0].micros) return std::nullopt;
    return *row.cells[0].micros / *fastest;
}

class GeometricMean {
  public:
    void Add(double value) {
        logSum_ += std::log(value);
        ++count_;
    }
    std::optional<double> Value() const {
        if (count_ == 0) return std::nullopt;
        return std::exp(logSum_ / static_cast<double>(count_));
    }
    int Count() const { return count_; }

  private:
    double logSum_ = 0;
    int count_ = 0;
};

void PrintHeader(const std::vector<std::string>& columns, std::ostream& out) {
    out << "|";
    for (const auto& column : columns) out << " " << column << " |";
    out << "\n|";
    for (std::size_t i = 0; i < columns.size(); ++i) out << (i == 0 ? "---|" : "---:|");
    out << "\n";
}

void PrintLine(const std::vector<std::string>& fields, std::ostream& out) {
    out << "|";
    for (const auto& field : fields) out << " " << field << " |";
    out << "\n";
}

// Geometric mean of a column over the rows (all, or the largest only) where it was timed.
std::string ColumnMean(const Grid& grid, std::size_t column, bool largestOnly) {
    GeometricMean mean;
    int rows = 0;
    for (const auto& row : grid.rows) {
        if (largestOnly && !row.largest) continue;
        ++rows;
        if (row.cells[column].micros) mean.Add(*row.cells[column].micros);
    }
    if (!mean.Value()) return "-";
    std::string text = Micros(*mean.Value());
    if (mean.Count() != rows) text += " (" + std::to_string(mean.Count()) + " rows)";
    return text;
}

std::string OurSize(const GridRow& row) {
    return row.cells.empty() || !row.cells[0].verdict.correct() ? "-" : row.cells[0].verdict.detail;
}

void PrintMeans(const Grid& grid, bool largestOnly, bool withRatio, std::ostream& out) {
    std::vector<std::string> fields{largestOnly ? "**geomean, 144x144 rows**" : "**geomean**", ""};
    for (std::size_t column = 0; column < grid.columns.size(); ++column) {
        fields.push_back(ColumnMean(grid, column, largestOnly));
    }
    if (withRatio) {
        const std::optional<double> ratio = GeometricMeanRatio(grid, largestOnly);
        fields.push_back("");
        fields.push_back(ratio ? "**" + Fixed(*ratio, 3) + "**" : "-");
    }
    PrintLine(fields, out);
}

}  // namespace

bool OursAllCorrect(const Grid& grid) {
    for (const auto& row : grid.rows) {
        for (std::size_t column = 0; column < grid.ourColumns; ++column) {
            if (!row.cells[column].verdict.correct()) return false;
        }
    }
    return true;
}

std::optional<double> GeometricMeanRatio(const Grid& grid, bool largestOnly) {
    GeometricMean mean;
    for (const auto& row : grid.rows) {
        if (largestOnly && !row.largest) continue;
        if (const auto ratio = Ratio(row, grid.ourColumns)) mean.Add(*ratio);
    }
    return mean.Value();
}

void PrintComparison(const Grid& grid, std::ostream& out) {
    out << "\n### " << grid.title << "\n\n";
    std::vector<std::string> header{"row", "ecc200 size"};
    for (const auto& column : grid.columns) header.push_back(column + " µs");
    header.push_back("fastest peer µs");
    header.push_back("ecc200 / fastest");
    PrintHeader(header, out);
    for (const auto& row : grid.rows) {
        std::vector<std::string> fields{row.label, OurSize(row)};
        for (const auto& cell : row.cells) fields.push_back(CellText(cell));
        const std::optional<double> fastest = FastestPeer(row, grid.ourColumns);
        const std::optional<double> ratio = Ratio(row, grid.ourColumns);
        fields.push_back(fastest ? Micros(*fastest) : "-");
        fields.push_back(ratio ? Fixed(*ratio, 3) : "-");
        PrintLine(fields, out);
    }
    PrintMeans(grid, false, true, out);
    PrintMeans(grid, true, true, out);
}

void PrintTimes(const Grid& grid, std::ostream& out) {
    out << "\n### " << grid.title << "\n\n";
    std::vector<std::string> header{"row", "ecc200 size"};
    for (const auto& column : grid.columns) header.push_back(column + " µs");
    PrintHeader(header, out);
    for (const auto& row : grid.rows) {
        std::vector<std::string> fields{row.label, OurSize(row)};
        for (const auto& cell : row.cells) fields.push_back(CellText(cell));
        PrintLine(fields, out);
    }
    PrintMeans(grid, false, false, out);
}

void PrintSizes(const Grid& grid, std::ostream& out) {
    out << "\n### Symbol sizes chosen (" << grid.title << ")\n\n";
    std::vector<std::string> header{"row"};
    for (const auto& column : grid.columns) header.push_back(column);
    PrintHeader(header, out);
    for (const auto& row : grid.rows) {
        std::vector<std::string> fields{row.label};
        for (const auto& cell : row.cells) {
            fields.push_back(cell.verdict.correct() ? cell.verdict.detail : CellText(cell));
        }
        PrintLine(fields, out);
    }
}

void PrintUntimed(const Grid& grid, std::ostream& out) {
    bool any = false;
    for (const auto& row : grid.rows) {
        for (std::size_t column = 0; column < row.cells.size(); ++column) {
            const Cell& cell = row.cells[column];
            if (cell.verdict.correct()) continue;
            if (!any) out << "\nNot timed (" << grid.title << "):\n\n";
            any = true;
            out << "- " << grid.columns[column] << ", " << row.label << ": " << CellText(cell)
                << " — " << cell.verdict.detail << "\n";
        }
    }
}

}  // namespace bench

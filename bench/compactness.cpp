#include "compactness.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compact_samples.h"
#include "corpus.h"
#include "data_codewords.h"
#include "dmtx_adapter.h"
#include "ecc200_adapter.h"
#include "symbol_sizes.h"
#include "verification.h"
#include "zint_adapter.h"
#include "zxing_adapter.h"

namespace bench {
namespace {

constexpr std::size_t kSamplesPerClass = 400;
constexpr std::size_t kQuickSamplesPerClass = 6;

struct Column {
    const char* name;
    SymbolMaker make;
};

// The second column is the reference the others are compared with.
constexpr std::array<Column, 5> kColumns{{
    {"ecc200 look-ahead", Ecc200LookaheadSymbol},
    {"ecc200 smallest", Ecc200SmallestSymbol},
    {"zint", ZintSymbol},
    {"libdmtx", DmtxSymbol},
    {"zxing-cpp", ZxingSymbol},
}};
constexpr std::size_t kReference = 1;
constexpr std::size_t kOurColumns = 2;

struct Footprint {
    int rows = 0;
    int cols = 0;
    int dataCodewords = 0;
    int Area() const { return rows * cols; }
};

enum class Failure { kNone, kCannotEncode, kWrong };

struct Measured {
    std::optional<Footprint> footprint;
    Failure failure = Failure::kNone;
};

Measured Measure(const Column& column, const Sample& sample, Shape shape) {
    const std::optional<ModuleMatrix> matrix = column.make(sample, shape);
    if (!matrix) return {std::nullopt, Failure::kCannotEncode};
    if (!CheckDecodesTo(*matrix, sample.data).correct()) return {std::nullopt, Failure::kWrong};
    const std::optional<int> codewords =
        ecc200_cli::CountDataCodewords(matrix->rows, matrix->cols, matrix->modules);
    if (!codewords) return {std::nullopt, Failure::kWrong};
    return {Footprint{matrix->rows, matrix->cols, *codewords}, Failure::kNone};
}

struct Tally {
    int encoded = 0;
    int cannot = 0;
    int wrong = 0;
    long codewords = 0;
    long area = 0;
    int larger = 0;       // symbol larger in area than the reference's
    int smaller = 0;      // smaller in area than the reference's
    int rectangular = 0;  // a rectangle where squares were asked for: not compared
};

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string TallyText(const Tally& tally, bool reference) {
    if (tally.encoded == 0) return "-";
    std::string text = Fixed(static_cast<double>(tally.codewords) / tally.encoded, 1) + " cw, " +
                       Fixed(static_cast<double>(tally.area) / tally.encoded, 0) + " mod²";
    if (!reference) {
        text += "; " + std::to_string(tally.larger) + " larger, " + std::to_string(tally.smaller) +
                " smaller";
    }
    if (tally.rectangular > 0) {
        text += "; " + std::to_string(tally.rectangular) + " rectangular, not compared";
    }
    if (tally.cannot > 0) text += "; " + std::to_string(tally.cannot) + " cannot";
    if (tally.wrong > 0) text += "; " + std::to_string(tally.wrong) + " WRONG";
    return text;
}

void PrintHeader(const char* first, std::ostream& out) {
    out << "| " << first << " |";
    for (const Column& column : kColumns) out << " " << column.name << " |";
    out << "\n|---|";
    for (std::size_t i = 0; i < kColumns.size(); ++i) out << "---:|";
    out << "\n";
}

std::string Escaped(const Bytes& data) {
    std::string text;
    for (const std::uint8_t byte : data) {
        if (byte >= 32 && byte < 127 && byte != '|') {
            text += static_cast<char>(byte);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            text += hex;
        }
    }
    return text.size() > 60 ? text.substr(0, 57) + "..." : text;
}

std::string Label(const Sample& sample) {
    return sample.gs1() ? sample.gs1Bracketed : Escaped(sample.data);
}

// One table for one shape; false when a symbol of ours failed.
bool PrintClassTable(bool quick, Shape shape, std::ostream& out) {
    out << "\n### Compactness, " << (shape == Shape::kSquare ? "square sizes" : "any shape (area)")
        << "\n\nPer class: mean data codewords and mean symbol area in modules; for the other "
           "encoders, on how many samples their symbol is larger or smaller in area than ecc200 "
           "smallest's. zxing-cpp's writer cannot be held to squares; its rectangles are counted "
           "in its means but not compared.\n\n";
    PrintHeader("class (samples)", out);
    bool oursCorrect = true;
    std::vector<std::string> worse;  // samples where the reference is larger than a peer
    for (std::size_t k = 0; k < kSampleClasses.size(); ++k) {
        SeededStream stream(0x5EED0000ULL + k);
        std::array<Tally, kColumns.size()> tallies{};
        const std::size_t count = quick ? kQuickSamplesPerClass : kSamplesPerClass;
        for (std::size_t n = 0; n < count; ++n) {
            const Sample sample = kSampleClasses[k].make(stream);
            std::array<Measured, kColumns.size()> measured;
            for (std::size_t c = 0; c < kColumns.size(); ++c) {
                measured[c] = Measure(kColumns[c], sample, shape);
            }
            const std::optional<Footprint>& reference = measured[kReference].footprint;
            for (std::size_t c = 0; c < kColumns.size(); ++c) {
                Tally& tally = tallies[c];
                if (!measured[c].footprint) {
                    ++(measured[c].failure == Failure::kWrong ? tally.wrong : tally.cannot);
                    if (c < kOurColumns) oursCorrect = false;
                    continue;
                }
                const Footprint& f = *measured[c].footprint;
                ++tally.encoded;
                tally.codewords += f.dataCodewords;
                tally.area += f.Area();
                if (!reference || c == kReference) continue;
                if (shape == Shape::kSquare && f.rows != f.cols) {
                    ++tally.rectangular;
                    continue;
                }
                tally.larger += f.Area() > reference->Area();
                tally.smaller += f.Area() < reference->Area();
                if (c >= kOurColumns && f.Area() < reference->Area()) {
                    worse.push_back(std::string(kColumns[c].name) + " on " +
                                    kSampleClasses[k].name + " '" + Label(sample) + "'");
                }
            }
        }
        out << "| " << kSampleClasses[k].name << " (" << count << ") |";
        for (std::size_t c = 0; c < kColumns.size(); ++c) {
            out << " " << TallyText(tallies[c], c == kReference) << " |";
        }
        out << "\n";
    }
    out << "\nSamples where a peer made a smaller symbol than ecc200 smallest: " << worse.size()
        << "\n";
    for (std::size_t i = 0; i < worse.size() && i < 10; ++i) out << "- " << worse[i] << "\n";
    return oursCorrect;
}

std::string FootprintText(const Measured& measured) {
    if (!measured.footprint) return measured.failure == Failure::kWrong ? "WRONG" : "cannot";
    const Footprint& f = *measured.footprint;
    return SizeName(f.rows, f.cols) + " · " + std::to_string(f.dataCodewords);
}

void PrintExamples(std::ostream& out) {
    out << "\n### Named examples\n\nSymbol size · data codewords, square sizes then any shape "
           "(zxing-cpp chooses among all sizes either way).\n\n";
    PrintHeader("data", out);
    for (const Shape shape : {Shape::kSquare, Shape::kAny}) {
        for (const auto& [label, sample] : NamedExamples()) {
            out << "| " << label << (shape == Shape::kAny ? " (any)" : "") << " |";
            for (const Column& column : kColumns) {
                out << " " << FootprintText(Measure(column, sample, shape)) << " |";
            }
            out << "\n";
        }
    }
}

}  // namespace

bool PrintCompactness(bool quick, std::ostream& out) {
    out << "\n## Compactness\n";
    PrintExamples(out);
    const bool square = PrintClassTable(quick, Shape::kSquare, out);
    const bool any = PrintClassTable(quick, Shape::kAny, out);
    return square && any;
}

}  // namespace bench

#include "compactness.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus.h"
#include "data_codewords.h"
#include "dmtx_adapter.h"
#include "ecc200_adapter.h"
#include "gs1_element_string.h"
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

// ---- Samples -----------------------------------------------------------------------------

constexpr std::array<std::string_view, 32> kWords{
    "the",  "dog",     "Lot",        "Part",   "Batch", "fox",   "Hello", "World",
    "123",  "Expiry",  "2025-01-01", "Serial", "No.",   "quick", "brown", "jumps",
    "over", "lazy",    "Order",      "#4711",  "Qty:",  "12",    "pcs",   "Made",
    "in",   "Germany", "Item",       "A-17",   "Box",   "of",    "24",    "SIZE XL"};
constexpr std::array<std::string_view, 6> kHosts{"www.example.com",  "example.org",
                                                 "shop.example.net", "EXAMPLE.COM",
                                                 "id.gs1.org",       "a.b.example.co.uk"};
constexpr std::string_view kPathChars = "abcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr std::string_view kLotChars = "ABCDEFGHJKLMNPQRSTUVWXYZ0123456789";
constexpr std::string_view kSerialChars =
    "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz0123456789-./";
constexpr std::string_view kDigitChars = "0123456789";

Bytes ToBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::string Pick(SeededStream& stream, std::string_view alphabet, std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(stream.Pick(alphabet));
    return text;
}

std::size_t Between(SeededStream& stream, std::size_t least, std::size_t most) {
    return least + static_cast<std::size_t>(stream.Next() % (most - least + 1));
}

Sample Text(SeededStream& stream) {
    std::string text;
    for (std::size_t words = Between(stream, 1, 8); words > 0; --words) {
        if (!text.empty()) text += ' ';
        text += kWords[stream.Next() % kWords.size()];
    }
    return {ToBytes(text), ""};
}

Sample Digits(SeededStream& stream) {
    return {ToBytes(Pick(stream, kDigitChars, Between(stream, 1, 120))), ""};
}

Sample Url(SeededStream& stream) {
    const std::string_view host = kHosts[stream.Next() % kHosts.size()];
    std::string url = host.front() == 'E' ? "HTTPS://" : "https://";
    url += host;
    for (std::size_t segments = Between(stream, 0, 3); segments > 0; --segments) {
        url += "/" + Pick(stream, kPathChars, Between(stream, 1, 12));
    }
    if (stream.Next() % 2 == 0) url += "?id=" + Pick(stream, kDigitChars, Between(stream, 1, 10));
    return {ToBytes(url), ""};
}

Sample Binary(SeededStream& stream) {
    Bytes data(Between(stream, 1, 150));
    for (auto& byte : data) byte = static_cast<std::uint8_t>(stream.Next() & 0xFF);
    return {data, ""};
}

std::string WithCheckDigit(const std::string& digits) {
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        sum += (digits.size() - i) % 2 == 1 ? 3 * (digits[i] - '0') : digits[i] - '0';
    }
    return digits + static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string Date(SeededStream& stream) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d%02d%02d", static_cast<int>(Between(stream, 20, 35)),
                  static_cast<int>(Between(stream, 1, 12)),
                  static_cast<int>(Between(stream, 1, 28)));
    return text;
}

// A GTIN, then some of expiry date, batch, serial, weight and order number.
Sample Gs1(SeededStream& stream) {
    std::string text = "(01)" + WithCheckDigit(Pick(stream, kDigitChars, 13));
    if (stream.Next() % 3 != 0) text += "(17)" + Date(stream);
    if (stream.Next() % 2 == 0) text += "(10)" + Pick(stream, kLotChars, Between(stream, 1, 10));
    if (stream.Next() % 2 == 0) {
        text += "(21)" + Pick(stream, kSerialChars, Between(stream, 1, 20));
    }
    if (stream.Next() % 4 == 0) text += "(3103)" + Pick(stream, kDigitChars, 6);
    if (stream.Next() % 4 == 0) text += "(400)" + Pick(stream, kLotChars, Between(stream, 1, 12));
    return {ToBytes(ecc200_cli::ConvertGs1Bracketed(text).elementString), text};
}

struct SampleClass {
    const char* name;
    Sample (*make)(SeededStream&);
};

constexpr std::array<SampleClass, 5> kClasses{{
    {"text", Text},
    {"digits", Digits},
    {"URLs", Url},
    {"binary", Binary},
    {"GS1", Gs1},
}};

Sample Gs1Example(const char* bracketed) {
    return {ToBytes(ecc200_cli::ConvertGs1Bracketed(bracketed).elementString), bracketed};
}

std::vector<std::pair<std::string, Sample>> Examples() {
    return {
        {"Hello World 123", {ToBytes("Hello World 123"), ""}},
        {"dog Lot Part Batch fox", {ToBytes("dog Lot Part Batch fox"), ""}},
        {"Lot Date", {ToBytes("Lot Date"), ""}},
        {"9HR3Z6", {ToBytes("9HR3Z6"), ""}},
        {"https://www.example.com/products/12345",
         {ToBytes("https://www.example.com/products/12345"), ""}},
        {"(01)09501101530003(17)250101(10)ABC123",
         Gs1Example("(01)09501101530003(17)250101(10)ABC123")},
        {"(01)09501101530003(21)abc-1234(10)LOT42",
         Gs1Example("(01)09501101530003(21)abc-1234(10)LOT42")},
    };
}

// ---- Measuring ---------------------------------------------------------------------------

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
    for (std::size_t k = 0; k < kClasses.size(); ++k) {
        SeededStream stream(0x5EED0000ULL + k);
        std::array<Tally, kColumns.size()> tallies{};
        const std::size_t count = quick ? kQuickSamplesPerClass : kSamplesPerClass;
        for (std::size_t n = 0; n < count; ++n) {
            const Sample sample = kClasses[k].make(stream);
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
                    worse.push_back(std::string(kColumns[c].name) + " on " + kClasses[k].name +
                                    " '" + Label(sample) + "'");
                }
            }
        }
        out << "| " << kClasses[k].name << " (" << count << ") |";
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
        for (const auto& [label, sample] : Examples()) {
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

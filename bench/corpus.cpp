#include "corpus.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace bench {
namespace {

constexpr std::array<DataClass, 4> kClasses{DataClass::kDigits, DataClass::kUpperText,
                                            DataClass::kMixedText, DataClass::kBinary};
constexpr std::array<std::size_t, 5> kLengths{5, 20, 60, 200, 500};
constexpr std::array<std::size_t, 2> kQuickLengths{5, 200};

constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kUpperText = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789";

std::uint8_t NextByte(DataClass dataClass, SeededStream& stream) {
    switch (dataClass) {
        case DataClass::kDigits:
            return stream.Pick(kDigits);
        case DataClass::kUpperText:
            return stream.Pick(kUpperText);
        case DataClass::kMixedText:
            return static_cast<std::uint8_t>(32 + stream.Next() % 95);
        case DataClass::kBinary:
            return static_cast<std::uint8_t>(stream.Next() & 0xFF);
    }
    return 0;
}

}  // namespace

std::string ClassName(DataClass dataClass) {
    switch (dataClass) {
        case DataClass::kDigits:
            return "digits";
        case DataClass::kUpperText:
            return "upper";
        case DataClass::kMixedText:
            return "mixed";
        case DataClass::kBinary:
            return "binary";
    }
    return "?";
}

std::string CorpusRow::Label() const {
    return ClassName(dataClass) + " " + std::to_string(data.size()) + (largest ? " (max)" : "");
}

Bytes ClassData(DataClass dataClass, std::size_t length) {
    const auto classIndex = static_cast<std::uint64_t>(static_cast<unsigned>(dataClass));
    SeededStream stream(std::uint64_t{0xECC200} + classIndex);
    Bytes data(length);
    for (auto& byte : data) byte = NextByte(dataClass, stream);
    return data;
}

std::size_t LargestFittingLength(DataClass dataClass, const FitsLargestSquare& fits) {
    const Bytes stream = ClassData(dataClass, kMaxDataLength);
    const auto prefixFits = [&](std::size_t length) {
        return fits(Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(length)));
    };
    if (prefixFits(kMaxDataLength)) return kMaxDataLength;
    std::size_t good = 0;  // invariant: good fits (or is 0), bad does not
    std::size_t bad = kMaxDataLength;
    while (bad - good > 1) {
        const std::size_t middle = good + (bad - good) / 2;
        (prefixFits(middle) ? good : bad) = middle;
    }
    return good;
}

std::vector<CorpusRow> BuildCorpus(bool quick, const FitsLargestSquare& fits) {
    std::vector<CorpusRow> rows;
    for (const DataClass dataClass : kClasses) {
        if (quick) {
            for (const std::size_t length : kQuickLengths) {
                rows.push_back({dataClass, false, ClassData(dataClass, length)});
            }
            continue;
        }
        for (const std::size_t length : kLengths) {
            rows.push_back({dataClass, false, ClassData(dataClass, length)});
        }
        const std::size_t largest = LargestFittingLength(dataClass, fits);
        if (largest > 0) rows.push_back({dataClass, true, ClassData(dataClass, largest)});
    }
    return rows;
}

}  // namespace bench

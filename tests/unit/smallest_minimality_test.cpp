// The smallest encodation is minimal: on every short input over small alphabets, its needed
// capacity equals that of an exhaustive search over every assignment of a scheme to every byte,
// each assignment measured segment by segment with the end-of-symbol rules of the readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "encodation/char_classes.h"
#include "encodation/smallest.h"
#include "geometry/size_table.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

enum Label : uint8_t { kA, kC, kT, kX, kE, kB };
constexpr int32_t kOpen = 1 << 20;
constexpr std::size_t kLongestInput = 8;

int32_t AsciiCodewords(const uint8_t* bytes, int32_t count) {
    int32_t codewords = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (i + 1 < count && IsDigit(bytes[i]) && IsDigit(bytes[i + 1])) ++i;
        codewords += IsExtended(bytes[i]) ? 2 : 1;
    }
    return codewords;
}

// C40 and Text values of a byte: one for the basic set, two for the other sets (FNC1 included),
// and Upper Shift adds two.
int32_t Values(Label scheme, uint8_t c) {
    const int32_t upper = IsExtended(c) ? 2 : 0;
    c &= 0x7F;
    const bool basic = scheme == kC ? IsC40Basic(c) : IsTextBasic(c);
    return upper + (basic ? 1 : 2);
}

struct Segment {
    Label scheme;
    int32_t from, to;
};

// The capacities C that a stream of these segments fits are low..high: the stream must be no
// longer than C, and the rules at the end of a symbol add bounds of their own.
struct Measure {
    const std::vector<uint8_t>& data;
    const Segment* segments;
    std::size_t segmentCount;
    int32_t best = kOpen;

    // Walks the segments from k with `count` codewords written; `oneAsciiTail` chooses, where it
    // applies, to end a C40, Text or X12 segment without an unlatch before one final ASCII
    // codeword (read as ASCII when it is the last in the symbol), or EDIFACT without a closing
    // group before a final ASCII segment (read as ASCII when at most two codewords are left).
    void Walk(std::size_t k, int32_t count, int32_t low, int32_t high) {
        if (k == segmentCount) {
            low = std::max(low, count);
            if (low <= high) best = std::min(best, low);
            return;
        }
        const Segment& s = segments[k];
        const uint8_t* bytes = data.data() + s.from;
        const int32_t m = s.to - s.from;
        const bool last = k + 1 == segmentCount;
        const bool asciiTailNext = k + 2 == segmentCount && segments[k + 1].scheme == kA;
        const int32_t tail = asciiTailNext
                                 ? AsciiCodewords(data.data() + segments[k + 1].from,
                                                  segments[k + 1].to - segments[k + 1].from)
                                 : 0;
        switch (s.scheme) {
            case kA:
                return Walk(k + 1, count + AsciiCodewords(bytes, m), low, high);
            case kC:
            case kT:
            case kX: {
                int32_t values = 0;
                for (int32_t i = 0; i < m; ++i)
                    values += s.scheme == kX ? 1 : Values(s.scheme, bytes[i]);
                if (values % 3 == 1 || (s.scheme == kX && values % 3 != 0)) return;
                count += 1 + 2 * ((values + 2) / 3);
                if (last) return Walk(k + 1, count, low, high);
                if (asciiTailNext && tail == 1) {
                    Walk(k + 2, count + 1, std::max(low, count + 1), std::min(high, count + 1));
                }
                return Walk(k + 1, count + 1, low, high);
            }
            case kE: {
                count += 1 + 3 * (m / 4);
                const int32_t pending = m % 4;
                if (last && pending == 0) return Walk(k + 1, count, low, high);
                if (asciiTailNext && pending == 0) {
                    Walk(k + 2, count + tail, low, std::min(high, count + 2));
                }
                return Walk(k + 1, count + (6 * (pending + 1) + 7) / 8, std::max(low, count + 3),
                            high);
            }
            case kB: {
                count += 1 + (m < 250 ? 1 : 2) + m;
                if (last && m >= 250) {
                    Walk(k + 1, count - 1, std::max(low, count - 1), std::min(high, count - 1));
                }
                return Walk(k + 1, count, low, high);
            }
        }
    }
};

bool Carries(Label scheme, uint8_t c, bool gs1) {
    return scheme == kX   ? IsX12(c)
           : scheme == kE ? IsEdifact(c)
                          : !(scheme == kB && gs1 && c == 0x1D);
}

// The least needed capacity over every assignment of schemes to the bytes.
int32_t ExhaustiveNeededCapacity(const std::vector<uint8_t>& data, bool gs1, int32_t prefix) {
    const auto n = data.size();
    std::vector<Label> labels(n, kA);
    int32_t best = kOpen;
    auto search = [&](auto& self, std::size_t i) -> void {
        if (i == n) {
            Segment segments[kLongestInput];
            std::size_t count = 0;
            for (std::size_t j = 0; j < n; ++j) {
                if (count == 0 || segments[count - 1].scheme != labels[j]) {
                    segments[count++] = {labels[j], static_cast<int32_t>(j), 0};
                }
                segments[count - 1].to = static_cast<int32_t>(j + 1);
            }
            Measure measure{data, segments, count};
            measure.Walk(0, prefix, 0, kOpen);
            best = std::min(best, measure.best);
            return;
        }
        for (const Label label : {kA, kC, kT, kX, kE, kB}) {
            if (!Carries(label, data[i], gs1)) continue;
            labels[i] = label;
            self(self, i + 1);
        }
    };
    search(search, 0);
    return best;
}

// Name, symbols, the longest input, GS1 on, and the codewords before the data (an ECI designator
// or the leading FNC1).
using Alphabet = std::tuple<const char*, std::string, std::size_t, bool, int32_t>;

class Minimality : public ::testing::TestWithParam<Alphabet> {};

TEST_P(Minimality, EqualsTheExhaustiveSearchOnEveryInput) {
    const auto& [name, symbols, longest, gs1, prefix] = GetParam();
    std::vector<uint8_t> data;
    // Every input of every length up to the longest, counted like an odometer.
    std::vector<std::size_t> digits;
    for (std::size_t length = 0; length <= longest; ++length) {
        digits.assign(length, 0);
        for (;;) {
            data.clear();
            for (const std::size_t d : digits) data.push_back(static_cast<uint8_t>(symbols[d]));
            const int32_t expected = ExhaustiveNeededCapacity(data, gs1, prefix);
            const int32_t found =
                SmallestNeededCapacity(data.data(), static_cast<int32_t>(data.size()), gs1, prefix);
            ASSERT_EQ(found, expected) << "input " << ::testing::PrintToString(data);
            std::size_t k = 0;
            while (k < length && ++digits[k] == symbols.size()) digits[k++] = 0;
            if (k == length) break;
        }
    }
}

// Digits pair in ASCII and fill C40, Text and X12; upper and lower case split C40 from Text; "."
// is EDIFACT only and "*" X12 and EDIFACT; byte 233 needs Upper Shift or Base 256; GS is FNC1.
INSTANTIATE_TEST_SUITE_P(Smallest, Minimality,
                         ::testing::Values(Alphabet{"everyClass", "1Aa .*\xE9", 4, false, 0},
                                           Alphabet{"longer", "1Aa.\xE9", 5, false, 0},
                                           Alphabet{"afterEci", "1A.\xE9", 5, false, 2},
                                           Alphabet{"longest", "1A.", 6, false, 0},
                                           Alphabet{"gs1", "1Aa.\x1D\xE9", 4, true, 1},
                                           Alphabet{"gs1Longer", "1A\x1D", 6, true, 1}),
                         [](const auto& param) { return std::string(std::get<0>(param.param)); });

// Data capacity of the symbol that an encode with these settings makes, or 0 when it fails.
int32_t EncodedCapacity(const std::string& data, int32_t scheme, int32_t encodation) {
    const auto handle = testing::SymbolWith(scheme, ECC200_SIZE_AUTO, data);
    EXPECT_EQ(SetOption_ECC200(handle.get(), ECC200_OPTION_ENCODATION, encodation), 0);
    int32_t status = -1;
    testing::EncodeToModules(handle.get(), status);
    return status == 0 ? SizeAt(GetDimension_ECC200(handle.get())).totalDataCodewords : 0;
}

// On data too long for the exhaustive search, the smallest encodation never takes a larger symbol
// than the look-ahead or any fixed scheme.
TEST(Smallest, NeverLargerThanAnyOtherEncodation) {
    std::mt19937 random(2026);
    const std::string alphabets[] = {"AB.-/ 12", "abc 123",     "0123456789A",
                                     "A*>\r 9",  "AZ.:;<=>?@[", "aB1.\xE9\xF0"};
    for (int32_t trial = 0; trial < 1800; ++trial) {
        const std::string& alphabet = alphabets[trial % 6];
        std::string data(1 + random() % 70, ' ');
        for (char& c : data) c = alphabet[random() % alphabet.size()];
        const int32_t smallest = EncodedCapacity(data, 0, ECC200_ENCODATION_SMALLEST);
        for (int32_t scheme = 0; scheme <= 6; ++scheme) {
            const int32_t other = EncodedCapacity(data, scheme, ECC200_ENCODATION_LOOKAHEAD);
            EXPECT_LE(smallest, other == 0 ? smallest : other) << data << " scheme " << scheme;
        }
    }
}

// Long digit runs are searched a period at a time once the search state repeats. Twelve digits
// more in the middle of a long run cost exactly six codewords more (six more ASCII pairs), and a
// run alone needs half a codeword a digit, whatever comes around the run.
TEST(Smallest, LongDigitRunsCostHalfACodewordADigit) {
    const auto needed = [](const std::string& data) {
        return SmallestNeededCapacity(reinterpret_cast<const uint8_t*>(data.data()),
                                      static_cast<int32_t>(data.size()), false, 0);
    };
    for (const int32_t digits : {60, 61, 150}) {
        const std::string run(static_cast<std::size_t>(digits), '7');
        EXPECT_EQ(needed(run), (digits + 1) / 2) << digits;
        for (const std::string before : {"", "A", "ab", ".*", "\xE9\xE9\xE9"}) {
            for (const std::string after : {"", "AB", "c", ".", "\xF0\xF1\xF2"}) {
                const std::string longer = before + run + "123456789012" + run + after;
                EXPECT_EQ(needed(longer), needed(before + run + run + after) + 6)
                    << before << " " << digits << " " << after;
            }
        }
    }
}

}  // namespace
}  // namespace ecc200

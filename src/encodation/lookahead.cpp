#include "encodation/lookahead.h"

#include <array>
#include <bit>
#include <cfloat>
#include <limits>

#include "encodation/char_classes.h"
#include "encodation/encoder_cursor.h"

namespace ecc200 {

namespace {

constexpr int32_t kWindow = 6;

// The single-precision numbers nearest to the thirds that the counts add.
constexpr float kTwoThirds = std::bit_cast<float>(0x3F2AAAABu);
constexpr float kFourThirds = std::bit_cast<float>(0x3FAAAAABu);
constexpr float kEightThirds = std::bit_cast<float>(0x402AAAABu);
constexpr float kTenThirds = std::bit_cast<float>(0x40555555u);
constexpr float kThirteenThirds = std::bit_cast<float>(0x408AAAABu);

// The scores depend on every addition being rounded to single precision at once.
static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559);
static_assert(FLT_EVAL_METHOD == 0, "float arithmetic must not be carried out in wider registers");
#ifdef __FAST_MATH__
#error "the look-ahead counts need strict IEEE single-precision arithmetic"
#endif

using Counts = float[kSchemeCount];

void StartCounts(int32_t current, Counts& counts) {
    const bool fromAscii = current == kSchemeAscii;
    const float base = fromAscii ? 0.0f : 1.0f;
    counts[kSchemeAuto] = 0.0f;
    counts[kSchemeAscii] = base;
    counts[kSchemeC40] = base + 1.0f;
    counts[kSchemeBase256] = base + 1.25f;
    counts[kSchemeEdifact] = base + 1.0f;
    counts[kSchemeText] = base + 1.0f;
    counts[kSchemeX12] = base + 1.0f;
    if (!fromAscii && current > kSchemeAscii && current < kSchemeCount) counts[current] = 0.0f;
}

// What one byte adds to each count. ASCII adds 0.5 to the count for a digit, else its increment
// to the count rounded up; the other schemes add their increment to the count.
struct ByteIncrements {
    bool asciiDigit;
    float ascii;
    float c40;
    float edifact;
    float text;
    float x12;
};

constexpr float TripletIncrement(bool inSet, uint8_t c, float extended, float other) {
    if (inSet) return kTwoThirds;
    return IsExtended(c) ? extended : other;
}

constexpr ByteIncrements IncrementsOf(uint8_t c) {
    return {.asciiDigit = IsDigit(c),
            .ascii = IsExtended(c) ? 2.0f : 1.0f,
            .c40 = TripletIncrement(IsC40Basic(c), c, kEightThirds, kFourThirds),
            .edifact = IsEdifact(c) ? 0.75f : (IsExtended(c) ? 4.25f : 3.25f),
            .text = TripletIncrement(IsTextBasic(c), c, kEightThirds, kFourThirds),
            .x12 = TripletIncrement(IsX12(c), c, kThirteenThirds, kTenThirds)};
}

constexpr std::array<ByteIncrements, 256> kIncrements = [] {
    std::array<ByteIncrements, 256> table{};
    for (std::size_t c = 0; c < table.size(); ++c) table[c] = IncrementsOf(static_cast<uint8_t>(c));
    return table;
}();

// The smallest whole number not below x, exactly, for the non-negative counts (all far below
// 2^31), without a library call.
float CeilOfCount(float x) {
    const auto whole = static_cast<float>(static_cast<int32_t>(x));
    return whole < x ? whole + 1.0f : whole;
}

void AddByte(uint8_t c, Counts& counts) {
    const ByteIncrements& add = kIncrements[c];
    const float ascii = counts[kSchemeAscii];
    counts[kSchemeAscii] = add.asciiDigit ? ascii + 0.5f : CeilOfCount(ascii) + add.ascii;
    counts[kSchemeC40] = counts[kSchemeC40] + add.c40;
    counts[kSchemeBase256] = counts[kSchemeBase256] + 1.0f;
    counts[kSchemeEdifact] = counts[kSchemeEdifact] + add.edifact;
    counts[kSchemeText] = counts[kSchemeText] + add.text;
    counts[kSchemeX12] = counts[kSchemeX12] + add.x12;
}

}  // namespace

int32_t LookAheadTest(Symbol& symbol, const uint8_t* text, int32_t length) {
    Counts& counts = symbol.lookaheadCounts;
    StartCounts(symbol.scheme, counts);
    const int32_t window = length < kWindow ? length : kWindow;
    for (int32_t k = 0; k < window; ++k) AddByte(text[k], counts);

    int32_t best = kSchemeAscii;
    for (int32_t id = kSchemeAscii + 1; id < kSchemeCount; ++id) {
        if (counts[id] < counts[best]) best = id;
    }
    return best;
}

}  // namespace ecc200

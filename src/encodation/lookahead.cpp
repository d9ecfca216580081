// The look-ahead test: six-byte windows scored in every scheme in single precision, the smallest
// count winning.
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

// The counts of one test, each scheme's by name so that they all stay in registers.
//
// The ASCII count only ever holds whole and half numbers (a digit adds 0.5, any other byte adds
// 1, or 2 when extended, to the count rounded up), which single precision holds exactly. It is
// kept in half units as an integer: the same values, without a chain of float conversions per
// byte for the rounding up.
struct Counts {
    int32_t asciiHalves;
    float c40;
    float base256;
    float edifact;
    float text;
    float x12;
};

// The counts before the window: the current scheme starts at 0, every other one pays for the
// switch to it (and, away from ASCII, for the switch back first).
Counts StartCounts(int32_t current) {
    const bool fromAscii = current == kSchemeAscii;
    const float base = fromAscii ? 0.0f : 1.0f;
    auto start = [current, base](int32_t scheme, float cost) {
        return current == scheme ? 0.0f : base + cost;
    };
    return {.asciiHalves = fromAscii ? 0 : 2,
            .c40 = start(kSchemeC40, 1.0f),
            .base256 = start(kSchemeBase256, 1.25f),
            .edifact = start(kSchemeEdifact, 1.0f),
            .text = start(kSchemeText, 1.0f),
            .x12 = start(kSchemeX12, 1.0f)};
}

// What one byte adds to each count.
struct ByteIncrements {
    bool asciiDigit;
    int32_t asciiHalves;  // to the rounded-up count, unless a digit
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
            .asciiHalves = IsExtended(c) ? 4 : 2,
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

void AddByte(uint8_t c, Counts& counts) {
    const ByteIncrements& add = kIncrements[c];
    const int32_t roundedUp = (counts.asciiHalves + 1) & ~1;
    counts.asciiHalves = add.asciiDigit ? counts.asciiHalves + 1 : roundedUp + add.asciiHalves;
    counts.c40 = counts.c40 + add.c40;
    counts.base256 = counts.base256 + 1.0f;
    counts.edifact = counts.edifact + add.edifact;
    counts.text = counts.text + add.text;
    counts.x12 = counts.x12 + add.x12;
}

}  // namespace

int32_t LookAheadTest(Symbol& symbol, const uint8_t* text, int32_t length) {
    Counts counts = StartCounts(symbol.scheme);
    const int32_t window = length < kWindow ? length : kWindow;
    for (int32_t k = 0; k < window; ++k) AddByte(text[k], counts);

    float* const scores = symbol.lookaheadCounts;
    scores[kSchemeAuto] = 0.0f;
    scores[kSchemeAscii] = 0.5f * static_cast<float>(counts.asciiHalves);
    scores[kSchemeC40] = counts.c40;
    scores[kSchemeBase256] = counts.base256;
    scores[kSchemeEdifact] = counts.edifact;
    scores[kSchemeText] = counts.text;
    scores[kSchemeX12] = counts.x12;
    int32_t best = kSchemeAscii;
    for (int32_t id = kSchemeAscii + 1; id < kSchemeCount; ++id) {
        if (scores[id] < scores[best]) best = id;
    }
    return best;
}

}  // namespace ecc200

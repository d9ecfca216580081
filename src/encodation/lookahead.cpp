#include "encodation/lookahead.h"

#include <bit>
#include <cfloat>
#include <cmath>
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

float AsciiStep(float count, uint8_t c) {
    if (IsDigit(c)) return count + 0.5f;
    return std::ceil(count) + (IsExtended(c) ? 2.0f : 1.0f);
}

// A C40, Text or X12 step: the in-set, extended and other increments.
float TripletStep(float count, bool inSet, uint8_t c, float extended, float other) {
    if (inSet) return count + kTwoThirds;
    return count + (IsExtended(c) ? extended : other);
}

float EdifactStep(float count, uint8_t c) {
    if (IsEdifact(c)) return count + 0.75f;
    return count + (IsExtended(c) ? 4.25f : 3.25f);
}

void AddByte(uint8_t c, Counts& counts) {
    counts[kSchemeAscii] = AsciiStep(counts[kSchemeAscii], c);
    counts[kSchemeC40] =
        TripletStep(counts[kSchemeC40], IsC40Basic(c), c, kEightThirds, kFourThirds);
    counts[kSchemeBase256] = counts[kSchemeBase256] + 1.0f;
    counts[kSchemeEdifact] = EdifactStep(counts[kSchemeEdifact], c);
    counts[kSchemeText] =
        TripletStep(counts[kSchemeText], IsTextBasic(c), c, kEightThirds, kFourThirds);
    counts[kSchemeX12] = TripletStep(counts[kSchemeX12], IsX12(c), c, kThirteenThirds, kTenThirds);
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

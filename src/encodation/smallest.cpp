#include "encodation/smallest.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/status.h"
#include "encodation/c40_text.h"
#include "encodation/char_classes.h"
#include "encodation/encoder_cursor.h"
#include "encodation/packing.h"
#include "encodation/x12.h"
#include "geometry/size_table.h"

namespace ecc200 {

namespace {

// Encoder states: the scheme the stream stands in and, for C40, Text and EDIFACT, how many values
// of an unfinished triplet or group are pending. X12 is only ever stood in at whole triplets; its
// last one or two bytes go to ASCII.
constexpr int32_t kAsciiState = 0;
constexpr int32_t kC40State = 1;   // 1..3: 0..2 values pending
constexpr int32_t kTextState = 4;  // 4..6
constexpr int32_t kX12State = 7;
constexpr int32_t kEdifactState = 8;  // 8..11: 0..3 values pending
constexpr int32_t kStateCount = 12;

// How the search reached a state (stored per position and state for the way back).
constexpr uint8_t kFromStart = 0;
constexpr uint8_t kFromAsciiByte = 1;
constexpr uint8_t kFromDigitPair = 2;
constexpr uint8_t kFromBase256 = 3;
constexpr uint8_t kFromStep = 4;  // an X12 triplet
constexpr uint8_t kFromLatch = 5;
constexpr uint8_t kFromRun = 6;       // C40, Text or EDIFACT bytes from the position before
constexpr uint8_t kFromUnlatch = 16;  // + the state left
// No transition gives the stored cost: the costs contradict each other, and the way back fails.
constexpr uint8_t kFromNowhere = 255;

// Above every real cost (at most two codewords a byte), low enough that a cost and a few codewords
// more fit 16 bits; a single bit, so that setting it marks a cost unreached.
constexpr int32_t kUnreached = 1 << 14;
static_assert(2 * (kMaxDataLength + 3) < kUnreached);

constexpr std::array<uint8_t, 256> ValueCounts(const CharSetTable& sets) {
    std::array<uint8_t, 256> counts{};
    for (int32_t c = 0; c < 256; ++c) {
        uint8_t values[4] = {};
        counts[static_cast<std::size_t>(c)] =
            static_cast<uint8_t>(ValuesOfByte(sets, static_cast<uint8_t>(c), values));
    }
    return counts;
}
// A group separator takes two values as a control character and two as FNC1, so the GS1 sets
// have the same counts.
constexpr std::array<uint8_t, 256> kC40ValueCounts = ValueCounts(C40CharSets);
constexpr std::array<uint8_t, 256> kTextValueCounts = ValueCounts(TextCharSets);

// A byte in C40 or Text: its values beyond whole triplets, and the codewords of the triplets
// that its values fill alone.
struct TripletStep {
    uint8_t rest;
    uint8_t whole;
};
constexpr std::array<TripletStep, 256> TripletSteps(const std::array<uint8_t, 256>& counts) {
    std::array<TripletStep, 256> steps{};
    for (std::size_t c = 0; c < 256; ++c) {
        steps[c] = {static_cast<uint8_t>(counts[c] % 3), static_cast<uint8_t>(2 * (counts[c] / 3))};
    }
    return steps;
}
constexpr std::array<TripletStep, 256> kC40Steps = TripletSteps(kC40ValueCounts);
constexpr std::array<TripletStep, 256> kTextSteps = TripletSteps(kTextValueCounts);

// The values of every byte in one scheme's sets, looked up once for the way back.
struct ByteValues {
    uint8_t count;
    uint8_t values[4];
};
using ByteValueTable = std::array<ByteValues, 256>;
constexpr ByteValueTable ByteValuesOf(const CharSetTable& sets) {
    ByteValueTable table{};
    for (int32_t c = 0; c < 256; ++c) {
        ByteValues& entry = table[static_cast<std::size_t>(c)];
        entry.count =
            static_cast<uint8_t>(ValuesOfByte(sets, static_cast<uint8_t>(c), entry.values));
    }
    return table;
}
constexpr ByteValueTable kC40Values = ByteValuesOf(C40CharSets);
constexpr ByteValueTable kTextValues = ByteValuesOf(TextCharSets);
constexpr ByteValueTable kC40Gs1Values = ByteValuesOf(C40Gs1CharSets);
constexpr ByteValueTable kTextGs1Values = ByteValuesOf(TextGs1CharSets);

// What the search asks of a byte, looked up once: whether X12 and EDIFACT carry it, and what
// kind of data it makes (see KindsOf).
constexpr uint8_t kInX12 = 1;
constexpr uint8_t kInEdifact = 2;
constexpr uint8_t kNotDigit = 4;
constexpr uint8_t kNotC40Basic = 8;
constexpr uint8_t kAboveAscii = 16;
constexpr std::array<uint8_t, 256> kByteSets = [] {
    std::array<uint8_t, 256> sets{};
    for (int32_t c = 0; c < 256; ++c) {
        const auto byte = static_cast<uint8_t>(c);
        sets[static_cast<std::size_t>(c)] = static_cast<uint8_t>(
            (IsX12(byte) ? kInX12 : 0) | (IsEdifact(byte) ? kInEdifact : 0) |
            (IsDigit(byte) ? 0 : kNotDigit) | (IsC40Basic(byte) ? 0 : kNotC40Basic) |
            (IsExtended(byte) ? kAboveAscii : 0));
    }
    return sets;
}();

// The kinds of byte that occur in the data (kNotDigit, kNotC40Basic, kAboveAscii), which decide
// how much of the search it needs; looked at a block at a time, until all kinds have occurred.
uint8_t KindsOf(const uint8_t* data, int32_t length) {
    constexpr uint8_t kAllKinds = kNotDigit | kNotC40Basic | kAboveAscii;
    constexpr int32_t kBlock = 64;
    uint8_t kinds = 0;
    for (int32_t start = 0; start < length && (kinds & kAllKinds) != kAllKinds; start += kBlock) {
        const int32_t end = std::min(start + kBlock, length);
        for (int32_t i = start; i < end; ++i) kinds |= kByteSets[data[i]];
    }
    return static_cast<uint8_t>(kinds & kAllKinds);
}

bool IsEdifactState(int32_t state) {
    return state >= kEdifactState;
}
// The values pending, and the first state of the scheme, by state.
constexpr uint8_t kPendingOf[kStateCount] = {0, 0, 1, 2, 0, 1, 2, 0, 0, 1, 2, 3};
int32_t PendingValues(int32_t state) {
    return kPendingOf[state];
}
int32_t SchemeBase(int32_t state) {
    return state - kPendingOf[state];
}

// A way for the stream to end, with the capacities C that it fits: low <= C <= high.
struct Ending {
    enum Kind : uint8_t {
        kOpen,           // the state at the end of the data, closed as the capacity allows
        kPaddedTriplet,  // C40 or Text with two values pending, completed with shift 1
        kClosingGroup,   // EDIFACT with values pending, closed with the unlatch
        kAsciiTail,      // the rest in ASCII with no unlatch, read as ASCII by the rule at the end
        kBase256ToEnd,   // a Base 256 field with length 0, running to the end of the symbol
        kDigitPairs,     // data of digits alone, in ASCII with no search
    };
    Kind kind;
    int32_t position;  // where the path of states ends
    int32_t state;
    int32_t low;
    int32_t high;
};

constexpr int32_t kMaxEndings = 32;

// The shortest-path search. Every position of the data holds the least cost (codewords written)
// of each state there; the way back finds, from the costs, which transition gave each one. All
// storage is fixed-size and held in the object, which an encode keeps on its stack (about 130 KB,
// touched only as far as the data reaches): no allocation per encode.
class Search {
  public:
    Search(const uint8_t* data, int32_t length, bool gs1, int32_t prefix)
        : data_(data), length_(length), gs1_(gs1), prefix_(prefix) {}

    void Run();
    [[gnu::noinline]] void RunBasic();
    int32_t NeededCapacity() const;
    // The ending to write for capacity C, or null when none fits it.
    const Ending* EndingFor(int32_t capacity) const;
    // Writes the stream of `ending` for capacity C from out[prefix] on; returns its length.
    int32_t Emit(const Ending& ending, int32_t capacity, uint8_t* out);

  private:
    int32_t Cost(int32_t position, int32_t state) const { return cost_[position][state]; }
    struct Arrival {
        uint8_t how;
        int32_t position;
        int32_t state;
    };
    Arrival WayBack(int32_t position, int32_t state) const;
    Arrival RunBack(int32_t position, int32_t state) const;
    Arrival ByLatch(int32_t position, int32_t state) const;
    [[gnu::always_inline]] bool SlideBase256Window(int32_t i);
    void ConsiderLongField(int32_t i);
    [[nodiscard]] int32_t ArriveFromBase256(int32_t i, int32_t ascii);
    int32_t Base256Cost(int32_t start, int32_t i) const;
    int32_t SkipDigitPeriods(int32_t i, int32_t* row, const int32_t* settled);
    struct DigitRunWatch;
    int32_t Watch(int32_t i, int32_t* row, DigitRunWatch& watch, int32_t lastNonDigit);
    void StoreCosts(int32_t i, const int32_t* row);
    void CollectEndings();
    void AddEnding(Ending::Kind kind, int32_t position, int32_t state, int32_t low, int32_t high);
    int32_t AsciiTailLength(int32_t from) const;
    int32_t Backtrack(int32_t position, int32_t state);

    const uint8_t* data_;
    int32_t length_;
    bool gs1_;
    int32_t prefix_;

    int16_t cost_[kMaxDataLength + 1][kStateCount];
    int16_t base256Start_[kMaxDataLength + 1];  // best start of a field ending here, or -1
    int16_t asciiKey_[kMaxDataLength + 1];      // cost of ASCII at j, minus j
    int16_t window_[kMaxDataLength + 1];        // Base 256 starts of the short-field window
    int32_t windowHead_ = 0;
    int32_t windowTail_ = 0;
    int32_t base256Lowest_ = 0;  // no field may start before this (a GS lies before it)
    int32_t longStart_ = -1;     // best start of a field of 250 bytes or more ending here
    // A field costs a codeword a byte and two more, ASCII at most a codeword a byte but two for a
    // byte above 127: without those no field is ever shortest, and the search skips them.
    bool fieldsCanWin_ = false;

    Ending endings_[kMaxEndings];
    int32_t endingCount_ = 0;

    // The way back, from the start of the stream to its end.
    static constexpr int32_t kPathCapacity = 3 * (kMaxDataLength + 1);
    int16_t pathPosition_[kPathCapacity];
    uint8_t pathState_[kPathCapacity];
    uint8_t pathHow_[kPathCapacity];
};

void Relax(int32_t& slot, int32_t candidate) {
    slot = std::min(slot, candidate);
}

// A Base 256 field of bytes j..i-1 after ASCII at j: latch, length field (one codeword below 250
// bytes, two from 250 on), the bytes. The best j is the least cost(j) - j over the window, kept
// with a monotone queue for short fields and a running minimum for long ones.
// Moves the window on to fields ending at i; false when none can (a GS lies just before i).
inline bool Search::SlideBase256Window(int32_t i) {
    const int32_t newest = i - 1;
    if (gs1_ && data_[newest] == kGroupSeparator) {  // FNC1 cannot be inside a field
        base256Lowest_ = i;
        windowHead_ = windowTail_ = 0;
        longStart_ = -1;
        return false;
    }
    const int32_t key = asciiKey_[newest];
    int32_t tail = windowTail_;
    while (tail > windowHead_ && asciiKey_[window_[tail - 1]] >= key) --tail;
    window_[tail] = static_cast<int16_t>(newest);
    windowTail_ = tail + 1;
    const int32_t shortLowest = std::max(base256Lowest_, i - (kLongBase256Field - 1));
    int32_t head = windowHead_;
    while (window_[head] < shortLowest) ++head;
    windowHead_ = head;
    ConsiderLongField(i);
    return true;
}

void Search::ConsiderLongField(int32_t i) {
    const int32_t longCandidate = i - kLongBase256Field;
    if (longCandidate >= base256Lowest_ &&
        (longStart_ < 0 || asciiKey_[longCandidate] < asciiKey_[longStart_])) {
        longStart_ = longCandidate;
    }
}

// The field cost of bytes start..i-1 after ASCII at start.
int32_t Search::Base256Cost(int32_t start, int32_t i) const {
    return asciiKey_[start] + i + (i - start < kLongBase256Field ? 2 : 3);
}

// Records the best field ending at i (the short one on a tie) and returns ASCII's cost with it.
int32_t Search::ArriveFromBase256(int32_t i, int32_t ascii) {
    if (!SlideBase256Window(i)) {
        base256Start_[i] = -1;
        return ascii;
    }
    int32_t start = window_[windowHead_];
    int32_t best = Base256Cost(start, i);
    if (longStart_ >= 0 && Base256Cost(longStart_, i) < best) {
        start = longStart_;
        best = Base256Cost(start, i);
    }
    base256Start_[i] = static_cast<int16_t>(start);
    return std::min(ascii, best);
}

// Leaving a state for ASCII at the same position: 254 from C40, Text and X12 (after a shift 1
// that completes a triplet with two values pending; C40 and Text are not left with one value
// pending, see the Ending kinds), the closing group from EDIFACT.
// Codewords to leave each state for ASCII at the same position (kUnreached where it cannot be).
constexpr int32_t kUnlatchCost[kStateCount] = {0,
                                               1,
                                               kUnreached,
                                               3,
                                               1,
                                               kUnreached,
                                               3,
                                               1,
                                               EdifactClosingLength(0),
                                               EdifactClosingLength(1),
                                               EdifactClosingLength(2),
                                               EdifactClosingLength(3)};

// ASCII at a position from `state` there. The least of these is taken in pairs, not in one chain:
// the search's speed is bound by the chain of comparisons from one position to the next.
inline int32_t Left(const int32_t* row, int32_t state) {
    return row[state] + kUnlatchCost[state];
}
inline int32_t LeftC40Text(const int32_t* row, int32_t base) {
    return std::min(Left(row, base), Left(row, base + 2));
}
inline int32_t LeftEdifact(const int32_t* row) {
    return std::min(std::min(Left(row, kEdifactState), Left(row, kEdifactState + 1)),
                    std::min(Left(row, kEdifactState + 2), Left(row, kEdifactState + 3)));
}

inline void Unlatch(int32_t* row) {
    const int32_t c40Text = std::min(LeftC40Text(row, kC40State), LeftC40Text(row, kTextState));
    const int32_t x12Edifact = std::min(Left(row, kX12State), LeftEdifact(row));
    row[kAsciiState] = std::min(row[kAsciiState], std::min(c40Text, x12Edifact));
}

inline void Latch(int32_t* row) {
    const int32_t latched = row[kAsciiState] + 1;
    Relax(row[kC40State], latched);
    Relax(row[kTextState], latched);
    Relax(row[kX12State], latched);
    Relax(row[kEdifactState], latched);
}

// The states of data that is all space, digits and upper-case letters. Each such byte is one C40
// value, so C40 carries any run that Text (two values for a letter) or X12 (the same values, with
// stricter ends) could at no more cost, and is preferred on every tie: the search leaves Text and
// X12 unreached. Every such byte is in EDIFACT and none is above 127 (no Base 256 field can win).
inline void UnlatchBasic(int32_t* row) {
    const int32_t ascii =
        std::min(row[kAsciiState], std::min(LeftC40Text(row, kC40State), LeftEdifact(row)));
    row[kAsciiState] = ascii;
    Relax(row[kC40State], ascii + 1);
    Relax(row[kEdifactState], ascii + 1);
}

// One byte more in C40 or Text from each pending count: `values` more values, two codewords for
// every triplet they complete. The pending counts map one to one onto the next position's, and
// nothing else reaches C40 or Text there, so the entries are stored, not relaxed. Selected
// without branches: the value counts of mixed data change from byte to byte.
inline void StepC40Text(const int32_t* current, int32_t* next, int32_t base, TripletStep step) {
    const int32_t* from = current + base;
    int32_t* to = next + base;
    const int32_t whole = step.whole;
    const int32_t rest = step.rest;
    const int32_t a = from[0] + whole;
    const int32_t b = from[1] + whole;
    const int32_t c = from[2] + whole;
    const int32_t completed = 2;
    to[0] = rest == 0 ? a : (rest == 1 ? c : b) + completed;
    to[1] = rest == 0 ? b : (rest == 1 ? a : c + completed);
    to[2] = rest == 0 ? c : (rest == 1 ? b : a);
}

// Arrivals from further back, read from the stored costs (kept out of the row, which then fits
// the registers better): ASCII at i + 1 by the digit pair of bytes i - 1 and i, X12 at i + 1 by
// the triplet of bytes i - 2 to i.
int32_t ByDigitPair(const int16_t (*cost)[kStateCount], const uint8_t* data, int32_t i) {
    const bool pair = i >= 1 && IsDigit(data[i]) && IsDigit(data[i - 1]);
    return pair ? cost[i - 1][kAsciiState] + 1 : kUnreached;
}
int32_t ByX12Triplet(const int16_t (*cost)[kStateCount], const uint8_t* data, int32_t i) {
    const bool triplet = i >= 2 && (kByteSets[data[i]] & kByteSets[data[i - 1]] &
                                    kByteSets[data[i - 2]] & kInX12) != 0;
    return triplet ? cost[i - 2][kX12State] + 2 : kUnreached;
}

// Inside a run of digits every position is searched alike, so the state settles into a cycle:
// after a whole number of digit pairs, X12 triplets and EDIFACT groups it repeats with every cost
// raised by the same amount. 12 is the least such period.
constexpr int32_t kDigitPeriod = 12;

// Whether an entry has repeated a period later raised by `raise`, far enough from the unreached
// bound for the steps to keep doing so, or stayed unreached (as Text and X12 in the search of
// basic data).
bool RepeatsRaised(int32_t now, int32_t then, int32_t raise) {
    if (now >= kUnreached && then >= kUnreached) return true;
    return now - then == raise && now < kUnreached / 2;
}

// Called at position i of a run of digits whose state has repeated, raised by one amount, over the
// last kDigitPeriod positions (`settled` is the state then). While every position searched lies
// at least two digits into the run and sees three digits from itself on, each step maps a state
// raised by an amount to the next state raised by the same amount: no Base 256 field can reach
// ASCII there (its bytes cost one codeword each, digit pairs half a codeword each), and no entry
// is near the unreached bound. So whole periods are written by copying the last one, and the
// state moves on by the amount once per period. Returns the position reached.
int32_t Search::SkipDigitPeriods(int32_t i, int32_t* row, const int32_t* settled) {
    int32_t runEnd = i;
    while (runEnd < length_ && IsDigit(data_[runEnd])) ++runEnd;
    const int32_t lastSkippable = runEnd - 3;
    const int32_t periods = (lastSkippable + 1 - i) / kDigitPeriod;
    if (periods <= 0) return i;
    const int32_t raise = row[0] - settled[0];
    for (int32_t state = 0; state < kStateCount; ++state) {
        if (!RepeatsRaised(row[state], settled[state], raise)) return i;
        // The arrivals read back from the two positions before (see ByDigitPair) repeat too.
        for (const int32_t back : {1, 2}) {
            const int32_t now = cost_[i - back][state];
            if (!RepeatsRaised(now, cost_[i - back - kDigitPeriod][state], raise)) return i;
        }
    }
    const int32_t keyRaise = raise - kDigitPeriod;
    const int32_t end = i + periods * kDigitPeriod;
    // The short-field window keeps the starts whose key is below every later one. Keys fall by
    // -keyRaise a period, so of the starts skipped only those of the last period can stay, and
    // they drop the same older starts as all of them would: only the last period is slid.
    const int32_t slideFrom = keyRaise < 0 ? end - kDigitPeriod : i;
    for (int32_t t = i; t < end; ++t) {
        if (fieldsCanWin_ && t >= slideFrom) {
            static_cast<void>(SlideBase256Window(t));
        } else if (fieldsCanWin_) {
            ConsiderLongField(t);
        }
        for (int32_t state = 0; state < kStateCount; ++state) {
            const int32_t cost = cost_[t - kDigitPeriod][state];
            cost_[t][state] = static_cast<int16_t>(cost < kUnreached ? cost + raise : cost);
        }
        base256Start_[t] = -1;  // no field reaches ASCII there
        if (fieldsCanWin_) {
            asciiKey_[t] = static_cast<int16_t>(asciiKey_[t - kDigitPeriod] + keyRaise);
        }
    }
    for (int32_t slot = 0; slot < kStateCount; ++slot) {
        if (row[slot] < kUnreached) row[slot] += periods * raise;
    }
    return end;
}

// What the search loops keep to find runs of digits whose state repeats (see SkipDigitPeriods).
struct Search::DigitRunWatch {
    int32_t settled[kStateCount] = {};  // the state at settledAt
    int32_t settledAt = -kDigitPeriod - 1;
    int32_t probeAt = 0;
};

// Every kDigitPeriod positions: skips the periods over which the state repeats, and takes the
// state as the one to compare with next. Returns the position to search from.
inline int32_t Search::Watch(int32_t i, int32_t* row, DigitRunWatch& watch, int32_t lastNonDigit) {
    if (i != watch.probeAt) return i;
    if (watch.settledAt == i - kDigitPeriod && lastNonDigit < watch.settledAt - 2) {
        // Copies, so that neither `row` nor `watch` escapes to memory.
        int32_t state[kStateCount];
        int32_t settled[kStateCount];
        for (int32_t k = 0; k < kStateCount; ++k) state[k] = row[k];
        for (int32_t k = 0; k < kStateCount; ++k) settled[k] = watch.settled[k];
        i = SkipDigitPeriods(i, state, settled);
        for (int32_t k = 0; k < kStateCount; ++k) row[k] = state[k];
    }
    for (int32_t k = 0; k < kStateCount; ++k) watch.settled[k] = row[k];
    watch.settledAt = i;
    watch.probeAt = i + kDigitPeriod;
    return i;
}

inline void Search::StoreCosts(int32_t i, const int32_t* row) {
    int16_t* costs = cost_[i];
    for (int32_t state = 0; state < kStateCount; ++state) {
        costs[state] = static_cast<int16_t>(row[state]);
    }
}

// The search of basic data (see UnlatchBasic): the same steps over the states that can be reached.
void Search::RunBasic() {
    int32_t row[kStateCount];
    for (int32_t& entry : row) entry = kUnreached;
    row[kAsciiState] = prefix_;
    const uint8_t* const data = data_;
    const int32_t length = length_;
    DigitRunWatch watch;
    int32_t lastNonDigit = -1;  // before i
    for (int32_t i = 0;; ++i) {
        i = Watch(i, row, watch, lastNonDigit);
        // Text and X12 stay unreached; said here as well as below so that the compiler stores
        // them as constants rather than keeping them in the row.
        for (const int32_t state : {kTextState, kTextState + 1, kTextState + 2, kX12State}) {
            row[state] = kUnreached;
        }
        UnlatchBasic(row);
        StoreCosts(i, row);
        if (i == length) break;

        const uint8_t c = data[i];
        lastNonDigit = IsDigit(c) ? lastNonDigit : i;
        int32_t next[kStateCount];
        next[kAsciiState] = std::min(ByDigitPair(cost_, data, i), row[kAsciiState] + 1);
        // One value a byte: the pending count goes round, a triplet completed from two pending.
        next[kC40State] = row[kC40State + 2] + 2;
        next[kC40State + 1] = row[kC40State];
        next[kC40State + 2] = row[kC40State + 1];
        for (const int32_t state : {kTextState, kTextState + 1, kTextState + 2, kX12State}) {
            next[state] = kUnreached;
        }
        next[kEdifactState + 1] = row[kEdifactState];
        next[kEdifactState + 2] = row[kEdifactState + 1];
        next[kEdifactState + 3] = row[kEdifactState + 2];
        next[kEdifactState] = row[kEdifactState + 3] + 3;
        for (int32_t k = 0; k < kStateCount; ++k) row[k] = next[k];
    }
    CollectEndings();
}

// The search keeps the state of one position in locals: no row is read back from memory, so the
// compiler can hold it in registers.
void Search::Run() {
    const uint8_t kinds = KindsOf(data_, length_);
    if ((kinds & kNotDigit) == 0) {
        // Digits alone: pairs from the front and a single last digit, half a codeword a digit,
        // which every other scheme exceeds, so no search is needed.
        AddEnding(Ending::kDigitPairs, length_, kAsciiState, prefix_ + (length_ + 1) / 2,
                  kUnreached);
        return;
    }
    if ((kinds & kNotC40Basic) == 0) return RunBasic();
    int32_t row[kStateCount];
    for (int32_t& entry : row) entry = kUnreached;
    row[kAsciiState] = prefix_;
    fieldsCanWin_ = (kinds & kAboveAscii) != 0;
    // In locals: the stores into the tables could otherwise change them for all the compiler knows.
    const uint8_t* const data = data_;
    const int32_t length = length_;
    const bool fieldsCanWin = fieldsCanWin_;
    DigitRunWatch watch;
    int32_t lastNonDigit = -1;  // before i
    for (int32_t i = 0;; ++i) {
        i = Watch(i, row, watch, lastNonDigit);
        if (i > 0 && fieldsCanWin) row[kAsciiState] = ArriveFromBase256(i, row[kAsciiState]);
        Unlatch(row);
        Latch(row);
        StoreCosts(i, row);
        asciiKey_[i] = static_cast<int16_t>(row[kAsciiState] - i);
        if (i == length) break;

        const uint8_t c = data[i];
        const uint8_t sets = kByteSets[c];
        lastNonDigit = IsDigit(c) ? lastNonDigit : i;
        int32_t next[kStateCount];
        next[kAsciiState] =
            std::min(ByDigitPair(cost_, data, i), row[kAsciiState] + AsciiByteLength(c));
        StepC40Text(row, next, kC40State, kC40Steps[c]);
        StepC40Text(row, next, kTextState, kTextSteps[c]);
        next[kX12State] = ByX12Triplet(cost_, data, i);
        // EDIFACT, likewise stored; a byte outside its set marks the entries unreached by setting
        // the unreached bit, which no real cost reaches (the latch brings them back below it).
        const int32_t outside = (sets & kInEdifact) != 0 ? 0 : kUnreached;
        next[kEdifactState + 1] = row[kEdifactState] | outside;
        next[kEdifactState + 2] = row[kEdifactState + 1] | outside;
        next[kEdifactState + 3] = row[kEdifactState + 2] | outside;
        next[kEdifactState] = (row[kEdifactState + 3] + 3) | outside;
        for (int32_t k = 0; k < kStateCount; ++k) row[k] = next[k];
    }
    CollectEndings();
}

// ASCII codewords of the data from `from` to the end, digit pairs taken greedily (which is
// optimal for a run of digits).
int32_t Search::AsciiTailLength(int32_t from) const {
    int32_t codewords = 0;
    for (int32_t i = from; i < length_; ++i) {
        if (i + 1 < length_ && IsDigit(data_[i]) && IsDigit(data_[i + 1])) ++i;
        codewords += AsciiByteLength(data_[i]);
    }
    return codewords;
}

void Search::AddEnding(Ending::Kind kind, int32_t position, int32_t state, int32_t low,
                       int32_t high) {
    if (low <= high && low < kUnreached && endingCount_ < kMaxEndings) {
        endings_[endingCount_++] = {kind, position, state, low, high};
    }
}

// The endings, in the order they are preferred where several fit: those that let EDIFACT end
// without a closing group first (a closing group in the last two codewords would be misread, and
// these always fit where such a group would), then the ones that fit one capacity only, then the
// open ends of the other states.
void Search::CollectEndings() {
    constexpr int32_t kOpenEnd = kUnreached;
    const int32_t n = length_;
    int32_t end[kStateCount];
    for (int32_t state = 0; state < kStateCount; ++state) end[state] = Cost(n, state);
    AddEnding(Ending::kOpen, n, kEdifactState, end[kEdifactState], kOpenEnd);
    for (int32_t i = n - 1; i >= 0 && i >= n - 4; --i) {
        const int32_t tail = AsciiTailLength(i);
        if (tail > 2) break;
        const int32_t cost = Cost(i, kEdifactState);
        AddEnding(Ending::kAsciiTail, i, kEdifactState, cost + tail, cost + 2);
    }
    for (int32_t pending = 1; pending < 4; ++pending) {
        AddEnding(Ending::kClosingGroup, n, kEdifactState + pending,
                  end[kEdifactState + pending] + 3, kOpenEnd);
    }
    for (int32_t i = n - 1; i >= 0 && i >= n - 2; --i) {
        if (AsciiTailLength(i) != 1) continue;
        for (int32_t state : {kC40State, kTextState, kX12State}) {
            const int32_t cost = Cost(i, state) + 1;
            AddEnding(Ending::kAsciiTail, i, state, cost, cost);
        }
        for (int32_t state : {kC40State + 2, kTextState + 2}) {
            const int32_t cost = Cost(i, state) + 3;
            AddEnding(Ending::kAsciiTail, i, state, cost, cost);
        }
    }
    if (longStart_ >= 0 && n > 0 && !(gs1_ && data_[n - 1] == kGroupSeparator)) {
        const int32_t cost = asciiKey_[longStart_] + n + 2;
        AddEnding(Ending::kBase256ToEnd, longStart_, kAsciiState, cost, cost);
    }
    for (int32_t state : {kC40State, kTextState, kX12State}) {
        AddEnding(Ending::kOpen, n, state, end[state], kOpenEnd);
    }
    for (int32_t state : {kC40State + 2, kTextState + 2}) {
        AddEnding(Ending::kPaddedTriplet, n, state, end[state] + 2, kOpenEnd);
    }
    AddEnding(Ending::kOpen, n, kAsciiState, end[kAsciiState], kOpenEnd);
}

int32_t Search::NeededCapacity() const {
    int32_t least = kUnreached;
    for (int32_t k = 0; k < endingCount_; ++k) least = std::min(least, endings_[k].low);
    return least;
}

// Of the endings that fit, the one that needs the least capacity; on a tie the one listed first.
const Ending* Search::EndingFor(int32_t capacity) const {
    const Ending* best = nullptr;
    for (int32_t k = 0; k < endingCount_; ++k) {
        const Ending& ending = endings_[k];
        if (ending.low > capacity || capacity > ending.high) continue;
        if (best == nullptr || ending.low < best->low) best = &ending;
    }
    return best;
}

// Which transition gave the least cost of a state (of those that give it, the first in the order
// of the kFrom values) and the position and state it came from.
Search::Arrival Search::WayBack(int32_t i, int32_t state) const {
    const int32_t cost = cost_[i][state];
    if (state == kAsciiState) {
        if (i == 0) return {cost == prefix_ ? kFromStart : kFromNowhere, i, state};
        const uint8_t c = data_[i - 1];
        if (cost_[i - 1][kAsciiState] + AsciiByteLength(c) == cost)
            return {kFromAsciiByte, i - 1, state};
        if (i >= 2 && IsDigit(c) && IsDigit(data_[i - 2]) &&
            cost_[i - 2][kAsciiState] + 1 == cost) {
            return {kFromDigitPair, i - 2, state};
        }
        if (fieldsCanWin_ && base256Start_[i] >= 0 && Base256Cost(base256Start_[i], i) == cost) {
            return {kFromBase256, base256Start_[i], state};
        }
        for (int32_t from = 1; from < kStateCount; ++from) {
            if (cost_[i][from] + kUnlatchCost[from] == cost) {
                return {static_cast<uint8_t>(kFromUnlatch + from), i, from};
            }
        }
        return {kFromNowhere, i, state};
    }
    const bool triplet = i >= 3 && (kByteSets[data_[i - 1]] & kByteSets[data_[i - 2]] &
                                    kByteSets[data_[i - 3]] & kInX12) != 0;
    if (triplet && cost_[i - 3][kX12State] + 2 == cost) return {kFromStep, i - 3, state};
    return ByLatch(i, state);
}

// The latch from ASCII at the same position, which enters a scheme with no values pending.
Search::Arrival Search::ByLatch(int32_t i, int32_t state) const {
    const bool latched = PendingValues(state) == 0 && cost_[i][kAsciiState] + 1 == cost_[i][state];
    return {latched ? kFromLatch : kFromNowhere, i, kAsciiState};
}

// The way back through a run of C40, Text or EDIFACT bytes, each step preferred to the latch as
// in WayBack: back to the first position of the run, where the latch reached it.
Search::Arrival Search::RunBack(int32_t i, int32_t state) const {
    const int32_t end = i;
    const int32_t base = SchemeBase(state);
    int32_t pending = PendingValues(state);
    int32_t cost = cost_[i][state];
    if (base == kEdifactState) {
        for (; i > 0 && (kByteSets[data_[i - 1]] & kInEdifact) != 0; --i) {
            const int32_t before = (pending + 3) & 3;
            const int32_t added = pending == 0 ? 3 : 0;
            if (cost_[i - 1][kEdifactState + before] + added != cost) break;
            cost -= added;
            pending = before;
        }
    } else {
        const std::array<TripletStep, 256>& steps = base == kC40State ? kC40Steps : kTextSteps;
        for (; i > 0; --i) {
            const TripletStep step = steps[data_[i - 1]];
            const int32_t rest = step.rest;
            const int32_t before = pending >= rest ? pending - rest : pending - rest + 3;
            const int32_t added = step.whole + (before + rest >= 3 ? 2 : 0);
            if (cost_[i - 1][base + before] + added != cost) break;
            cost -= added;
            pending = before;
        }
    }
    if (i == end) return ByLatch(i, state);
    return {kFromRun, i, base + pending};
}

// Follows the arrivals back from (position, state) to the start; leaves the path, in order from
// the start, at the end of the path arrays and returns the index of its first state, or -1 when
// the stored costs admit no way back to the start (an internal fault, never a stream).
int32_t Search::Backtrack(int32_t position, int32_t state) {
    int32_t first = kPathCapacity;
    while (first > 0) {
        --first;
        const Arrival arrival = state == kAsciiState || state == kX12State
                                    ? WayBack(position, state)
                                    : RunBack(position, state);
        if (arrival.how == kFromNowhere) return -1;
        pathPosition_[first] = static_cast<int16_t>(position);
        pathState_[first] = static_cast<uint8_t>(state);
        pathHow_[first] = arrival.how;
        if (arrival.how == kFromStart) return first;
        position = arrival.position;
        state = arrival.state;
    }
    return -1;
}

// Writes codewords and packs C40, Text and EDIFACT values as the path goes.
class Emitter {
  public:
    Emitter(const uint8_t* data, bool gs1, uint8_t* out, int32_t count)
        : data_(data),
          gs1_(gs1),
          out_(out),
          count_(count),
          c40Values_(gs1 ? &kC40Gs1Values : &kC40Values),
          textValues_(gs1 ? &kTextGs1Values : &kTextValues) {}

    int32_t Count() const { return count_; }
    // Past the codeword array nothing is stored; the count then fails the end check.
    void Put(uint8_t codeword) {
        if (count_ < kCodewordCapacity) out_[count_] = codeword;
        ++count_;
    }

    void AsciiByte(uint8_t c) {
        if (gs1_ && c == kGroupSeparator) {
            Put(kFnc1);
        } else {
            PutAsciiByte(*this, c);
        }
    }
    void DigitPair(int32_t at) { Put(AsciiDigitPair(data_[at], data_[at + 1])); }
    void AsciiRun(int32_t from, int32_t to) {
        for (int32_t i = from; i < to; ++i) {
            if (i + 1 < to && IsDigit(data_[i]) && IsDigit(data_[i + 1])) {
                DigitPair(i++);
            } else {
                AsciiByte(data_[i]);
            }
        }
    }
    void Base256Field(int32_t from, int32_t to, bool toEnd) {
        Put(kLatchBase256);
        const Base256Length length = Base256LengthField(to - from, toEnd);
        for (int32_t k = 0; k < length.size; ++k) PutRandomised(length.codewords[k]);
        for (int32_t i = from; i < to; ++i) PutRandomised(data_[i]);
    }
    void Latch(int32_t state) {
        pending_ = 0;
        edifact_ = {};
        Put(state == kEdifactState ? kLatchEdifact : LatchOf(StateScheme(state)));
    }
    // The bytes from..to-1 in the scheme of `state` (C40, Text or EDIFACT).
    void ValueRun(int32_t state, int32_t from, int32_t to) {
        if (IsEdifactState(state)) {
            for (int32_t i = from; i < to; ++i) edifact_.Add(EdifactValue(data_[i]), *this);
            return;
        }
        const ByteValueTable& table = state < kTextState ? *c40Values_ : *textValues_;
        for (int32_t i = from; i < to; ++i) {
            const ByteValues& entry = table[data_[i]];
            for (int32_t k = 0; k < entry.count; ++k) C40TextValue(entry.values[k]);
        }
    }
    void X12Triplet(int32_t at) {
        const auto value = [this](int32_t k) { return static_cast<uint32_t>(X12Value(data_[k])); };
        PutTriplet(*this, TripletWord(value(at), value(at + 1), value(at + 2)));
    }
    // Returns to ASCII from `state`; writes the unlatch only when `unlatch` is set.
    void Close(int32_t state, bool unlatch) {
        if (IsEdifactState(state)) {
            if (!unlatch) return;
            const int32_t codewords = EdifactClosingLength(edifact_.size);
            edifact_.Add(kEdifactUnlatchValue, *this);
            if (edifact_.size > 0) edifact_.Flush(*this, codewords);
            return;
        }
        if (pending_ == 2) C40TextValue(kShift1Value);
        if (unlatch) Put(kUnlatch);
    }

  private:
    static int32_t StateScheme(int32_t state) {
        switch (SchemeBase(state)) {
            case kC40State:
                return kSchemeC40;
            case kTextState:
                return kSchemeText;
            default:
                return kSchemeX12;
        }
    }
    void PutRandomised(uint8_t value) { Put(RandomiseBase256(value, count_ + 1)); }
    void C40TextValue(uint8_t value) {
        values_[pending_] = value;
        if (++pending_ == 3) {
            PutTriplet(*this, TripletWord(values_[0], values_[1], values_[2]));
            pending_ = 0;
        }
    }

    const uint8_t* data_;
    bool gs1_;
    uint8_t* out_;
    int32_t count_;
    const ByteValueTable* c40Values_;
    const ByteValueTable* textValues_;
    int32_t pending_ = 0;  // C40 and Text values of an unfinished triplet, in values_
    uint8_t values_[3] = {};
    EdifactGroup edifact_;
};

// Writes the path, then the ending. Every step of the way back was checked against the stored
// costs; the codewords actually written are checked against them too, so a fault in the search
// fails the encode (kInternalError) instead of writing a stream that does not carry the data.
int32_t Search::Emit(const Ending& ending, int32_t capacity, uint8_t* out) {
    // Data of digits alone has no path: its ending writes all of it.
    const bool digitsAlone = ending.kind == Ending::kDigitPairs;
    const int32_t first = digitsAlone ? kPathCapacity : Backtrack(ending.position, ending.state);
    if (first < 0) return kInternalError;
    Emitter emit(data_, gs1_, out, prefix_);
    for (int32_t k = first + 1; k < kPathCapacity; ++k) {
        const int32_t before = pathPosition_[k - 1];
        const int32_t previous = pathState_[k - 1];
        const int32_t state = pathState_[k];
        const uint8_t how = pathHow_[k];
        if (how == kFromRun) {
            emit.ValueRun(state, before, pathPosition_[k]);
        } else if (how == kFromStep) {
            emit.X12Triplet(before);
        } else if (how >= kFromUnlatch) {
            emit.Close(previous, true);
        } else if (how == kFromLatch) {
            emit.Latch(state);
        } else if (how == kFromAsciiByte) {
            emit.AsciiByte(data_[before]);
        } else if (how == kFromDigitPair) {
            emit.DigitPair(before);
        } else if (how == kFromBase256) {
            emit.Base256Field(before, pathPosition_[k], false);
        }
    }
    const int32_t pathCost = digitsAlone ? prefix_ : Cost(ending.position, ending.state);
    if (emit.Count() != pathCost) return kInternalError;
    // The ending writes what its least capacity counts, plus an unlatch where there is room for
    // one; a closing group of two codewords is counted as three (it may not end the symbol).
    int32_t expected = ending.low;
    switch (ending.kind) {
        case Ending::kOpen:
            if (ending.state != kAsciiState) {
                const bool unlatch =
                    capacity - emit.Count() >= (IsEdifactState(ending.state) ? 3 : 2);
                emit.Close(ending.state, unlatch);
                expected += unlatch ? 1 : 0;
            }
            break;
        case Ending::kPaddedTriplet: {
            const bool unlatch = capacity - emit.Count() >= 4;
            emit.Close(ending.state, unlatch);
            expected += unlatch ? 1 : 0;
            break;
        }
        case Ending::kClosingGroup:
            emit.Close(ending.state, true);
            expected += EdifactClosingLength(PendingValues(ending.state)) - 3;
            break;
        case Ending::kAsciiTail:
            emit.Close(ending.state, false);
            emit.AsciiRun(ending.position, length_);
            break;
        case Ending::kBase256ToEnd:
            emit.Base256Field(ending.position, length_, true);
            break;
        case Ending::kDigitPairs:
            emit.AsciiRun(0, length_);
            break;
    }
    if (emit.Count() != expected || emit.Count() > capacity) return kInternalError;
    if (emit.Count() < capacity) emit.Put(kFirstPad);
    return emit.Count();
}

}  // namespace

int32_t EncodeSmallest(Symbol& symbol) {
    if (symbol.sizeIndex != kAutomaticSize && !IsSizeIndex(symbol.sizeIndex)) {
        return kBadParameterError;
    }
    const int32_t length = std::clamp(symbol.dataLength, 0, kMaxDataLength);
    const int32_t prefix = std::max(symbol.codewordCount, 0);
    Search search(symbol.data, length, symbol.options.gs1 != 0, prefix);
    search.Run();
    const int32_t needed = search.NeededCapacity();

    int32_t sizeIndex = symbol.sizeIndex;
    if (sizeIndex == kAutomaticSize) {
        sizeIndex = ChooseAutomaticSize(needed, symbol.options.shape);
        if (sizeIndex == kNoSize) return kTooLongForAllSizesError;
    } else if (SizeAt(sizeIndex).totalDataCodewords < needed) {
        return kFixedSizeTooSmallError;
    }
    const int32_t capacity = SizeAt(sizeIndex).totalDataCodewords;
    const Ending* ending = search.EndingFor(capacity);
    // Every capacity from the needed one on fits some ending; none fitting is an internal fault.
    const int32_t count =
        ending != nullptr ? search.Emit(*ending, capacity, symbol.codewords) : kInternalError;
    if (count == kInternalError) {
        std::strcpy(symbol.message, kMessageSmallestEncodationFault);
        return kInternalError;
    }
    symbol.sizeIndex = sizeIndex;
    symbol.scheme = kSchemeAscii;
    return count;
}

int32_t SmallestNeededCapacity(const uint8_t* data, int32_t length, bool gs1, int32_t prefixCount) {
    Search search(data, std::clamp(length, 0, kMaxDataLength), gs1, prefixCount);
    search.Run();
    return search.NeededCapacity();
}

}  // namespace ecc200

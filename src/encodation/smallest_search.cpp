// The smallest encodation's forward search (see smallest_states.h for the states and moves). It
// keeps the states of one position in locals, so that the compiler can hold them in registers:
// its speed is bound by the chain of comparisons from one position to the next.
#include "encodation/smallest_search.h"

#include <algorithm>

#include "encodation/char_classes.h"

namespace ecc200::smallest {

// The kinds of byte that occur in the data (kNotDigit, kNotC40Basic, kAboveAscii), which decide
// how much of the search it needs; looked at a block at a time, until all kinds have occurred.
static uint8_t KindsOf(const uint8_t* data, int32_t length) {
    constexpr uint8_t kAllKinds = kNotDigit | kNotC40Basic | kAboveAscii;
    constexpr int32_t kBlock = 64;
    uint8_t kinds = 0;
    for (int32_t start = 0; start < length && (kinds & kAllKinds) != kAllKinds; start += kBlock) {
        const int32_t end = std::min(start + kBlock, length);
        for (int32_t i = start; i < end; ++i) kinds |= kByteSets[data[i]];
    }
    return static_cast<uint8_t>(kinds & kAllKinds);
}

static void Relax(int32_t& slot, int32_t candidate) {
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

// Records the best field ending at i (the short one on a tie) and returns ASCII's cost with it.
inline int32_t Search::ArriveFromBase256(int32_t i, int32_t ascii) {
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

// ASCII at a position from `state` there. The least of these is taken in pairs, not in one chain:
// the search's speed is bound by the chain of comparisons from one position to the next.
static inline int32_t Left(const int32_t* row, int32_t state) {
    return row[state] + LeaveLength(state);
}
static inline int32_t LeftC40Text(const int32_t* row, int32_t base) {
    return std::min(Left(row, base), Left(row, base + 2));
}
static inline int32_t LeftEdifact(const int32_t* row) {
    return std::min(std::min(Left(row, kEdifactState), Left(row, kEdifactState + 1)),
                    std::min(Left(row, kEdifactState + 2), Left(row, kEdifactState + 3)));
}

static inline void Unlatch(int32_t* row) {
    const int32_t c40Text = std::min(LeftC40Text(row, kC40State), LeftC40Text(row, kTextState));
    const int32_t x12Edifact = std::min(Left(row, kX12State), LeftEdifact(row));
    row[kAsciiState] = std::min(row[kAsciiState], std::min(c40Text, x12Edifact));
}

static inline void Latch(int32_t* row) {
    const int32_t latched = row[kAsciiState] + kLatchLength;
    Relax(row[kC40State], latched);
    Relax(row[kTextState], latched);
    Relax(row[kX12State], latched);
    Relax(row[kEdifactState], latched);
}

// The states of data that is all space, digits and upper-case letters. Each such byte is one C40
// value, so C40 carries any run that Text (two values for a letter) or X12 (the same values, with
// stricter ends) could at no more cost, and is preferred on every tie: the search leaves Text and
// X12 unreached. Every such byte is in EDIFACT and none is above 127 (no Base 256 field can win).
static inline void UnlatchBasic(int32_t* row) {
    const int32_t ascii =
        std::min(row[kAsciiState], std::min(LeftC40Text(row, kC40State), LeftEdifact(row)));
    row[kAsciiState] = ascii;
    Relax(row[kC40State], ascii + kLatchLength);
    Relax(row[kEdifactState], ascii + kLatchLength);
}

// One byte more in C40 or Text from each pending count: `values` more values, two codewords for
// every triplet they complete. The pending counts map one to one onto the next position's, and
// nothing else reaches C40 or Text there, so the entries are stored, not relaxed. Selected
// without branches: the value counts of mixed data change from byte to byte.
static inline void StepC40Text(const int32_t* current, int32_t* next, int32_t base,
                               TripletStep step) {
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
static int32_t ByDigitPair(const int16_t (*cost)[kStateCount], const uint8_t* data, int32_t i) {
    const bool pair = i >= 1 && IsDigit(data[i]) && IsDigit(data[i - 1]);
    return pair ? cost[i - 1][kAsciiState] + 1 : kUnreached;
}
static int32_t ByX12Triplet(const int16_t (*cost)[kStateCount], const uint8_t* data, int32_t i) {
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
static bool RepeatsRaised(int32_t now, int32_t then, int32_t raise) {
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

}  // namespace ecc200::smallest

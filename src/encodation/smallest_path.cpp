// The smallest encodation's way back: from the end of the path, which move gave each stored
// cost, checked against the costs at every step; a contradiction fails the way back instead of
// yielding a path that does not carry the data.
#include "encodation/smallest_search.h"

#include "encodation/char_classes.h"
#include "encodation/packing.h"

namespace ecc200::smallest {

// Which transition gave the least cost of a state (of those that give it, the first in the order
// of the kFrom values) and the position and state it came from.
inline Search::Arrival Search::WayBack(int32_t i, int32_t state) const {
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
            if (cost_[i][from] + LeaveLength(from) == cost) {
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
inline Search::Arrival Search::ByLatch(int32_t i, int32_t state) const {
    const int32_t enter = kStateRules[state].enter;
    const bool latched = enter < kUnreached && cost_[i][kAsciiState] + enter == cost_[i][state];
    return {latched ? kFromLatch : kFromNowhere, i, kAsciiState};
}

// The way back through a run of C40, Text or EDIFACT bytes, each step preferred to the latch as
// in WayBack: back to the first position of the run, where the latch reached it.
inline Search::Arrival Search::RunBack(int32_t i, int32_t state) const {
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

}  // namespace ecc200::smallest

// The smallest encodation's search: the least cost of every state at every position of the data,
// the ways the stream can end, and the needed capacity. The way back through the costs
// (smallest_path.cpp) and the writer (smallest_writer.cpp) are members too, so that all three
// share the stored costs.
#pragma once

#include <cstdint>

#include "core/symbol.h"
#include "encodation/smallest_states.h"

namespace ecc200::smallest {

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
    [[nodiscard, gnu::always_inline]] int32_t ArriveFromBase256(int32_t i, int32_t ascii);
    // The field cost of bytes start..i-1 after ASCII at start.
    int32_t Base256Cost(int32_t start, int32_t i) const {
        return asciiKey_[start] + i + (i - start < kLongBase256Field ? 2 : 3);
    }
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

}  // namespace ecc200::smallest

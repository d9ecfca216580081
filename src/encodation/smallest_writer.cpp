// The smallest encodation's writer: the codewords of the path and of its ending, packed as each
// scheme packs them (packing.h), and checked against the costs the search found.
#include "encodation/smallest_search.h"

#include "encodation/c40_text.h"
#include "encodation/char_classes.h"
#include "encodation/encoder_cursor.h"
#include "encodation/packing.h"
#include "encodation/x12.h"

namespace ecc200::smallest {

namespace {

// The values of every byte in one scheme's sets, looked up once for the writer.
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

}  // namespace

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

}  // namespace ecc200::smallest

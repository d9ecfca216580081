// A reader of data codeword streams for the tests: turns the codewords that the encoders write
// back into bytes the way a Data Matrix reader does, so that the tests can check that a stream
// carries exactly its data. Knows nothing of how the encoders chose their codewords.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace ecc200::testing {

class StreamReader {
  public:
    // `capacity` is the data capacity of the symbol that the stream fills: positions from the end
    // of `stream` up to it hold pad codewords.
    StreamReader(const std::vector<uint8_t>& stream, int32_t capacity)
        : stream_(stream), capacity_(capacity) {}

    // The bytes the stream carries, or nothing when a reader would reject it.
    std::optional<std::vector<uint8_t>> Read() {
        while (pos_ < capacity_) {
            if (!More()) return std::nullopt;  // real pads follow the first one only
            const uint8_t cw = stream_[static_cast<std::size_t>(pos_++)];
            if (cw == 129) return bytes_;                       // first pad: the data ends here
            if (cw == 254 && pos_ == capacity_) return bytes_;  // an unlatch that ends the symbol
            if (!ReadAsciiCodeword(cw)) return std::nullopt;
        }
        return bytes_;
    }

  private:
    bool More() const { return pos_ < static_cast<int32_t>(stream_.size()); }
    int32_t LeftInSymbol() const { return capacity_ - pos_; }
    uint8_t Next() { return stream_[static_cast<std::size_t>(pos_++)]; }

    void Emit(int32_t value) {
        bytes_.push_back(static_cast<uint8_t>(value + (upperShift_ ? 128 : 0)));
        upperShift_ = false;
    }

    bool ReadAsciiCodeword(uint8_t cw) {
        if (cw >= 1 && cw <= 128) {
            Emit(cw - 1);
        } else if (cw >= 130 && cw <= 229) {
            Emit('0' + (cw - 130) / 10);
            Emit('0' + (cw - 130) % 10);
        } else if (cw == 235) {
            upperShift_ = true;
        } else if (cw == 230 || cw == 239) {
            return ReadTriplets(cw == 230 ? kC40 : kText);
        } else if (cw == 238) {
            return ReadTriplets(kX12);
        } else if (cw == 240) {
            return ReadEdifact();
        } else if (cw == 231) {
            return ReadBase256();
        } else {
            return false;
        }
        return true;
    }

    enum Kind { kC40, kText, kX12 };

    // C40, Text or X12 until the unlatch, or until one codeword is left in the symbol, which is
    // then read in ASCII.
    bool ReadTriplets(Kind kind) {
        int32_t shift = 0;
        while (LeftInSymbol() >= 2) {
            if (!More()) return false;
            if (stream_[static_cast<std::size_t>(pos_)] == 254) {
                ++pos_;
                break;
            }
            if (pos_ + 1 >= static_cast<int32_t>(stream_.size())) return false;
            const int32_t w = Next() * 256;
            const int32_t v = w + Next() - 1;
            const int32_t values[3] = {v / 1600, (v / 40) % 40, v % 40};
            for (const int32_t value : values) {
                if (kind == kX12 ? !EmitX12(value) : !C40TextValue(kind, value, shift)) {
                    return false;
                }
            }
        }
        upperShift_ = false;  // a shift left open at the end of the segment applies to nothing
        return true;
    }

    bool EmitX12(int32_t value) {
        static constexpr char kSet[] = "\r*> 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        Emit(static_cast<uint8_t>(kSet[value]));
        return true;
    }

    bool C40TextValue(Kind kind, int32_t value, int32_t& shift) {
        const int32_t set = shift;
        shift = 0;
        switch (set) {
            case 0:
                if (value < 3) {
                    shift = value + 1;
                } else if (value == 3) {
                    Emit(' ');
                } else if (value < 14) {
                    Emit('0' + value - 4);
                } else {
                    Emit((kind == kC40 ? 'A' : 'a') + value - 14);
                }
                return true;
            case 1:
                Emit(value);
                return value < 32;
            case 2:
                if (value < 15) {
                    Emit(33 + value);
                } else if (value < 22) {
                    Emit(58 + value - 15);
                } else if (value < 27) {
                    Emit(91 + value - 22);
                } else if (value == 30) {
                    upperShift_ = true;
                } else {
                    return false;
                }
                return true;
            default:
                if (value == 0) {
                    Emit(96);
                } else if (value < 27) {
                    Emit((kind == kC40 ? 'a' : 'A') + value - 1);
                } else if (value < 32) {
                    Emit(123 + value - 27);
                } else {
                    return false;
                }
                return true;
        }
    }

    // Groups of three codewords until the unlatch value, or until at most two codewords are
    // left in the symbol, which are then read in ASCII.
    bool ReadEdifact() {
        while (LeftInSymbol() > 2) {
            if (pos_ + 3 > static_cast<int32_t>(stream_.size())) return false;
            const uint32_t bits = (uint32_t{Next()} << 16) | (uint32_t{Next()} << 8) | Next();
            for (int32_t k = 0; k < 4; ++k) {
                const uint32_t value = (bits >> (18 - 6 * k)) & 0x3Fu;
                if (value == 31) return true;
                Emit(static_cast<int32_t>(value < 32 ? value + 64 : value));
            }
        }
        return true;
    }

    uint8_t NextDerandomised() {
        const int32_t position = pos_ + 1;
        const int32_t stored = Next();
        return static_cast<uint8_t>((stored - ((149 * position) % 255 + 1) + 256) % 256);
    }

    bool ReadBase256() {
        if (!More()) return false;
        int32_t length = NextDerandomised();
        if (length == 0) {
            length = LeftInSymbol();
        } else if (length >= 250) {
            if (!More()) return false;
            length = 250 * (length - 249) + NextDerandomised();
        }
        if (pos_ + length > static_cast<int32_t>(stream_.size())) return false;
        for (int32_t k = 0; k < length; ++k) Emit(NextDerandomised());
        return true;
    }

    const std::vector<uint8_t>& stream_;
    int32_t capacity_;
    int32_t pos_ = 0;
    bool upperShift_ = false;
    std::vector<uint8_t> bytes_;
};

}  // namespace ecc200::testing

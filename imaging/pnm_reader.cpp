// Netpbm files: PBM (P1 text, P4 packed bits, 1 black), PGM (P2 text, P5 binary, 8 or 16 bits)
// and PPM (P3, P6) converted to grey.
#include "format_readers.h"

namespace ecc200_imaging {

namespace {

class Scanner {
  public:
    Scanner(const uint8_t* bytes, std::size_t length) : bytes_(bytes), length_(length) {}

    // The next decimal number after white space and comments; -1 when there is none. PBM text
    // may run its bits together, so a single digit can be asked for.
    int64_t Number(bool singleDigit = false) {
        SkipSpace();
        int64_t value = -1;
        while (at_ < length_ && bytes_[at_] >= '0' && bytes_[at_] <= '9') {
            value = (value < 0 ? 0 : value * 10) + (bytes_[at_++] - '0');
            if (value > (int64_t{1} << 40) || singleDigit) break;
        }
        return value;
    }
    std::size_t position() const { return at_; }
    void Skip(std::size_t count) { at_ += count; }

  private:
    void SkipSpace() {
        while (at_ < length_) {
            if (bytes_[at_] == '#') {
                while (at_ < length_ && bytes_[at_] != '\n') ++at_;
            } else if (bytes_[at_] == ' ' || (bytes_[at_] >= '\t' && bytes_[at_] <= '\r')) {
                ++at_;
            } else {
                return;
            }
        }
    }
    const uint8_t* bytes_;
    std::size_t length_;
    std::size_t at_ = 2;
};

}  // namespace

LoadedImage LoadPnm(const uint8_t* bytes, std::size_t length) {
    const int kind = bytes[1] - '0';
    const bool bitmap = kind == 1 || kind == 4, colour = kind == 3 || kind == 6;
    const bool text = kind <= 3;
    Scanner scan(bytes, length);
    const int64_t width = scan.Number(), height = scan.Number();
    const int64_t maxValue = bitmap ? 1 : scan.Number();
    if (width < 0 || height < 0 || maxValue < 1 || maxValue > 65535) {
        return {{}, "damaged Netpbm file: bad header"};
    }
    std::string error = CheckImageSize(width, height);
    if (!error.empty()) return {{}, error};
    const auto w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    const std::size_t channels = colour ? 3 : 1, sampleBytes = maxValue > 255 ? 2 : 1;
    if (!text) {
        scan.Skip(1);  // the single white space after the header
        const std::size_t needed = kind == 4 ? (w + 7) / 8 * h : w * h * channels * sampleBytes;
        if (scan.position() > length || needed > length - scan.position()) {
            return {{}, "damaged Netpbm file: the pixels are cut short"};
        }
    }
    LoadedImage loaded{BlankImage(static_cast<int32_t>(width), static_cast<int32_t>(height)), {}};
    const uint8_t* data = bytes + scan.position();
    std::size_t next = 0;
    auto sample = [&]() -> int64_t {
        if (text) return scan.Number(bitmap);
        int64_t value = data[next++];
        if (sampleBytes == 2) value = value * 256 + data[next++];
        return value;
    };
    for (std::size_t y = 0; y < h; ++y) {
        for (std::size_t x = 0; x < w; ++x) {
            uint8_t& out = loaded.image.pixels[y * w + x];
            if (kind == 4) {
                out = ((data[y * ((w + 7) / 8) + x / 8] >> (7 - x % 8)) & 1) ? 0 : 255;
                continue;
            }
            int64_t value[3] = {0, 0, 0};
            for (std::size_t c = 0; c < channels; ++c) {
                value[c] = sample();
                if (value[c] < 0 || value[c] > maxValue) {
                    return {{}, "damaged Netpbm file: the pixels are cut short or out of range"};
                }
            }
            if (bitmap) {
                out = value[0] != 0 ? 0 : 255;
            } else if (colour) {
                out = GreyOf(static_cast<uint32_t>(value[0] * 255 / maxValue),
                             static_cast<uint32_t>(value[1] * 255 / maxValue),
                             static_cast<uint32_t>(value[2] * 255 / maxValue));
            } else {
                out = static_cast<uint8_t>(value[0] * 255 / maxValue);
            }
        }
    }
    return loaded;
}

}  // namespace ecc200_imaging

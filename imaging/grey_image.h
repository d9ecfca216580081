// An image as the readers see it: 8-bit grey, top row first, with the size limits every loader
// enforces before it allocates anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ecc200_imaging {

// Hostile files may claim any size: no loader allocates for more than this many pixels, nor for a
// side longer than kMaxSide (32 megapixels: a 12-megapixel photograph fits with room to spare).
inline constexpr int64_t kMaxPixels = int64_t{1} << 25;
inline constexpr int32_t kMaxSide = 1 << 15;

struct GreyImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;  // width * height, 0 black .. 255 white

    uint8_t at(int32_t x, int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Either an image or one line saying why there is none.
struct LoadedImage {
    GreyImage image;
    std::string error;  // empty when loaded
    bool ok() const { return error.empty(); }
};

// The message for a size beyond the limits, or empty when width x height may be allocated.
std::string CheckImageSize(int64_t width, int64_t height);

// An image of the given size, all white; the size must have passed CheckImageSize.
GreyImage BlankImage(int32_t width, int32_t height);

// Grey level of a colour (ITU-R BT.601 weights), rounded.
inline uint8_t GreyOf(uint32_t red, uint32_t green, uint32_t blue) {
    return static_cast<uint8_t>((red * 299 + green * 587 + blue * 114 + 500) / 1000);
}

}  // namespace ecc200_imaging

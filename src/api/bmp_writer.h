// Drawing a finished symbol as an 8-bit greyscale picture and storing it as a BMP file.
#pragma once

#include <cstdint>

#include "core/symbol.h"

namespace ecc200 {

inline constexpr int32_t kBmpHeaderBytes = 14 + 40;
inline constexpr int32_t kBmpPaletteBytes = 256 * 4;
inline constexpr int32_t kBmpPixelOffset = kBmpHeaderBytes + kBmpPaletteBytes;  // 1078

// Pixel dimensions of a symbol of rows x cols modules drawn with moduleSize pixels per module
// inside a white margin on all four sides.
struct BitmapGeometry {
    int32_t margin;
    int32_t width;
    int32_t height;
    int32_t stride;    // bytes per stored row: width rounded up to a multiple of 4
    int32_t fileSize;  // 1078 + stride * height
};

// Fills geometry for a margin of quietZone pixels (none when it is not positive). False when
// moduleSize < 1 or when width, height, stride * height or the file size would not fit in a
// signed 32-bit number.
[[nodiscard]] bool ComputeBitmapGeometry(int32_t rows, int32_t cols, int32_t moduleSize,
                                         int32_t quietZone, BitmapGeometry& geometry);

// Draws the symbol's rows x cols modules (1 black, 0 white) and writes the picture to fileName.
// Returns 0; 8 for a null fileName or a picture too large; 18 when memory for the pixel rows
// cannot be had or the file cannot be written completely.
[[nodiscard]] int32_t RenderBitmap(const Symbol& symbol, int32_t moduleSize, int32_t quietZone,
                                   const char* fileName);

// Writes a BMP file of height rows of width 8-bit pixels (pixelRows[0] is the top row) with a
// grey-ramp palette, replacing an existing file only once it is complete (WriteFileReplacing).
// Returns 0, or nonzero when the file cannot be created or any write or the close fails.
[[nodiscard]] int32_t WriteBmpFile(const char* path, const uint8_t* const* pixelRows,
                                   int32_t height, int32_t width);

}  // namespace ecc200

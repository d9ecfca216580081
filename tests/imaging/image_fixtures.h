// Test pictures of symbols: the library's module matrix drawn at any scale, turned, mirrored,
// inverted, blurred and noised, and written as the file formats the reader takes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ecc200.h"
#include "grey_image.h"

namespace ecc200_imaging::testing {

struct Matrix {
    int32_t rows = 0, cols = 0;
    std::vector<uint8_t> modules;  // top row first, 1 dark
};

// The library's symbol for data at a size (ECC200_SIZE_*, or automatic).
Matrix Encode(const std::string& data, int32_t size = ECC200_SIZE_AUTO);

struct Look {
    double scale = 4;       // pixels a module, any value from 1
    int quarterTurns = 0;   // clockwise
    bool mirrored = false;  // left and right swapped before turning
    bool inverted = false;  // light modules on a dark ground
    int noise = 0;          // uniform noise of +-noise grey levels, seeded
    bool blurred = false;   // a 3 x 3 box blur
    double quiet = 2;       // modules of quiet zone
};

GreyImage Draw(const Matrix& matrix, const Look& look);

// A simulated photograph: the symbol at scale pixels a module in a quiet zone of 3 modules,
// turned by angle degrees (any), seen at a slant (a perspective that shrinks the top and widens
// the bottom by about slant, a share of the size), anti-aliased by 4 x 4 samples a pixel.
GreyImage DrawPhotograph(const Matrix& matrix, double scale, double angle, double slant);

// File bytes. BMP of 1, 4, 8, 24 or 32 bits, rows bottom-up unless topDown.
std::string PngBytes(const GreyImage& image);
std::string JpegBytes(const GreyImage& image, int quality);
std::string BmpBytes(const GreyImage& image, int bits, bool topDown);
std::string PnmBytes(const GreyImage& image, char kind);  // '1', '2', '4', '5' or '6'

// The file bytes a format name gives: "png", "jpeg" and a quality ("jpeg50"), "bmp" and the bits
// ("bmp24", a trailing "t" for rows top-down), "pnm" and its kind ("pnm5"); "" for the picture
// itself (no file).
std::string FileBytes(const GreyImage& image, const std::string& format);

}  // namespace ecc200_imaging::testing

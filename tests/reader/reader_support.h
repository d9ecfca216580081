// Helpers for end-to-end tests that read our symbols back with an independent reader (zxing-cpp):
// encode through the public exports, turn a module buffer or a BMP file into a greyscale
// picture, and decode it.
#pragma once

#include <ZXing/ReadBarcode.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "ecc200.h"
#include "geometry/size_table.h"

namespace ecc200::testing {

// An 8-bit greyscale picture, top row first, one byte per pixel (0 black, 255 white).
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

// Rows and columns of the symbol that an output call just produced.
struct SymbolExtent {
    int rows = 0;
    int cols = 0;
};

inline SymbolExtent ExtentOf(SymbolHandle handle) {
    const int32_t size = GetDimension_ECC200(handle);
    if (!IsSizeIndex(size)) return {};
    return {SizeAt(size).symbolRows, SizeAt(size).symbolCols};
}

// Draws a module buffer (rows x cols bytes, top row first, 1 dark) with a white quiet zone of
// quietModules modules and scale pixels per module.
inline GreyPicture RenderModules(const std::vector<uint8_t>& modules, SymbolExtent extent,
                                 int scale = 3, int quietModules = 4) {
    GreyPicture picture;
    picture.width = (extent.cols + 2 * quietModules) * scale;
    picture.height = (extent.rows + 2 * quietModules) * scale;
    picture.pixels.assign(static_cast<std::size_t>(picture.width * picture.height), 255);
    for (int r = 0; r < extent.rows; ++r) {
        for (int c = 0; c < extent.cols; ++c) {
            if (modules[static_cast<std::size_t>(r * extent.cols + c)] == 0) continue;
            for (int y = 0; y < scale; ++y) {
                const int py = (r + quietModules) * scale + y;
                const int px = (c + quietModules) * scale;
                std::fill_n(picture.pixels.begin() + py * picture.width + px, scale, uint8_t{0});
            }
        }
    }
    return picture;
}

// Decodes a picture as a Data Matrix symbol; nullopt when the reader finds none.
inline std::optional<std::vector<uint8_t>> DecodePicture(const GreyPicture& picture) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    const ZXing::ImageView view(picture.pixels.data(), picture.width, picture.height,
                                ZXing::ImageFormat::Lum);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid()) return std::nullopt;
    return std::vector<uint8_t>(result.bytes().begin(), result.bytes().end());
}

// The module buffer of the symbol's current data through WriteEncodedSymbolToBuf_ECC200; the
// status of the call in status.
inline std::vector<uint8_t> EncodeToModules(SymbolHandle handle, int32_t& status) {
    std::vector<uint8_t> modules(ECC200_MAX_MODULES, 0xEE);
    status = WriteEncodedSymbolToBuf_ECC200(handle, modules.data(),
                                            static_cast<int32_t>(modules.size()));
    const SymbolExtent extent = ExtentOf(handle);
    modules.resize(static_cast<std::size_t>(extent.rows * extent.cols));
    return modules;
}

inline uint32_t LittleEndian32(const std::vector<uint8_t>& bytes, std::size_t at) {
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
           static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

inline uint16_t LittleEndian16(const std::vector<uint8_t>& bytes, std::size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

inline std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Parses an uncompressed 8-bit bottom-up BMP file into a top-down picture of palette grey
// levels; nullopt when the file is not such a BMP or is cut short.
inline std::optional<GreyPicture> ParseGreyBmp(const std::vector<uint8_t>& file) {
    if (file.size() < 1078 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    const uint32_t offset = LittleEndian32(file, 10);
    const auto width = static_cast<int32_t>(LittleEndian32(file, 18));
    const auto height = static_cast<int32_t>(LittleEndian32(file, 22));
    if (LittleEndian16(file, 28) != 8 || LittleEndian32(file, 30) != 0) return std::nullopt;
    if (width <= 0 || height <= 0 || offset < 54 + 1024) return std::nullopt;
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
    if (file.size() < offset + stride * static_cast<std::size_t>(height)) return std::nullopt;
    GreyPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        const std::size_t stored = offset + stride * static_cast<std::size_t>(height - 1 - y);
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t index = file[stored + static_cast<std::size_t>(x)];
            // The palette entry's blue byte stands for the grey level.
            picture.pixels[static_cast<std::size_t>(y * width + x)] = file[54 + 4u * index];
        }
    }
    return picture;
}

}  // namespace ecc200::testing

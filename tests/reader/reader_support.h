// Helpers for end-to-end tests that read our symbols back with an independent reader (zxing-cpp):
// encode through the public exports, turn a module buffer into a greyscale picture, and decode it.
#pragma once

#include <ZXing/ReadBarcode.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "ecc200.h"
#include "geometry/size_table.h"

namespace ecc200::testing {

// An 8-bit greyscale picture, top row first, one byte per pixel (0 black, 255 white).
struct GreyPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
};

// Rows and columns of the symbol that an output call just produced.
struct SymbolExtent {
    int rows = 0, cols = 0;
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
    const int margin = quietModules * scale;
    GreyPicture picture{extent.cols * scale + 2 * margin, extent.rows * scale + 2 * margin, {}};
    picture.pixels.assign(static_cast<std::size_t>(picture.width * picture.height), 255);
    for (int y = 0; y < extent.rows * scale; ++y) {
        for (int x = 0; x < extent.cols * scale; ++x) {
            const uint8_t dark =
                modules[static_cast<std::size_t>(y / scale * extent.cols + x / scale)];
            picture.pixels[static_cast<std::size_t>((y + margin) * picture.width + x + margin)] =
                dark ? 0 : 255;
        }
    }
    return picture;
}

// Decodes a picture as a Data Matrix symbol; the reader's whole result.
inline ZXing::Result DecodeResult(const GreyPicture& picture) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    const ZXing::ImageView view(picture.pixels.data(), picture.width, picture.height,
                                ZXing::ImageFormat::Lum);
    return ZXing::ReadBarcode(view, hints);
}

// Decodes a picture as a Data Matrix symbol; nullopt when the reader finds none.
inline std::optional<std::vector<uint8_t>> DecodePicture(const GreyPicture& picture) {
    const ZXing::Result result = DecodeResult(picture);
    if (!result.isValid()) return std::nullopt;
    return std::vector<uint8_t>(result.bytes().begin(), result.bytes().end());
}

}  // namespace ecc200::testing

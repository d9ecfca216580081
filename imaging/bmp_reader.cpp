// BMP: 1, 4, 8 bits through a palette, 16, 24 and 32 bits direct (uncompressed or bit fields),
// bottom-up or top-down rows; every offset checked against the file before it is read.
#include <cstdlib>

#include "format_readers.h"

namespace ecc200_imaging {

namespace {

uint32_t Little(const uint8_t* bytes, std::size_t at, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

struct Header {
    int64_t width = 0;
    int64_t height = 0;  // negative: top row first
    uint32_t bitsPerPixel = 0;
    uint32_t compression = 0;
    uint32_t paletteColours = 0;
    std::size_t paletteAt = 0;
    std::size_t paletteEntryBytes = 4;
    std::size_t pixelsAt = 0;
    uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
};

constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;

// The value of a masked channel scaled to 0..255.
uint32_t Channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    const uint32_t max = mask >> shift;
    return ((pixel & mask) >> shift) * 255 / max;
}

std::string ReadHeader(const uint8_t* bytes, std::size_t length, Header& h) {
    if (length < 26) return "damaged BMP file: the header is cut short";
    h.pixelsAt = Little(bytes, 10, 4);
    const uint32_t infoSize = Little(bytes, 14, 4);
    if (infoSize != 12 && infoSize < 40) return "damaged BMP file: unknown header";
    if (14 + static_cast<std::size_t>(infoSize) > length) {
        return "damaged BMP file: the header is cut short";
    }
    if (infoSize == 12) {
        h.width = Little(bytes, 18, 2);
        h.height = static_cast<int16_t>(Little(bytes, 20, 2));
        h.bitsPerPixel = Little(bytes, 24, 2);
        h.paletteEntryBytes = 3;
    } else {
        h.width = static_cast<int32_t>(Little(bytes, 18, 4));
        h.height = static_cast<int32_t>(Little(bytes, 22, 4));
        h.bitsPerPixel = Little(bytes, 28, 2);
        h.compression = Little(bytes, 30, 4);
        h.paletteColours = Little(bytes, 46, 4);
    }
    h.paletteAt = 14 + infoSize;
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
        // The masks sit in the larger headers, or just after the 40-byte one.
        const std::size_t masksAt = infoSize >= 52 ? 54 : h.paletteAt;
        if (masksAt + 12 > length) return "damaged BMP file: the colour masks are cut short";
        for (std::size_t i = 0; i < 3; ++i) h.masks[i] = Little(bytes, masksAt + 4 * i, 4);
        if (infoSize == 40) h.paletteAt += h.compression == kAlphaBitFields ? 16 : 12;
    } else if (h.compression != kRgb) {
        return "BMP files with run-length compression are not read";
    }
    if (h.bitsPerPixel == 16 && h.compression == kRgb) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    }
    switch (h.bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            return "damaged BMP file: " + std::to_string(h.bitsPerPixel) + " bits a pixel";
    }
    if (h.bitsPerPixel <= 8 &&
        (h.paletteColours == 0 || h.paletteColours > (1u << h.bitsPerPixel))) {
        h.paletteColours = 1u << h.bitsPerPixel;
    }
    return CheckImageSize(h.width, h.height < 0 ? -h.height : h.height);
}

}  // namespace

LoadedImage LoadBmp(const uint8_t* bytes, std::size_t length) {
    Header h;
    std::string error = ReadHeader(bytes, length, h);
    if (!error.empty()) return {{}, error};
    const bool topDown = h.height < 0;
    const int32_t width = static_cast<int32_t>(h.width);
    const int32_t height = static_cast<int32_t>(topDown ? -h.height : h.height);
    const std::size_t stride = (static_cast<std::size_t>(width) * h.bitsPerPixel + 31) / 32 * 4;
    if (h.pixelsAt > length || stride * static_cast<std::size_t>(height) > length - h.pixelsAt) {
        return {{}, "damaged BMP file: the pixels are cut short"};
    }
    uint8_t palette[256] = {};
    if (h.bitsPerPixel <= 8) {
        if (h.paletteAt + h.paletteColours * h.paletteEntryBytes > length) {
            return {{}, "damaged BMP file: the palette is cut short"};
        }
        for (std::size_t i = 0; i < h.paletteColours; ++i) {
            const uint8_t* entry = bytes + h.paletteAt + i * h.paletteEntryBytes;
            palette[i] = GreyOf(entry[2], entry[1], entry[0]);
        }
    }
    LoadedImage loaded{BlankImage(width, height), {}};
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row =
            bytes + h.pixelsAt + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y);
        uint8_t* out = loaded.image.pixels.data() +
                       static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int32_t x = 0; x < width; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            switch (h.bitsPerPixel) {
                case 1:
                    out[x] = palette[(row[ux / 8] >> (7 - ux % 8)) & 1];
                    break;
                case 4:
                    out[x] = palette[(row[ux / 2] >> (ux % 2 == 0 ? 4 : 0)) & 15];
                    break;
                case 8:
                    out[x] = palette[row[ux]];
                    break;
                case 24:
                    out[x] = GreyOf(row[3 * ux + 2], row[3 * ux + 1], row[3 * ux]);
                    break;
                default: {
                    const int bytesPerPixel = static_cast<int>(h.bitsPerPixel / 8);
                    const uint32_t pixel =
                        Little(row, ux * static_cast<std::size_t>(bytesPerPixel), bytesPerPixel);
                    out[x] = GreyOf(Channel(pixel, h.masks[0]), Channel(pixel, h.masks[1]),
                                    Channel(pixel, h.masks[2]));
                }
            }
        }
    }
    return loaded;
}

}  // namespace ecc200_imaging

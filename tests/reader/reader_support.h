// Helpers for end-to-end tests that read our symbols back with an independent reader (zxing-cpp):
// a module buffer drawn as a greyscale picture and decoded, an encode with the options read back,
// seeded data and its prefixes.
#pragma once

#include <ZXing/ReadBarcode.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "ecc200.h"
#include "geometry/size_table.h"
#include "support/test_support.h"

namespace ecc200::testing {

// Draws a module matrix (rows x cols bytes, top row first, 1 dark) at 3 pixels a module inside a
// white quiet zone of 4 modules, and decodes the picture as a Data Matrix symbol.
inline ZXing::Result ReadModules(const std::vector<uint8_t>& modules, int rows, int cols) {
    constexpr int kScale = 3, kMargin = 4 * kScale;
    const int width = cols * kScale + 2 * kMargin, height = rows * kScale + 2 * kMargin;
    std::vector<uint8_t> pixels(static_cast<std::size_t>(width * height), 255);
    for (int y = 0; y < rows * kScale; ++y) {
        for (int x = 0; x < cols * kScale; ++x) {
            if (modules[static_cast<std::size_t>(y / kScale * cols + x / kScale)] != 0)
                pixels[static_cast<std::size_t>((y + kMargin) * width + x + kMargin)] = 0;
        }
    }
    return ZXing::ReadBarcode(
        {pixels.data(), width, height, ZXing::ImageFormat::Lum},
        ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::DataMatrix).setTryRotate(false));
}

// The module buffer of the symbol's last encode, read as above.
inline ZXing::Result ReadModules(const std::vector<uint8_t>& modules, SymbolHandle handle) {
    const int32_t size = GetDimension_ECC200(handle);
    if (!IsSizeIndex(size)) return {};
    return ReadModules(modules, SizeAt(size).symbolRows, SizeAt(size).symbolCols);
}

inline std::vector<uint8_t> BytesOf(const ZXing::Result& read) {
    return {read.bytes().begin(), read.bytes().end()};
}

// The settings of one encode through the exports; the encodation defaults to the smallest.
struct Settings {
    int32_t scheme = ECC200_SCHEME_AUTO;
    int32_t size = ECC200_SIZE_AUTO;
    int32_t encodation = ECC200_ENCODATION_SMALLEST;
    int32_t gs1 = 0;
    int32_t eci = 0;
    int32_t shape = ECC200_SHAPE_SQUARE;
};

// One encode: its status, the size it leaves, the module buffer, and what the reader makes of the
// modules (nothing when the encode failed or was not to be read).
struct Encoded {
    int32_t status = -1;
    int32_t size = -1;
    std::vector<uint8_t> modules;
    ZXing::Result read;
};

inline Encoded EncodeAndRead(SymbolHandle h, bool read = true) {
    Encoded result;
    result.modules = EncodeToModules(h, result.status);
    result.size = GetDimension_ECC200(h);
    if (read && result.status == 0) result.read = ReadModules(result.modules, h);
    return result;
}

inline Encoded EncodeAndRead(const Settings& s, const std::vector<uint8_t>& data,
                             bool read = true) {
    const SymbolPtr handle =
        SymbolWith(s.scheme, s.size, {reinterpret_cast<const char*>(data.data()), data.size()});
    SymbolHandle h = handle.get();
    EXPECT_EQ(SetOption_ECC200(h, ECC200_OPTION_ENCODATION, s.encodation) +
                  SetOption_ECC200(h, ECC200_OPTION_GS1, s.gs1) +
                  SetOption_ECC200(h, ECC200_OPTION_ECI, s.eci) +
                  SetOption_ECC200(h, ECC200_OPTION_SHAPE, s.shape),
              0);
    return EncodeAndRead(h, read);
}

// Bytes that a scheme carries, weighted towards what the scheme is meant for; some arbitrary
// bytes where the scheme can shift to them. Scheme 0 mixes every class byte by byte; 7 and 8
// (beyond the schemes) are plain upper-case text and digits.
inline std::vector<uint8_t> RandomData(int32_t scheme, std::size_t length, std::mt19937& random) {
    const std::string upper = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string lower = " 0123456789abcdefghijklmnopqrstuvwxyz";
    const std::string edifact = ";<=>?@[\\]^!\"#$%&'()*+,-./:" + upper;
    const std::string alphabets[] = {upper + lower, upper, upper,          upper,       edifact,
                                     lower,         upper, upper + "\r*>", "0123456789"};
    const uint32_t arbitraryPercent[] = {20, 100, 20, 100, 0, 20, 0, 0, 0};
    const std::string& alphabet = alphabets[scheme];
    std::vector<uint8_t> data(length);
    for (uint8_t& b : data) {
        const auto pick = static_cast<uint32_t>(random());
        b = pick % 100 < arbitraryPercent[scheme] && &b != data.data()  // so one byte fits
                ? static_cast<uint8_t>(pick >> 8)
                : static_cast<uint8_t>(alphabet[(pick >> 8) % alphabet.size()]);
    }
    return data;
}

inline std::vector<uint8_t> Prefix(const std::vector<uint8_t>& pool, std::size_t length) {
    return {pool.begin(), pool.begin() + static_cast<std::ptrdiff_t>(length)};
}

}  // namespace ecc200::testing

namespace ecc200 {
using Bytes = std::vector<uint8_t>;
using testing::BytesOf;
using testing::EncodeAndRead;
using testing::Settings;
}  // namespace ecc200

// Test pictures of symbols and the file writers behind them (libpng, libjpeg, BMP and Netpbm by
// hand so every bit depth and row order can be made).
#include "image_fixtures.h"

#include "geometry/size_table.h"

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace ecc200_imaging::testing {

Matrix Encode(const std::string& data, int32_t size) {
    Matrix m;
    SymbolHandle symbol = CreateSymbol_ECC200();
    SetDimension_ECC200(symbol, size);
    SetDataToEncoding_ECC200(symbol, reinterpret_cast<const uint8_t*>(data.data()),
                             static_cast<int32_t>(data.size()));
    m.modules.assign(ECC200_MAX_MODULES, 0);
    if (WriteEncodedSymbolToBuf_ECC200(symbol, m.modules.data(), ECC200_MAX_MODULES) == ECC200_OK) {
        const int32_t index = GetDimension_ECC200(symbol);
        m.rows = ecc200::SizeAt(index).symbolRows;
        m.cols = ecc200::SizeAt(index).symbolCols;
        m.modules.resize(static_cast<std::size_t>(m.rows * m.cols));
    }
    DeleteSymbol_ECC200(symbol);
    return m;
}

namespace {

// Whether the module under a point of the unturned symbol (in modules, quiet zone excluded) is
// dark; outside the symbol everything is light.
bool DarkAt(const Matrix& m, double col, double row) {
    if (col < 0 || row < 0 || col >= m.cols || row >= m.rows) return false;
    return m.modules[static_cast<std::size_t>(static_cast<int>(row) * m.cols +
                                              static_cast<int>(col))] != 0;
}

}  // namespace

GreyImage Draw(const Matrix& m, const Look& look) {
    const bool sideways = look.quarterTurns % 2 == 1;
    const double symbolWidth = (sideways ? m.rows : m.cols),
                 symbolHeight = (sideways ? m.cols : m.rows);
    const auto width =
        static_cast<int32_t>(std::lround((symbolWidth + 2 * look.quiet) * look.scale));
    const auto height =
        static_cast<int32_t>(std::lround((symbolHeight + 2 * look.quiet) * look.scale));
    GreyImage image = BlankImage(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            // The pixel centre in turned-symbol modules, then back to the symbol's own.
            double u = (x + 0.5) / look.scale - look.quiet, v = (y + 0.5) / look.scale - look.quiet;
            const double cols[] = {u, v, m.cols - u, m.cols - v},
                         rows[] = {v, m.rows - u, m.rows - v, u};
            double col = cols[look.quarterTurns % 4];
            const double row = rows[look.quarterTurns % 4];
            if (look.mirrored) col = m.cols - col;
            const bool dark = DarkAt(m, col, row) != look.inverted;
            image.pixels[static_cast<std::size_t>(y * width + x)] = dark ? 30 : 225;
        }
    }
    if (look.blurred) {
        const GreyImage sharp = image;
        for (int32_t y = 1; y + 1 < height; ++y) {
            for (int32_t x = 1; x + 1 < width; ++x) {
                int sum = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) sum += sharp.at(x + dx, y + dy);
                image.pixels[static_cast<std::size_t>(y * width + x)] =
                    static_cast<uint8_t>(sum / 9);
            }
        }
    }
    if (look.noise > 0) {
        std::mt19937 random(12345);
        std::uniform_int_distribution<int> delta(-look.noise, look.noise);
        for (uint8_t& p : image.pixels)
            p = static_cast<uint8_t>(std::clamp(p + delta(random), 0, 255));
    }
    return image;
}

GreyImage DrawPhotograph(const Matrix& m, double scale, double angle, double slant) {
    const double side = (std::max(m.rows, m.cols) + 6) * scale * 1.5;
    const auto size = static_cast<int32_t>(side);
    GreyImage image = BlankImage(size, size);
    const double radians = angle * 3.14159265358979 / 180, c = std::cos(radians),
                 s = std::sin(radians);
    for (int32_t y = 0; y < size; ++y) {
        for (int32_t x = 0; x < size; ++x) {
            int dark = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    double px = x + (sx + 0.5) / 4 - side / 2, py = y + (sy + 0.5) / 4 - side / 2;
                    // Undo the perspective (a homography that draws the top farther away), then
                    // the turn.
                    const double w = 1.0 - slant * 2 * py / side;
                    px /= w;
                    py /= w;
                    const double u = (c * px + s * py) / scale + m.cols / 2.0;
                    const double v = (-s * px + c * py) / scale + m.rows / 2.0;
                    dark += DarkAt(m, u, v) ? 1 : 0;
                }
            }
            image.pixels[static_cast<std::size_t>(y * size + x)] =
                static_cast<uint8_t>(225 - dark * (225 - 30) / 16);
        }
    }
    return image;
}

std::string PngBytes(const GreyImage& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_GRAY;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&png, nullptr, &size, 0, image.pixels.data(), 0, nullptr);
    std::string bytes(size, '\0');
    png_image_write_to_memory(&png, bytes.data(), &size, 0, image.pixels.data(), 0, nullptr);
    bytes.resize(size);
    return bytes;
}

std::string JpegBytes(const GreyImage& image, int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<uint8_t*>(image.pixels.data()) +
            static_cast<std::size_t>(info.next_scanline) * static_cast<std::size_t>(image.width);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

namespace {

void PutLittle(std::string& out, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string BmpBytes(const GreyImage& image, int bits, bool topDown) {
    const auto bitsU = static_cast<uint32_t>(bits);
    const uint32_t colours = bits <= 8 ? 1u << bitsU : 0;
    const uint32_t stride = (static_cast<uint32_t>(image.width) * bitsU + 31) / 32 * 4;
    const uint32_t pixelsAt = 54 + 4 * colours;
    std::string out = "BM";
    PutLittle(out, pixelsAt + stride * static_cast<uint32_t>(image.height), 4);
    PutLittle(out, 0, 4);
    PutLittle(out, pixelsAt, 4);
    PutLittle(out, 40, 4);
    PutLittle(out, static_cast<uint32_t>(image.width), 4);
    PutLittle(out, static_cast<uint32_t>(topDown ? -image.height : image.height), 4);
    PutLittle(out, 1, 2);
    PutLittle(out, bitsU, 2);
    for (int i = 0; i < 6; ++i) PutLittle(out, i == 4 ? colours : 0, 4);
    for (uint32_t i = 0; i < colours; ++i) {
        const uint32_t grey = i * 255 / (colours - 1);
        PutLittle(out, grey * 0x010101u, 4);
    }
    for (int32_t r = 0; r < image.height; ++r) {
        const int32_t y = topDown ? r : image.height - 1 - r;
        std::string row(stride, '\0');
        for (int32_t x = 0; x < image.width; ++x) {
            const uint8_t p = image.at(x, y);
            const auto ux = static_cast<std::size_t>(x);
            const uint32_t level = bits <= 8 ? (p * (colours - 1) + 127) / 255 : p;
            if (bits <= 8) {  // palette indices packed from the high bit
                const std::size_t bit = ux * bitsU;
                row[bit / 8] = static_cast<char>(row[bit / 8] |
                                                 static_cast<int>(level << (8 - bitsU - bit % 8)));
            } else {
                for (std::size_t c = 0; c < bitsU / 8; ++c)
                    row[ux * (bitsU / 8) + c] = static_cast<char>(c == 3 ? 0 : p);
            }
        }
        out += row;
    }
    return out;
}

std::string PnmBytes(const GreyImage& image, char kind) {
    std::string out = std::string("P") + kind + "\n# test picture\n" + std::to_string(image.width) +
                      " " + std::to_string(image.height) + "\n";
    if (kind != '1' && kind != '4') out += "255\n";
    for (int32_t y = 0; y < image.height; ++y) {
        std::string packed((static_cast<std::size_t>(image.width) + 7) / 8, '\0');
        for (int32_t x = 0; x < image.width; ++x) {
            const uint8_t p = image.at(x, y);
            const auto ux = static_cast<std::size_t>(x);
            const bool dark = p < 128;
            if (kind == '1') out += dark ? "1 " : "0 ";
            if (kind == '2') out += std::to_string(p) + " ";
            if (kind == '4')
                packed[ux / 8] = static_cast<char>(packed[ux / 8] | (dark ? 1 : 0) << (7 - ux % 8));
            if (kind == '5' || kind == '6')
                out += std::string(kind == '6' ? 3 : 1, static_cast<char>(p));
        }
        if (kind == '4') out += packed;
        if (kind == '1' || kind == '2') out += "\n";
    }
    return out;
}

std::string FileBytes(const GreyImage& image, const std::string& format) {
    if (format == "png") return PngBytes(image);
    if (format.starts_with("jpeg")) return JpegBytes(image, std::stoi(format.substr(4)));
    if (format.starts_with("bmp"))
        return BmpBytes(image, std::stoi(format.substr(3)), format.ends_with('t'));
    if (format.starts_with("pnm")) return PnmBytes(image, format[3]);
    return {};
}

}  // namespace ecc200_imaging::testing

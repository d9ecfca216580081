// The picture is never held whole: every pixel row of one module row is identical, so the
// renderer draws each module row once, plus one white row for the margin, and hands the writer
// a table of row pointers in which the rows of one module row share their pixels.
#include "api/bmp_writer.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "api/file_replace.h"
#include "core/status.h"

namespace ecc200 {
namespace {

constexpr uint8_t kWhite = 255;
constexpr uint8_t kBlack = 0;

void PutLittleEndian16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutLittleEndian32(uint8_t* at, uint32_t value) {
    PutLittleEndian16(at, value & 0xFFFFu);
    PutLittleEndian16(at + 2, value >> 16);
}

constexpr int32_t StrideOf(int32_t width) {
    return (width + 3) & ~3;
}

// The file header, the 40-byte information header and the grey-ramp palette.
std::array<uint8_t, kBmpPixelOffset> BmpHeaders(int32_t width, int32_t height) {
    const auto pixelBytes = static_cast<uint32_t>(StrideOf(width)) * static_cast<uint32_t>(height);
    std::array<uint8_t, kBmpPixelOffset> headers{};
    uint8_t* h = headers.data();
    h[0] = 'B';
    h[1] = 'M';
    PutLittleEndian32(h + 2, static_cast<uint32_t>(kBmpPixelOffset) + pixelBytes);
    PutLittleEndian32(h + 10, static_cast<uint32_t>(kBmpPixelOffset));
    PutLittleEndian32(h + 14, 40);
    PutLittleEndian32(h + 18, static_cast<uint32_t>(width));
    PutLittleEndian32(h + 22, static_cast<uint32_t>(height));  // positive: rows stored bottom-up
    PutLittleEndian16(h + 26, 1);                              // colour planes
    PutLittleEndian16(h + 28, 8);                              // bits per pixel
    PutLittleEndian32(h + 34, pixelBytes);
    PutLittleEndian32(h + 46, 256);  // colours used
    for (uint32_t grey = 0; grey < 256; ++grey) {
        uint8_t* entry = h + kBmpHeaderBytes + 4 * grey;
        entry[0] = entry[1] = entry[2] = static_cast<uint8_t>(grey);
    }
    return headers;
}

bool WriteAll(std::FILE* file, const void* bytes, std::size_t count) {
    return count == 0 || std::fwrite(bytes, 1, count, file) == count;
}

bool WriteContents(std::FILE* file, const uint8_t* const* pixelRows, int32_t height,
                   int32_t width) {
    const auto headers = BmpHeaders(width, height);
    if (!WriteAll(file, headers.data(), headers.size())) return false;
    const std::array<uint8_t, 3> padding{};
    const auto padBytes = static_cast<std::size_t>(StrideOf(width) - width);
    for (int32_t y = height - 1; y >= 0; --y) {
        if (!WriteAll(file, pixelRows[y], static_cast<std::size_t>(width))) return false;
        if (!WriteAll(file, padding.data(), padBytes)) return false;
    }
    return true;
}

struct BmpContents {
    const uint8_t* const* pixelRows;
    int32_t height;
    int32_t width;
};

bool WriteBmpContents(std::FILE* file, const void* context) {
    const auto& contents = *static_cast<const BmpContents*>(context);
    return WriteContents(file, contents.pixelRows, contents.height, contents.width);
}

// Memory for one white margin row, one drawn row per module row, and the row pointer table.
struct PixelRows {
    uint8_t* pixels = nullptr;
    const uint8_t** table = nullptr;

    PixelRows() = default;
    PixelRows(const PixelRows&) = delete;
    PixelRows& operator=(const PixelRows&) = delete;
    ~PixelRows() {
        std::free(pixels);
        std::free(table);
    }
};

// Pixel row of module row r counted from the top: margin white, then each module's block.
void DrawModuleRow(const Symbol& symbol, int32_t r, const BitmapGeometry& geometry,
                   int32_t moduleSize, uint8_t* row) {
    std::memset(row, kWhite, static_cast<std::size_t>(geometry.width));
    const uint8_t* modules = symbol.matrix[symbol.rows - 1 - r];
    for (int32_t c = 0; c < symbol.cols; ++c) {
        if (modules[c] == 0) continue;
        std::memset(row + geometry.margin + c * moduleSize, kBlack,
                    static_cast<std::size_t>(moduleSize));
    }
}

bool DrawPicture(const Symbol& symbol, const BitmapGeometry& geometry, int32_t moduleSize,
                 PixelRows& rows) {
    const auto width = static_cast<std::size_t>(geometry.width);
    const auto distinctRows = static_cast<std::size_t>(symbol.rows) + 1;
    rows.pixels = static_cast<uint8_t*>(std::malloc(distinctRows * width));
    rows.table = static_cast<const uint8_t**>(
        std::malloc(static_cast<std::size_t>(geometry.height) * sizeof(const uint8_t*)));
    if (rows.pixels == nullptr || rows.table == nullptr) return false;

    const uint8_t* marginRow = rows.pixels;
    std::memset(rows.pixels, kWhite, width);
    for (int32_t y = 0; y < geometry.height; ++y) rows.table[y] = marginRow;
    for (int32_t r = 0; r < symbol.rows; ++r) {
        uint8_t* row = rows.pixels + (static_cast<std::size_t>(r) + 1) * width;
        DrawModuleRow(symbol, r, geometry, moduleSize, row);
        const int32_t top = geometry.margin + r * moduleSize;
        for (int32_t y = top; y < top + moduleSize; ++y) rows.table[y] = row;
    }
    return true;
}

}  // namespace

bool ComputeBitmapGeometry(int32_t rows, int32_t cols, int32_t moduleSize, int32_t quietZone,
                           BitmapGeometry& geometry) {
    constexpr int64_t kLimit = INT32_MAX;
    if (moduleSize < 1 || rows < 0 || cols < 0) return false;
    const int64_t margin = quietZone > 0 ? quietZone : 0;
    const int64_t width = int64_t{cols} * moduleSize + 2 * margin;
    const int64_t height = int64_t{rows} * moduleSize + 2 * margin;
    const int64_t stride = (width + 3) & ~int64_t{3};
    if (width > kLimit || height > kLimit || stride * height > kLimit - kBmpPixelOffset) {
        return false;
    }
    geometry.margin = static_cast<int32_t>(margin);
    geometry.width = static_cast<int32_t>(width);
    geometry.height = static_cast<int32_t>(height);
    geometry.stride = static_cast<int32_t>(stride);
    geometry.fileSize = static_cast<int32_t>(kBmpPixelOffset + stride * height);
    return true;
}

int32_t RenderBitmap(const Symbol& symbol, int32_t moduleSize, int32_t quietZone,
                     const char* fileName) {
    BitmapGeometry geometry{};
    if (!ComputeBitmapGeometry(symbol.rows, symbol.cols, moduleSize, quietZone, geometry)) {
        return kStatusBadParameter;
    }
    if (fileName == nullptr) return kStatusBadParameter;
    PixelRows rows;
    if (!DrawPicture(symbol, geometry, moduleSize, rows)) return kStatusInternal;
    if (WriteBmpFile(fileName, rows.table, geometry.height, geometry.width) != 0) {
        return kStatusInternal;
    }
    return kStatusOk;
}

int32_t WriteBmpFile(const char* path, const uint8_t* const* pixelRows, int32_t height,
                     int32_t width) {
    const BmpContents contents{pixelRows, height, width};
    return WriteFileReplacing(path, WriteBmpContents, &contents) ? 0 : 1;
}

}  // namespace ecc200

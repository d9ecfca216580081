#include "png_writer.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace ecc200_cli {
namespace {

constexpr png_byte kDark = 0;
constexpr png_byte kLight = 255;

// libpng reports errors by jumping back to the setjmp of WriteRows; nothing is printed.
void OnPngError(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}
void OnPngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// Fills row with the pixels of picture row y (counted from the top, quiet zone included).
void RenderRow(const ModuleGrid& grid, int moduleSize, int quietZone, int y,
               std::vector<png_byte>& row) {
    std::fill(row.begin(), row.end(), kLight);
    const int moduleRow = y / moduleSize - quietZone;
    if (moduleRow < 0 || moduleRow >= grid.rows) return;
    for (int col = 0; col < grid.cols; ++col) {
        if (!grid.Dark(moduleRow, col)) continue;
        const auto start = static_cast<std::size_t>((quietZone + col) * moduleSize);
        std::fill_n(row.begin() + static_cast<std::ptrdiff_t>(start), moduleSize, kDark);
    }
}

// Holds no objects with destructors, so that a longjmp out of libpng skips nothing.
bool WriteRows(png_structp png, png_infop info, std::FILE* out, const ModuleGrid& grid,
               int moduleSize, int quietZone, std::vector<png_byte>& row) {
    if (setjmp(png_jmpbuf(png))) return false;
    const auto width = static_cast<png_uint_32>((grid.cols + 2 * quietZone) * moduleSize);
    const int height = (grid.rows + 2 * quietZone) * moduleSize;
    png_init_io(png, out);
    png_set_IHDR(png, info, width, static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_GRAY,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        RenderRow(grid, moduleSize, quietZone, y, row);
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool WritePng(const ModuleGrid& grid, int moduleSize, int quietZone, std::FILE* out) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_byte> row(static_cast<std::size_t>((grid.cols + 2 * quietZone) * moduleSize));
    const bool written = WriteRows(png, info, out, grid, moduleSize, quietZone, row);
    png_destroy_write_struct(&png, &info);
    return written;
}

}  // namespace ecc200_cli

#include "png_writer.h"

#include <png.h>
#include <zlib.h>

#include <cmath>
#include <csetjmp>
#include <vector>

namespace ecc200_cli {
namespace {

// Pixel values of one bit: in greyscale 0 is black and 1 white; in the palette entry 0 is the
// light colour and entry 1 the dark one.
constexpr int kPaletteLight = 0;
constexpr int kPaletteDark = 1;

// zlib's fastest level spends a third less on these small pictures than its best, for files
// about a fifth larger.
constexpr int kCompressionLevel = 1;
// A small window and hash table suffice: the rows that repeat are close together (a row is at
// most 1,526 bytes).
constexpr int kCompressionWindowBits = 11;
constexpr int kCompressionMemLevel = 2;

// libpng reports errors by jumping back to the setjmp of WriteChunks; nothing is printed.
void OnPngError(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}
void OnPngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

struct Layout {
    int moduleSize;
    int quietZone;
    png_uint_32 width;
    png_uint_32 height;
    bool palette;
};

// Packs the pixels of module row moduleRow (-1 and below, or past the last row: quiet zone)
// eight to a byte, the leftmost pixel in the highest bit.
void PackRow(const ModuleGrid& grid, const Layout& layout, int moduleRow,
             std::vector<png_byte>& row) {
    const png_byte light = layout.palette ? kPaletteLight : 1;
    std::fill(row.begin(), row.end(), light ? 0xFF : 0x00);
    if (moduleRow < 0 || moduleRow >= grid.rows) return;
    for (int col = 0; col < grid.cols; ++col) {
        if (!grid.Dark(moduleRow, col)) continue;
        const int start = (layout.quietZone + col) * layout.moduleSize;
        for (int x = start; x < start + layout.moduleSize; ++x) {
            auto& byte = row[static_cast<std::size_t>(x / 8)];
            const auto bit = static_cast<png_byte>(0x80 >> (x % 8));
            byte = static_cast<png_byte>(light ? byte & ~bit : byte | bit);
        }
    }
}

void SetColours(png_structp png, png_infop info, const RenderSettings& render) {
    png_color entries[2];
    png_byte alphas[2];
    const Colour* colours[2] = {&render.light, &render.dark};
    static_assert(kPaletteLight == 0 && kPaletteDark == 1);
    for (int i = 0; i < 2; ++i) {
        entries[i] = {colours[i]->red, colours[i]->green, colours[i]->blue};
        alphas[i] = colours[i]->alpha;
    }
    png_set_PLTE(png, info, entries, 2);
    if (!render.light.opaque() || !render.dark.opaque()) {
        png_set_tRNS(png, info, alphas, 2, nullptr);
    }
}

void SetHeader(png_structp png, png_infop info, const Layout& layout,
               const RenderSettings& render) {
    png_set_IHDR(png, info, layout.width, layout.height, 1,
                 layout.palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (layout.palette) SetColours(png, info, render);
    if (render.dpi) {
        const auto perMetre =
            static_cast<png_uint_32>(std::lround(*render.dpi * 1000.0 / kMillimetresPerInch));
        png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
    }
}

// One zlib stream per thread, reset for every picture instead of set up afresh.
class Deflater {
  public:
    Deflater() {
        ready_ = deflateInit2(&stream_, kCompressionLevel, Z_DEFLATED, kCompressionWindowBits,
                              kCompressionMemLevel, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Deflater() {
        if (ready_) deflateEnd(&stream_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // The zlib stream of input, or false.
    bool Compress(std::vector<png_byte>& input, std::vector<png_byte>& output) {
        if (!ready_ || deflateReset(&stream_) != Z_OK) return false;
        output.resize(deflateBound(&stream_, static_cast<uLong>(input.size())));
        stream_.next_in = input.data();
        stream_.avail_in = static_cast<uInt>(input.size());
        stream_.next_out = output.data();
        stream_.avail_out = static_cast<uInt>(output.size());
        if (deflate(&stream_, Z_FINISH) != Z_STREAM_END) return false;
        output.resize(stream_.total_out);
        return true;
    }

  private:
    z_stream stream_{};
    bool ready_ = false;
};

// The image data as PNG stores it before compression: every row a filter byte (0, none) and
// its packed pixels. Each module row is packed once and repeated moduleSize times.
void FilteredImage(const ModuleGrid& grid, const Layout& layout, std::vector<png_byte>& row,
                   std::vector<png_byte>& image) {
    image.clear();
    for (int moduleRow = -layout.quietZone; moduleRow < grid.rows + layout.quietZone; ++moduleRow) {
        PackRow(grid, layout, moduleRow, row);
        for (int i = 0; i < layout.moduleSize; ++i) {
            image.push_back(0);
            image.insert(image.end(), row.begin(), row.end());
        }
    }
}

// Holds no objects with destructors, so that a longjmp out of libpng skips nothing. libpng
// writes the signature, the header chunks, the image chunk compressed beforehand in one piece
// (much faster than a compressor call per row) and the end.
bool WriteChunks(png_structp png, png_infop info, std::FILE* out, const Layout& layout,
                 const RenderSettings& render, const std::vector<png_byte>& compressed) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, out);
    SetHeader(png, info, layout, render);
    png_write_info(png, info);
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), compressed.data(),
                    compressed.size());
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    return true;
}

}  // namespace

bool WritePng(const ModuleGrid& grid, const RenderSettings& render, std::FILE* out) {
    const Layout layout{
        render.moduleSize, render.quietZone,
        static_cast<png_uint_32>((grid.cols + 2 * render.quietZone) * render.moduleSize),
        static_cast<png_uint_32>((grid.rows + 2 * render.quietZone) * render.moduleSize),
        render.coloured()};
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    thread_local Deflater deflater;
    thread_local std::vector<png_byte> row, image, compressed;
    row.resize((layout.width + 7) / 8);
    FilteredImage(grid, layout, row, image);
    const bool written = deflater.Compress(image, compressed) &&
                         WriteChunks(png, info, out, layout, render, compressed);
    png_destroy_write_struct(&png, &info);
    return written;
}

}  // namespace ecc200_cli

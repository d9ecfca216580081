// The outputs of a symbol as the tests and the fuzz harness compare them: the module buffer of an
// encode, a file's bytes, and whether a BMP file shows exactly the buffer's modules. Free of
// GoogleTest, so that the fuzz harness can share it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "ecc200.h"
#include "geometry/size_table.h"

namespace ecc200::testing {

// The module buffer of an encode through WriteEncodedSymbolToBuf_ECC200, rows x cols bytes of
// the size used; the status of the call in status.
inline std::vector<uint8_t> EncodeToModules(SymbolHandle handle, int32_t& status) {
    std::vector<uint8_t> modules(ECC200_MAX_MODULES, 0xEE);
    status = WriteEncodedSymbolToBuf_ECC200(handle, modules.data(), ECC200_MAX_MODULES);
    const int32_t size = GetDimension_ECC200(handle);
    modules.resize(IsSizeIndex(size)
                       ? static_cast<std::size_t>(SizeAt(size).symbolRows * SizeAt(size).symbolCols)
                       : 0);
    return modules;
}

inline std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline uint32_t LittleEndian32(const std::vector<uint8_t>& bytes, std::size_t at) {
    return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
           uint32_t{bytes[at + 3]} << 24;
}

// Whether the BMP file shows exactly the modules an encode of the symbol gives, moduleSize pixels
// each inside a white margin of quietZone pixels (none when negative): 8 bits a pixel, rows
// bottom-up and padded to four bytes.
inline bool BmpShowsModules(const std::vector<uint8_t>& file, SymbolHandle handle,
                            int32_t moduleSize, int32_t quietZone) {
    int32_t status = -1;
    const std::vector<uint8_t> modules = EncodeToModules(handle, status);
    if (status != ECC200_OK) return false;
    const SymbolSize& size = SizeAt(GetDimension_ECC200(handle));
    const int32_t rows = size.symbolRows, cols = size.symbolCols, side = moduleSize;
    const int32_t margin = std::max(quietZone, 0);
    const int32_t width = cols * side + 2 * margin, height = rows * side + 2 * margin;
    const auto stride = static_cast<std::size_t>((width + 3) & ~3);
    if (file.size() != 1078 + stride * static_cast<std::size_t>(height) || file[0] != 'B' ||
        file[1] != 'M' || LittleEndian32(file, 18) != static_cast<uint32_t>(width) ||
        LittleEndian32(file, 22) != static_cast<uint32_t>(height)) {
        return false;
    }
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const int32_t r = y - margin, c = x - margin;
            const bool dark = r >= 0 && c >= 0 && r < rows * side && c < cols * side &&
                              modules[static_cast<std::size_t>(r / side * cols + c / side)];
            if (file[1078 + stride * static_cast<std::size_t>(height - 1 - y) +
                     static_cast<std::size_t>(x)] != (dark ? 0 : 255)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace ecc200::testing

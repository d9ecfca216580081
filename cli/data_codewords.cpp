#include "data_codewords.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "core/symbol.h"
#include "geometry/placement_map.h"
#include "geometry/size_table.h"

namespace ecc200_cli {
namespace {

using ecc200::SymbolSize;

constexpr int kFirstPad = 129;

// The size index of a rows x cols symbol, or -1.
int32_t SizeIndexOf(int rows, int cols) {
    for (int32_t i = 0; i < ecc200::kSizeCount; ++i) {
        const SymbolSize& size = ecc200::SizeAt(i);
        if (size.symbolRows == rows && size.symbolCols == cols) return i;
    }
    return -1;
}

// The data and pad codewords, in stream order (interleaving leaves them in order), read through
// the library's own placement map of the size, built in a symbol record of its own.
std::optional<std::vector<int>> ReadDataCodewords(int32_t sizeIndex,
                                                  std::span<const uint8_t> modules) {
    const SymbolSize& size = ecc200::SizeAt(sizeIndex);
    const auto symbol = std::make_unique<ecc200::Symbol>();
    const int32_t entries = ecc200::BuildPlacementMap(*symbol, sizeIndex);
    const std::unique_ptr<ecc200::PlacementEntry, decltype(&std::free)> map(
        symbol->placementMaps[sizeIndex], &std::free);
    if (entries == 0 || map == nullptr) return std::nullopt;
    std::vector<int> codewords(static_cast<std::size_t>(size.totalDataCodewords), 0);
    for (int32_t bit = 0; bit < 8 * size.totalDataCodewords; ++bit) {
        const ecc200::PlacementEntry& module = map.get()[bit];
        // Each data region is framed by a finder row and column and a timing row and column.
        const int symbolRow =
            module.row / size.regionRows * (size.regionRows + 2) + 1 + module.row % size.regionRows;
        const int symbolCol =
            module.col / size.regionCols * (size.regionCols + 2) + 1 + module.col % size.regionCols;
        if (modules[static_cast<std::size_t>(symbolRow * size.symbolCols + symbolCol)] != 0)
            codewords[static_cast<std::size_t>(bit / 8)] |= 0x80 >> (bit % 8);
    }
    return codewords;
}

// The pad after the first, at 1-based stream position: 129 plus a pseudo-random step, mod 254.
int PadAt(int position) {
    const int pad = kFirstPad + (149 * position) % 253 + 1;
    return pad <= 254 ? pad : pad - 254;
}

}  // namespace

std::optional<int> CountDataCodewords(int rows, int cols, std::span<const uint8_t> modules) {
    const int32_t sizeIndex = SizeIndexOf(rows, cols);
    if (sizeIndex < 0 || modules.size() < static_cast<std::size_t>(rows * cols))
        return std::nullopt;
    const std::optional<std::vector<int>> read = ReadDataCodewords(sizeIndex, modules);
    if (!read) return std::nullopt;
    const std::vector<int>& codewords = *read;
    int end = static_cast<int>(codewords.size());
    while (end > 0 && codewords[static_cast<std::size_t>(end - 1)] == PadAt(end)) --end;
    // A randomised pad is never 129, so the first pad is where the run of pads stops.
    if (end > 0 && codewords[static_cast<std::size_t>(end - 1)] == kFirstPad) return end - 1;
    return static_cast<int>(codewords.size());
}

}  // namespace ecc200_cli

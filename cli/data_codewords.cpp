#include "data_codewords.h"

#include <array>
#include <utility>
#include <vector>

#include "geometry/size_table.h"

namespace ecc200_cli {
namespace {

using ecc200::SymbolSize;

constexpr int kUnplaced = -1;
constexpr int kFirstPad = 129;

// The codeword bit (codeword * 8 + bit, bit 0 the most significant) of every module of the
// mapping matrix, row 0 at the top, by the ECC 200 placement: diagonal sweeps of the 2x4
// "utah" shape, with the four corner shapes where the sweep meets the edges.
class Placement {
  public:
    Placement(int rows, int cols)
        : rows_(rows), cols_(cols), bits_(static_cast<std::size_t>(rows * cols), kUnplaced) {
        Place();
    }

    int BitAt(int row, int col) const { return bits_[Index(row, col)]; }

  private:
    using Shape = std::array<std::pair<int, int>, 8>;

    std::size_t Index(int row, int col) const {
        return static_cast<std::size_t>(row * cols_ + col);
    }

    void Module(int row, int col, int codeword, int bit) {
        if (row < 0) {
            row += rows_;
            col += 4 - ((rows_ + 4) % 8);
        }
        if (col < 0) {
            col += cols_;
            row += 4 - ((cols_ + 4) % 8);
        }
        bits_[Index(row, col)] = codeword * 8 + bit;
    }

    void PlaceShape(const Shape& shape, int codeword) {
        for (int bit = 0; bit < 8; ++bit) {
            Module(shape[static_cast<std::size_t>(bit)].first,
                   shape[static_cast<std::size_t>(bit)].second, codeword, bit);
        }
    }

    void Utah(int r, int c, int codeword) {
        PlaceShape({{{r - 2, c - 2},
                     {r - 2, c - 1},
                     {r - 1, c - 2},
                     {r - 1, c - 1},
                     {r - 1, c},
                     {r, c - 2},
                     {r, c - 1},
                     {r, c}}},
                   codeword);
    }

    void Place() {
        const int R = rows_, C = cols_;
        const Shape corner1{{{R - 1, 0},
                             {R - 1, 1},
                             {R - 1, 2},
                             {0, C - 2},
                             {0, C - 1},
                             {1, C - 1},
                             {2, C - 1},
                             {3, C - 1}}};
        const Shape corner2{{{R - 3, 0},
                             {R - 2, 0},
                             {R - 1, 0},
                             {0, C - 4},
                             {0, C - 3},
                             {0, C - 2},
                             {0, C - 1},
                             {1, C - 1}}};
        const Shape corner3{{{R - 3, 0},
                             {R - 2, 0},
                             {R - 1, 0},
                             {0, C - 2},
                             {0, C - 1},
                             {1, C - 1},
                             {2, C - 1},
                             {3, C - 1}}};
        const Shape corner4{{{R - 1, 0},
                             {R - 1, C - 1},
                             {0, C - 3},
                             {0, C - 2},
                             {0, C - 1},
                             {1, C - 3},
                             {1, C - 2},
                             {1, C - 1}}};
        int codeword = 0, row = 4, col = 0;
        do {
            if (row == R && col == 0) PlaceShape(corner1, codeword++);
            if (row == R - 2 && col == 0 && C % 4 != 0) PlaceShape(corner2, codeword++);
            if (row == R - 2 && col == 0 && C % 8 == 4) PlaceShape(corner3, codeword++);
            if (row == R + 4 && col == 2 && C % 8 == 0) PlaceShape(corner4, codeword++);
            do {  // up and to the right
                if (row < R && col >= 0 && bits_[Index(row, col)] == kUnplaced)
                    Utah(row, col, codeword++);
                row -= 2;
                col += 2;
            } while (row >= 0 && col < C);
            row += 1;
            col += 3;
            do {  // down and to the left
                if (row >= 0 && col < C && bits_[Index(row, col)] == kUnplaced)
                    Utah(row, col, codeword++);
                row += 2;
                col -= 2;
            } while (row < R && col >= 0);
            row += 3;
            col += 1;
        } while (row < R || col < C);
    }

    int rows_, cols_;
    std::vector<int> bits_;
};

const SymbolSize* SizeOf(int rows, int cols) {
    for (const SymbolSize& size : ecc200::SymbolSizeTable) {
        if (size.symbolRows == rows && size.symbolCols == cols) return &size;
    }
    return nullptr;
}

// The data and pad codewords, in stream order (interleaving leaves them in order).
std::vector<int> ReadDataCodewords(const SymbolSize& size, std::span<const uint8_t> modules) {
    const int mappingRows = ecc200::MappingRows(size), mappingCols = ecc200::MappingCols(size);
    const Placement placement(mappingRows, mappingCols);
    std::vector<int> codewords(static_cast<std::size_t>(size.totalDataCodewords), 0);
    for (int row = 0; row < mappingRows; ++row) {
        // Each data region is framed by a finder row and column and a timing row and column.
        const int symbolRow =
            row / size.regionRows * (size.regionRows + 2) + 1 + row % size.regionRows;
        for (int col = 0; col < mappingCols; ++col) {
            const int bit = placement.BitAt(row, col);
            if (bit == kUnplaced || bit / 8 >= size.totalDataCodewords) continue;
            const int symbolCol =
                col / size.regionCols * (size.regionCols + 2) + 1 + col % size.regionCols;
            if (modules[static_cast<std::size_t>(symbolRow * size.symbolCols + symbolCol)] != 0)
                codewords[static_cast<std::size_t>(bit / 8)] |= 0x80 >> (bit % 8);
        }
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
    const SymbolSize* size = SizeOf(rows, cols);
    if (size == nullptr || modules.size() < static_cast<std::size_t>(rows * cols))
        return std::nullopt;
    const std::vector<int> codewords = ReadDataCodewords(*size, modules);
    int end = static_cast<int>(codewords.size());
    while (end > 0 && codewords[static_cast<std::size_t>(end - 1)] == PadAt(end)) --end;
    // A randomised pad is never 129, so the first pad is where the run of pads stops.
    if (end > 0 && codewords[static_cast<std::size_t>(end - 1)] == kFirstPad) return end - 1;
    return static_cast<int>(codewords.size());
}

}  // namespace ecc200_cli

// The diagonal placement of codeword bits in the mapping matrix: codewords in the "utah" shape
// swept up and down the matrix in diagonal bands, four fixed corner shapes, and wrap-around at the
// edges. The walk reports each bit's module to a visitor, so the same order serves the cached map
// that an encode writes through and a read that takes the bits straight from the modules.
#pragma once

#include <cstdint>

namespace ecc200 {

// Number of placed bits of an R x C mapping matrix: its modules rounded down to whole codewords.
constexpr int32_t PlacementEntryCount(int32_t rows, int32_t cols) {
    return rows * cols / 8 * 8;
}

namespace detail {

// A corner shape position: non-negative values count from the top row or left column, negative
// values from one past the bottom row or right column (-1 is the last row or column).
struct CornerOffset {
    int8_t row;
    int8_t col;
};
using CornerShape = CornerOffset[8];

inline constexpr CornerShape kCornerShapes[4] = {
    {{-1, 0}, {-1, 1}, {-1, 2}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}},
    {{-3, 0}, {-2, 0}, {-1, 0}, {0, -4}, {0, -3}, {0, -2}, {0, -1}, {1, -1}},
    {{-3, 0}, {-2, 0}, {-1, 0}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}},
    {{-1, 0}, {-1, -1}, {0, -3}, {0, -2}, {0, -1}, {1, -3}, {1, -2}, {1, -1}},
};

// The walk over one rows x cols mapping matrix (row 0 at the top). The visitor answers
// IsFree(row, col) for positions inside the matrix and takes Place(entry, row, col) for every
// bit placed, entry being 8 * codeword + bit (bit 0 the most significant).
template <typename Visitor>
class PlacementWalk {
  public:
    PlacementWalk(Visitor& visitor, int32_t rows, int32_t cols)
        : visitor_(visitor), rows_(rows), cols_(cols) {}

    // Sweeps the matrix in diagonal bands, up and to the right, then down and to the left,
    // placing a codeword wherever the shape's anchor module is still free.
    void Run() {
        int32_t row = 4;
        int32_t col = 0;
        do {
            PlaceCornersAt(row, col);
            do {
                if (IsFree(row, col)) PlaceUtah(row, col);
                row -= 2;
                col += 2;
            } while (row >= 0 && col < cols_);
            row += 1;
            col += 3;
            do {
                if (IsFree(row, col)) PlaceUtah(row, col);
                row += 2;
                col -= 2;
            } while (row < rows_ && col >= 0);
            row += 3;
            col += 1;
        } while (row < rows_ || col < cols_);
    }

    int32_t codeword() const { return codeword_; }
    int32_t bit() const { return bit_; }

  private:
    bool IsFree(int32_t row, int32_t col) const {
        return row >= 0 && row < rows_ && col >= 0 && col < cols_ && visitor_.IsFree(row, col);
    }

    // Places the current bit at (row, col) after wrapping positions that fall off the top or left
    // edge, and moves on to the next bit. A position still outside the matrix, or a bit past the
    // last whole codeword, is left unplaced.
    void PlaceModule(int32_t row, int32_t col) {
        if (row < 0) {
            row += rows_;
            col += 4 - ((rows_ + 4) % 8);
        }
        if (col < 0) {
            col += cols_;
            row += 4 - ((cols_ + 4) % 8);
        }
        const int32_t entry = 8 * codeword_ + bit_;
        ++bit_;
        if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return;
        if (entry >= PlacementEntryCount(rows_, cols_)) return;
        visitor_.Place(entry, row, col);
    }

    // The eight bits of the next codeword in the utah shape whose lower right module is
    // (row, col).
    void PlaceUtah(int32_t row, int32_t col) {
        bit_ = 0;
        PlaceModule(row - 2, col - 2);
        PlaceModule(row - 2, col - 1);
        PlaceModule(row - 1, col - 2);
        PlaceModule(row - 1, col - 1);
        PlaceModule(row - 1, col);
        PlaceModule(row, col - 2);
        PlaceModule(row, col - 1);
        PlaceModule(row, col);
        ++codeword_;
    }

    // The eight bits of the next codeword in corner shape 1..4.
    void PlaceCorner(int32_t shape) {
        bit_ = 0;
        for (const CornerOffset& offset : kCornerShapes[shape - 1]) {
            const int32_t row = offset.row < 0 ? rows_ + offset.row : offset.row;
            const int32_t col = offset.col < 0 ? cols_ + offset.col : offset.col;
            PlaceModule(row, col);
        }
        ++codeword_;
    }

    void PlaceCornersAt(int32_t row, int32_t col) {
        if (row == rows_ && col == 0) PlaceCorner(1);
        if (row == rows_ - 2 && col == 0 && cols_ % 4 != 0) PlaceCorner(2);
        if (row == rows_ - 2 && col == 0 && cols_ % 8 == 4) PlaceCorner(3);
        if (row == rows_ + 4 && col == 2 && cols_ % 8 == 0) PlaceCorner(4);
    }

    Visitor& visitor_;
    int32_t rows_;
    int32_t cols_;
    int32_t codeword_ = 0;
    int32_t bit_ = 0;
};

}  // namespace detail

// Walks the placement of a rows x cols mapping matrix, reporting every bit to the visitor (see
// detail::PlacementWalk). A visitor must mark the modules it is given as taken.
template <typename Visitor>
void WalkPlacement(Visitor& visitor, int32_t rows, int32_t cols) {
    detail::PlacementWalk<Visitor>(visitor, rows, cols).Run();
}

}  // namespace ecc200

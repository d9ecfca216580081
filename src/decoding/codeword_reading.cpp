// The placement walk with a visitor that takes each bit from its module instead of recording
// where it goes; a bit set of taken modules replaces the encoder's placement grid.
#include "decoding/codeword_reading.h"

#include <cstring>

#include "geometry/placement_walk.h"

namespace ecc200 {
namespace {

struct CodewordCollector {
    const MappingMatrix& mapping;
    int32_t rows;
    uint8_t* codewords;
    uint32_t taken[kMatrixSide][(kMatrixSide + 31) / 32] = {};

    bool IsFree(int32_t row, int32_t col) const {
        return (taken[row][col / 32] & (1u << (col % 32))) == 0;
    }

    // Mapping rows count from the top here and from the bottom in the matrix.
    void Place(int32_t entry, int32_t row, int32_t col) {
        taken[row][col / 32] |= 1u << (col % 32);
        if (mapping[rows - 1 - row][col] != 0) {
            codewords[entry / 8] |= static_cast<uint8_t>(0x80u >> (entry % 8));
        }
    }
};

}  // namespace

void ReadCodewords(const MappingMatrix& mapping, const SymbolSize& size, uint8_t* codewords) {
    const int32_t rows = MappingRows(size);
    std::memset(codewords, 0, static_cast<std::size_t>(TotalCodewords(size)));
    CodewordCollector collector{mapping, rows, codewords};
    WalkPlacement(collector, rows, MappingCols(size));
}

}  // namespace ecc200

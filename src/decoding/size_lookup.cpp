// Finding a symbol's size by walking the size table, so every size the table holds is found.
#include "decoding/size_lookup.h"

#include "geometry/size_table.h"

namespace ecc200 {

int32_t SizeIndexOf(int32_t rows, int32_t cols) {
    for (int32_t index = 0; IsSizeIndex(index); ++index) {
        if (SizeAt(index).symbolRows == rows && SizeAt(index).symbolCols == cols) return index;
    }
    return kNoSize;
}

}  // namespace ecc200

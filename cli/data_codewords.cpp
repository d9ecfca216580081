// The tool's codeword count: the library's count export, behind the size and length checks that a
// span of modules needs.
#include "data_codewords.h"

#include "ecc200.h"

namespace ecc200_cli {

std::optional<int> CountDataCodewords(int rows, int cols, std::span<const uint8_t> modules) {
    if (rows < 1 || cols < 1 ||
        modules.size() < static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols)) {
        return std::nullopt;
    }
    const int32_t count = CountDataCodewords_ECC200(modules.data(), rows, cols);
    if (count < 0) return std::nullopt;
    return count;
}

}  // namespace ecc200_cli

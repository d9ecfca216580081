// Per-generator product tables for the Reed-Solomon remainder: for every error-correction count e
// that a symbol size uses, 256 rows, row f holding f times the generator's coefficients from
// x^(e-1) down to x^0. One row lookup replaces e field multiplications. A row is packed into
// whole 64-bit words, coefficient j (of x^(e-1-j)) in bits 8 * (j % 8) of word j / 8, the rest
// zero, so that a remainder kept in the same packing takes a row in a few word operations.
#pragma once

#include <array>
#include <cstdint>

#include "ecc/gf256.h"
#include "geometry/size_table.h"

namespace ecc200 {

constexpr bool SizeTableUsesEccCount(int32_t e) {
    for (const SymbolSize& size : SymbolSizeTable) {
        if (size.blockEccCodewords == e) return true;
    }
    return false;
}

// Words of one product row of g_e: e coefficients of 8 bits, rounded up to whole words.
constexpr int32_t ProductRowWords(int32_t e) {
    return (e + 7) / 8;
}

inline constexpr int32_t kMaxProductRowWords = ProductRowWords(kMaxEccCodewords);

constexpr std::size_t EccProductWords() {
    std::size_t words = 0;
    for (int32_t e = 1; e <= kMaxEccCodewords; ++e) {
        if (SizeTableUsesEccCount(e)) words += 256u * static_cast<std::size_t>(ProductRowWords(e));
    }
    return words;
}

struct EccProductTables {
    std::array<uint64_t, EccProductWords()> products{};
    std::array<int32_t, kMaxEccCodewords + 1> offset{};  // -1 for counts no size uses

    // The 256 product rows of g_e (ProductRowWords(e) words apart), or null when no size uses e.
    constexpr const uint64_t* For(int32_t e) const {
        if (e < 1 || e > kMaxEccCodewords) return nullptr;
        const int32_t at = offset[static_cast<std::size_t>(e)];
        return at < 0 ? nullptr : products.data() + at;
    }
};

constexpr EccProductTables BuildEccProductTables() {
    EccProductTables tables;
    std::size_t next = 0;
    for (int32_t e = 0; e <= kMaxEccCodewords; ++e) {
        const auto ue = static_cast<std::size_t>(e);
        if (e == 0 || !SizeTableUsesEccCount(e)) {
            tables.offset[ue] = -1;
            continue;
        }
        tables.offset[ue] = static_cast<int32_t>(next);
        const GeneratorPolynomial& g = GeneratorTable[ue];
        for (std::size_t factor = 0; factor < 256; ++factor) {
            for (std::size_t j = 0; j < ue; ++j) {
                const uint64_t product = GfMulTable[factor][g[ue - 1 - j]];
                tables.products[next + j / 8] |= product << (8 * (j % 8));
            }
            next += static_cast<std::size_t>(ProductRowWords(e));
        }
    }
    return tables;
}

inline constexpr EccProductTables EccProducts = BuildEccProductTables();

}  // namespace ecc200

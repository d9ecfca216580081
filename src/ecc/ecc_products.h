// Per-generator product tables for the Reed-Solomon remainder: for every error-correction count e
// that a symbol size uses, 256 rows, row f holding f times the generator's coefficients from
// x^(e-1) down to x^0. One row lookup replaces e field multiplications. Rows are padded with
// zeros to a multiple of 8 bytes so that they can be added a machine word at a time.
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

inline constexpr std::size_t kProductWordBytes = 8;

// Bytes of one product row of g_e: e rounded up to whole words.
constexpr std::size_t ProductRowStride(int32_t e) {
    const auto bytes = static_cast<std::size_t>(e);
    return (bytes + kProductWordBytes - 1) / kProductWordBytes * kProductWordBytes;
}

constexpr std::size_t EccProductBytes() {
    std::size_t bytes = 0;
    for (int32_t e = 1; e <= kMaxEccCodewords; ++e) {
        if (SizeTableUsesEccCount(e)) bytes += 256u * ProductRowStride(e);
    }
    return bytes;
}

struct EccProductTables {
    std::array<uint8_t, EccProductBytes()> products{};
    std::array<int32_t, kMaxEccCodewords + 1> offset{};  // -1 for counts no size uses

    // The 256 product rows of g_e (ProductRowStride(e) bytes apart), or null when no size uses e.
    constexpr const uint8_t* For(int32_t e) const {
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
                tables.products[next + j] = GfMulTable[factor][g[ue - 1 - j]];
            }
            next += ProductRowStride(e);
        }
    }
    return tables;
}

inline constexpr EccProductTables EccProducts = BuildEccProductTables();

}  // namespace ecc200

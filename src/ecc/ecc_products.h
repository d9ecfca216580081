// Per-generator product tables for the Reed-Solomon remainder: for every error-correction count e
// that a symbol size uses, 256 rows, row f holding f times the generator's coefficients from
// x^(e-1) down to x^0. One row lookup replaces e field multiplications. A row is packed into
// whole 64-bit words, coefficient j (of x^(e-1-j)) in bits 8 * (j % 8) of word j / 8, the rest
// zero, so that a remainder kept in the same packing takes a row in a few word operations.
//
// Each count has its own constant, built from whole words: multiplication distributes over the
// field's addition (XOR), so row f is row (f without its lowest bit) XOR row (that bit), and the
// row of a power of two is the previous one doubled lane by lane. That keeps every constant a few
// thousand word operations, within any compiler's default constexpr limits.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

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

namespace detail {

// Every 8-bit lane of a word times 2 in the field.
constexpr uint64_t GfDoubleLanes(uint64_t word) {
    constexpr uint64_t kLowSevenBits = 0x7F7F7F7F7F7F7F7Full;
    constexpr uint64_t kLaneOnes = 0x0101010101010101ull;
    const uint64_t carries = (word >> 7) & kLaneOnes;
    return ((word & kLowSevenBits) << 1) ^ (carries * (kFieldPolynomial & 0xFFu));
}

template <int32_t E>
constexpr std::size_t ProductTableWords() {
    return SizeTableUsesEccCount(E) ? 256u * static_cast<std::size_t>(ProductRowWords(E)) : 0u;
}

// The product rows of one count, in a plain array: element access costs no function call, which
// keeps each table's evaluation short.
template <std::size_t Words>
struct PackedProductRows {
    uint64_t words[Words]{};
};

template <int32_t E>
constexpr PackedProductRows<ProductTableWords<E>()> BuildProductRows() {
    PackedProductRows<ProductTableWords<E>()> rows;
    constexpr auto kWords = static_cast<std::size_t>(ProductRowWords(E));
    const GeneratorPolynomial& g = GeneratorTable[static_cast<std::size_t>(E)];
    uint64_t* const w = rows.words;
    for (std::size_t j = 0; j < static_cast<std::size_t>(E); ++j) {
        w[kWords + j / 8] |= uint64_t{g[static_cast<std::size_t>(E) - 1 - j]} << (8 * (j % 8));
    }
    for (std::size_t factor = 2; factor < 256; ++factor) {
        const std::size_t lowBit = factor & (~factor + 1);
        for (std::size_t i = 0; i < kWords; ++i) {
            w[factor * kWords + i] =
                lowBit == factor ? GfDoubleLanes(w[(factor / 2) * kWords + i])
                                 : w[(factor ^ lowBit) * kWords + i] ^ w[lowBit * kWords + i];
        }
    }
    return rows;
}

template <int32_t E>
inline constexpr PackedProductRows<ProductTableWords<E>()> kProductRows = BuildProductRows<E>();

template <int32_t E>
constexpr const uint64_t* ProductRowsOrNull() {
    if constexpr (ProductTableWords<E>() == 0) {
        return nullptr;
    } else {
        return kProductRows<E>.words;
    }
}

template <int32_t... Counts>
constexpr std::array<const uint64_t*, sizeof...(Counts)> ProductRowsByCount(
    std::integer_sequence<int32_t, Counts...>) {
    return {ProductRowsOrNull<Counts>()...};
}

inline constexpr auto kProductRowsByCount =
    ProductRowsByCount(std::make_integer_sequence<int32_t, kMaxEccCodewords + 1>());

}  // namespace detail

// The 256 product rows of g_e (ProductRowWords(e) words apart), or null when no size uses e.
constexpr const uint64_t* EccProductRows(int32_t e) {
    if (e < 1 || e > kMaxEccCodewords) return nullptr;
    return detail::kProductRowsByCount[static_cast<std::size_t>(e)];
}

}  // namespace ecc200

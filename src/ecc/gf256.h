// Arithmetic in GF(256) over x^8 + x^5 + x^3 + x^2 + 1 (0x12D) with primitive element 2, and the
// Reed-Solomon generator polynomials built from it. All tables are compile-time constants.
#pragma once

#include <array>
#include <cstdint>

namespace ecc200 {

inline constexpr uint32_t kFieldPolynomial = 0x12D;
inline constexpr int32_t kMaxEccCodewords = 68;  // the most error-correction codewords of a block

using GfRow = std::array<uint8_t, 256>;

// a * b without tables: shift and add, reducing by the field polynomial.
constexpr uint8_t GfMultiplySlow(uint8_t a, uint8_t b) {
    uint32_t product = 0;
    uint32_t shifted = a;
    for (uint32_t bits = b; bits != 0; bits >>= 1) {
        if ((bits & 1u) != 0) product ^= shifted;
        shifted <<= 1;
        if ((shifted & 0x100u) != 0) shifted ^= kFieldPolynomial;
    }
    return static_cast<uint8_t>(product);
}

namespace detail {

// alpha^i for i = 0..254, and the exponent of every non-zero element.
struct GfLogTables {
    std::array<uint8_t, 255> exp{};
    std::array<uint8_t, 256> log{};
};

constexpr GfLogTables BuildLogTables() {
    GfLogTables tables;
    uint8_t power = 1;
    for (int32_t i = 0; i < 255; ++i) {
        tables.exp[static_cast<std::size_t>(i)] = power;
        tables.log[power] = static_cast<uint8_t>(i);
        power = GfMultiplySlow(power, 2);
    }
    return tables;
}

inline constexpr GfLogTables kGfLogTables = BuildLogTables();

constexpr std::array<GfRow, 256> BuildMulTable() {
    std::array<GfRow, 256> table{};
    for (std::size_t a = 1; a < 256; ++a) {
        for (std::size_t b = 1; b < 256; ++b) {
            const std::size_t exponent = kGfLogTables.log[a] + kGfLogTables.log[b];
            table[a][b] = kGfLogTables.exp[exponent % 255];
        }
    }
    return table;
}

}  // namespace detail

// GfMulTable[a][b] is the field product a * b.
inline constexpr std::array<GfRow, 256> GfMulTable = detail::BuildMulTable();

// alpha^i for any i >= 0.
constexpr uint8_t GfPower(int32_t i) {
    return detail::kGfLogTables.exp[static_cast<std::size_t>(i % 255)];
}

constexpr uint8_t GfMul(uint8_t a, uint8_t b) {
    return GfMulTable[a][b];
}

// Coefficients of one generator polynomial, from x^0 up to x^e (which is always 1).
using GeneratorPolynomial = std::array<uint8_t, kMaxEccCodewords + 1>;

namespace detail {

constexpr std::array<GeneratorPolynomial, kMaxEccCodewords + 1> BuildGeneratorTable() {
    std::array<GeneratorPolynomial, kMaxEccCodewords + 1> table{};
    GeneratorPolynomial g{};
    g[0] = 1;
    for (std::size_t e = 1; e <= kMaxEccCodewords; ++e) {
        // g_e(x) = g_(e-1)(x) * (x + alpha^e)
        const uint8_t root = GfPower(static_cast<int32_t>(e));
        for (std::size_t j = e; j > 0; --j) {
            g[j] = static_cast<uint8_t>(g[j - 1] ^ GfMulTable[g[j]][root]);
        }
        g[0] = GfMulTable[g[0]][root];
        table[e] = g;
    }
    return table;
}

}  // namespace detail

// GeneratorTable[e] is g_e(x) = (x + alpha^1)(x + alpha^2) ... (x + alpha^e) for e = 1..68,
// coefficient of x^j at index j; entry 0 is unused.
inline constexpr std::array<GeneratorPolynomial, kMaxEccCodewords + 1> GeneratorTable =
    detail::BuildGeneratorTable();

}  // namespace ecc200

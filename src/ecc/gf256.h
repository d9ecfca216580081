// Arithmetic in GF(256) over x^8 + x^5 + x^3 + x^2 + 1 (0x12D) with primitive element 2, and the
// Reed-Solomon generator polynomials built from it. All tables are compile-time constants, each
// small enough to be evaluated within every compiler's default constexpr limits.
#pragma once

#include <array>
#include <cstdint>

namespace ecc200 {

inline constexpr uint32_t kFieldPolynomial = 0x12D;
inline constexpr int32_t kMaxEccCodewords = 68;  // the most error-correction codewords of a block

// a * 2: shift up one bit, reducing by the field polynomial.
constexpr uint8_t GfDouble(uint8_t a) {
    const uint32_t shifted = static_cast<uint32_t>(a) << 1;
    return static_cast<uint8_t>((shifted & 0x100u) != 0 ? shifted ^ kFieldPolynomial : shifted);
}

namespace detail {

// alpha^i for i = 0..254, and the exponent of every non-zero element.
// Plain arrays: element access costs no function call, which keeps the evaluation of the tables
// built from them short.
struct GfLogTables {
    uint8_t exp[255]{};
    uint8_t log[256]{};
};

constexpr GfLogTables BuildLogTables() {
    GfLogTables tables;
    uint8_t power = 1;
    for (int32_t i = 0; i < 255; ++i) {
        tables.exp[i] = power;
        tables.log[power] = static_cast<uint8_t>(i);
        power = GfDouble(power);
    }
    return tables;
}

inline constexpr GfLogTables kGfLogTables = BuildLogTables();

}  // namespace detail

// alpha^i for any i >= 0.
constexpr uint8_t GfPower(int32_t i) {
    return detail::kGfLogTables.exp[i % 255];
}

// a * b through the exponents of a and b.
constexpr uint8_t GfMultiply(uint8_t a, uint8_t b) {
    if (a == 0 || b == 0) return 0;
    return GfPower(detail::kGfLogTables.log[a] + detail::kGfLogTables.log[b]);
}

// The exponent of a non-zero element a: GfPower(GfLog(a)) == a.
constexpr int32_t GfLog(uint8_t a) {
    return detail::kGfLogTables.log[a];
}

// The inverse of a non-zero element.
constexpr uint8_t GfInverse(uint8_t a) {
    return GfPower(255 - GfLog(a));
}

// Coefficients of one generator polynomial, from x^0 up to x^e (which is always 1).
using GeneratorPolynomial = std::array<uint8_t, kMaxEccCodewords + 1>;

namespace detail {

constexpr std::array<GeneratorPolynomial, kMaxEccCodewords + 1> BuildGeneratorTable() {
    std::array<GeneratorPolynomial, kMaxEccCodewords + 1> table{};
    uint8_t g[kMaxEccCodewords + 1]{1};
    for (int32_t e = 1; e <= kMaxEccCodewords; ++e) {
        // g_e(x) = g_(e-1)(x) * (x + alpha^e)
        const uint8_t root = GfPower(e);
        for (int32_t j = e; j > 0; --j) {
            g[j] = static_cast<uint8_t>(g[j - 1] ^ GfMultiply(g[j], root));
        }
        g[0] = GfMultiply(g[0], root);
        table[static_cast<std::size_t>(e)] = std::to_array(g);
    }
    return table;
}

}  // namespace detail

// GeneratorTable[e] is g_e(x) = (x + alpha^1)(x + alpha^2) ... (x + alpha^e) for e = 1..68,
// coefficient of x^j at index j; entry 0 is unused.
inline constexpr std::array<GeneratorPolynomial, kMaxEccCodewords + 1> GeneratorTable =
    detail::BuildGeneratorTable();

}  // namespace ecc200

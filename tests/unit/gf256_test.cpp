#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ecc/ecc_products.h"
#include "ecc/gf256.h"

namespace ecc200 {
namespace {

// Horner evaluation of a polynomial stored lowest power first.
uint8_t Evaluate(const GeneratorPolynomial& g, int32_t degree, uint8_t x) {
    uint8_t value = 0;
    for (int32_t j = degree; j >= 0; --j) {
        value = static_cast<uint8_t>(GfMul(value, x) ^ g[static_cast<std::size_t>(j)]);
    }
    return value;
}

TEST(GfMulTable, AgreesWithShiftAndAddMultiplication) {
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const auto ua = static_cast<uint8_t>(a);
            const auto ub = static_cast<uint8_t>(b);
            ASSERT_EQ(GfMulTable[ua][ub], GfMultiplySlow(ua, ub)) << a << " * " << b;
        }
    }
}

TEST(GfMulTable, TwoGeneratesEveryNonZeroElement) {
    std::set<int> powers;
    for (int32_t i = 0; i < 255; ++i) powers.insert(GfPower(i));
    EXPECT_EQ(powers.size(), 255u);
    EXPECT_EQ(powers.count(0), 0u);
    EXPECT_EQ(GfPower(8), 0x2D);  // x^8 reduced by 0x12D
}

TEST(GeneratorTable, WorkedPolynomials) {
    const std::vector<uint8_t> g5 = {228, 48, 15, 111, 62, 1};
    const std::vector<uint8_t> g7 = {23, 68, 144, 134, 240, 92, 254, 1};
    EXPECT_EQ(std::vector<uint8_t>(GeneratorTable[5].begin(), GeneratorTable[5].begin() + 6), g5);
    EXPECT_EQ(std::vector<uint8_t>(GeneratorTable[7].begin(), GeneratorTable[7].begin() + 8), g7);
}

TEST(GeneratorTable, EveryPolynomialIsMonicWithRootsAlphaOneToE) {
    for (int32_t e = 1; e <= kMaxEccCodewords; ++e) {
        const GeneratorPolynomial& g = GeneratorTable[static_cast<std::size_t>(e)];
        EXPECT_EQ(g[static_cast<std::size_t>(e)], 1) << "e = " << e;
        for (int32_t i = 1; i <= e; ++i) {
            EXPECT_EQ(Evaluate(g, e, GfPower(i)), 0) << "e = " << e << ", root alpha^" << i;
        }
        EXPECT_NE(Evaluate(g, e, GfPower(e + 1)), 0) << "e = " << e;
    }
}

TEST(EccProducts, RowsHoldMultiplesOfTheGeneratorHighestPowerFirst) {
    for (const SymbolSize& size : SymbolSizeTable) {
        const int32_t e = size.blockEccCodewords;
        const uint8_t* products = EccProducts.For(e);
        ASSERT_NE(products, nullptr) << "e = " << e;
        const GeneratorPolynomial& g = GeneratorTable[static_cast<std::size_t>(e)];
        const auto stride = static_cast<int32_t>(ProductRowStride(e));
        ASSERT_EQ(stride % 8, 0);
        for (int factor = 0; factor < 256; ++factor) {
            for (int32_t j = e; j < stride; ++j) ASSERT_EQ(products[factor * stride + j], 0);
            for (int32_t j = 0; j < e; ++j) {
                ASSERT_EQ(products[factor * stride + j],
                          GfMultiplySlow(static_cast<uint8_t>(factor),
                                         g[static_cast<std::size_t>(e - 1 - j)]));
            }
        }
    }
    EXPECT_EQ(EccProducts.For(6), nullptr);
    EXPECT_EQ(EccProducts.For(0), nullptr);
    EXPECT_EQ(EccProducts.For(69), nullptr);
}

}  // namespace
}  // namespace ecc200

// Syndromes, the error locator by Berlekamp-Massey, its roots by Chien search and the error
// values by Forney's formula, over the field and generator roots (alpha^1 .. alpha^e) that the
// encoder uses. A block is read as the polynomial whose coefficient of x^(length - 1 - k) is
// block[k].
#include "decoding/reed_solomon_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace ecc200 {
namespace {

constexpr int32_t kPolynomialCapacity = kMaxEccCodewords + 1;

// A polynomial with coefficients from x^0 up.
struct Polynomial {
    uint8_t c[kPolynomialCapacity] = {};
    int32_t degree = 0;
};

// alpha^j for j = 0..509: a product of two non-zero elements is one lookup at the sum of their
// exponents, without reducing the sum. The syndromes take most of a read's time.
constexpr std::array<uint8_t, 2 * 255> kPowersTwice = [] {
    std::array<uint8_t, 2 * 255> powers{};
    for (int32_t j = 0; j < 2 * 255; ++j) powers[static_cast<std::size_t>(j)] = GfPower(j);
    return powers;
}();

// The value of the block polynomial at alpha^i (1 <= i < 255), by Horner's rule.
uint8_t EvaluateBlock(const uint8_t* block, int32_t length, int32_t i) {
    uint8_t sum = 0;
    for (int32_t k = 0; k < length; ++k) {
        const uint8_t product =
            sum == 0 ? 0 : kPowersTwice[static_cast<std::size_t>(GfLog(sum) + i)];
        sum = static_cast<uint8_t>(product ^ block[k]);
    }
    return sum;
}

// S_1 .. S_e at syndromes[0 .. e - 1]; true when all are zero.
bool ComputeSyndromes(const uint8_t* block, int32_t length, int32_t eccCount, uint8_t* syndromes) {
    bool allZero = true;
    for (int32_t i = 0; i < eccCount; ++i) {
        syndromes[i] = EvaluateBlock(block, length, i + 1);
        if (syndromes[i] != 0) allZero = false;
    }
    return allZero;
}

uint8_t Evaluate(const Polynomial& p, uint8_t x) {
    uint8_t sum = 0;
    for (int32_t i = p.degree; i >= 0; --i) sum = static_cast<uint8_t>(GfMultiply(sum, x) ^ p.c[i]);
    return sum;
}

// The error locator of least degree whose recurrence generates the syndromes; `errors` is the
// length of that recurrence (the locator's degree when the errors are few enough to be found).
Polynomial FindErrorLocator(const uint8_t* syndromes, int32_t eccCount, int32_t& errors) {
    Polynomial locator;
    locator.c[0] = 1;
    Polynomial previous = locator;
    errors = 0;
    int32_t shift = 1;
    uint8_t previousDiscrepancy = 1;
    for (int32_t n = 0; n < eccCount; ++n) {
        uint8_t discrepancy = syndromes[n];
        for (int32_t i = 1; i <= errors; ++i) {
            discrepancy ^= GfMultiply(locator.c[i], syndromes[n - i]);
        }
        if (discrepancy == 0) {
            ++shift;
            continue;
        }
        const uint8_t factor = GfMultiply(discrepancy, GfInverse(previousDiscrepancy));
        const Polynomial before = locator;
        for (int32_t i = 0; i + shift < kPolynomialCapacity && i <= previous.degree; ++i) {
            locator.c[i + shift] ^= GfMultiply(factor, previous.c[i]);
        }
        locator.degree =
            std::min(std::max(locator.degree, previous.degree + shift), kPolynomialCapacity - 1);
        if (2 * errors <= n) {
            errors = n + 1 - errors;
            previous = before;
            previousDiscrepancy = discrepancy;
            shift = 1;
        } else {
            ++shift;
        }
    }
    while (locator.degree > 0 && locator.c[locator.degree] == 0) --locator.degree;
    return locator;
}

// Omega(x) = S(x) * Lambda(x) mod x^e, with S(x) = S_1 + S_2 x + ... + S_e x^(e-1).
Polynomial ErrorEvaluator(const uint8_t* syndromes, int32_t eccCount, const Polynomial& locator) {
    Polynomial omega;
    omega.degree = eccCount - 1;
    for (int32_t i = 0; i < eccCount; ++i) {
        uint8_t sum = 0;
        for (int32_t j = 0; j <= std::min(i, locator.degree); ++j) {
            sum ^= GfMultiply(locator.c[j], syndromes[i - j]);
        }
        omega.c[i] = sum;
    }
    return omega;
}

// Lambda'(x): in characteristic 2 only the odd powers survive.
Polynomial FormalDerivative(const Polynomial& p) {
    Polynomial d;
    d.degree = std::max(p.degree - 1, 0);
    for (int32_t i = 1; i <= p.degree; i += 2) d.c[i - 1] = p.c[i];
    return d;
}

// Finds the locator's roots among the block's positions and the value of each error; false when
// the roots there are not exactly as many as the locator's degree.
bool LocateErrors(const Polynomial& locator, const Polynomial& omega, int32_t length,
                  BlockCorrection& correction) {
    const Polynomial derivative = FormalDerivative(locator);
    correction.count = 0;
    for (int32_t power = 0; power < length; ++power) {
        const uint8_t inverse = GfPower(255 - power);  // X^-1 for X = alpha^power
        if (Evaluate(locator, inverse) != 0) continue;
        const uint8_t denominator = Evaluate(derivative, inverse);
        if (denominator == 0 || correction.count == locator.degree) return false;
        const uint8_t value = GfMultiply(Evaluate(omega, inverse), GfInverse(denominator));
        if (value == 0) return false;
        correction.positions[correction.count] = static_cast<int16_t>(length - 1 - power);
        correction.values[correction.count] = value;
        ++correction.count;
    }
    return correction.count == locator.degree;
}

}  // namespace

bool CorrectBlock(uint8_t* block, int32_t length, int32_t eccCount, BlockCorrection& correction) {
    correction.count = 0;
    if (eccCount < 1 || eccCount > kMaxEccCodewords || length <= eccCount || length > 255) {
        return false;
    }
    uint8_t syndromes[kMaxEccCodewords];
    if (ComputeSyndromes(block, length, eccCount, syndromes)) return true;
    int32_t errors = 0;
    const Polynomial locator = FindErrorLocator(syndromes, eccCount, errors);
    if (locator.degree != errors || errors < 1 || errors > eccCount / 2) return false;
    const Polynomial omega = ErrorEvaluator(syndromes, eccCount, locator);
    BlockCorrection found;
    if (!LocateErrors(locator, omega, length, found)) return false;
    for (int32_t i = 0; i < found.count; ++i) block[found.positions[i]] ^= found.values[i];
    if (!ComputeSyndromes(block, length, eccCount, syndromes)) {
        for (int32_t i = 0; i < found.count; ++i) block[found.positions[i]] ^= found.values[i];
        return false;
    }
    correction = found;
    return true;
}

}  // namespace ecc200

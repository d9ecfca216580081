// Simulated photographs: a symbol turned by any angle and seen at a slant is found by each
// photograph locator and sampled back to the library's own module matrix (a few modules may be
// sampled wrong at a module's edge: error correction mends those).
#include <gtest/gtest.h>

#include "image_fixtures.h"
#include "symbol_reader.h"

namespace ecc200_imaging::testing {
namespace {

struct Photo {
    int32_t size;
    double scale, angle, slant;
    bool outline;      // whether the outline locator must find it
    bool dmtx = true;  // whether libdmtx's finder must (it misses some large slanted symbols)
};

// Modules sampled differently from the matrix written.
std::size_t Differences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size()) return a.size() + b.size();
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.size(); ++i) count += a[i] != b[i] ? 1u : 0u;
    return count;
}

// Which locators must find each: the outline of the dark region is refined by moving corners,
// which mends a turn and a mild slant but not a strong one near upright.
constexpr bool kOutline = true, kNo = false;
const Photo kPhotos[] = {
    {ECC200_SIZE_12X12, 5, 17, 0, kOutline},
    {ECC200_SIZE_24X24, 4, 33, 0.03, kOutline},
    {ECC200_SIZE_36X36, 4, 61, 0, kOutline},
    {ECC200_SIZE_52X52, 4, 128, 0.04, kOutline},
    {ECC200_SIZE_72X72, 4, 200, 0, kOutline},
    {ECC200_SIZE_104X104, 3.5, 301, 0.02, kOutline, kNo},
    {ECC200_SIZE_144X144, 3.5, 77, 0, kOutline},
    {ECC200_SIZE_16X48, 5, 222, 0.03, kOutline},
    {ECC200_SIZE_12X26, 5, 45, 0, kOutline},
    {ECC200_SIZE_32X32, 4.5, 3, 0.05, kNo},
};

// The best candidate of a locator, as the reader would try it first.
std::size_t BestDifferences(const std::vector<LocatedSymbol>& found, const Matrix& written) {
    std::size_t best = written.modules.size();
    for (const LocatedSymbol& s : found)
        best = std::min(best, Differences(s.modules, written.modules));
    return best;
}

// Each locator that must find a photograph samples it back to the written matrix, and ReadImage
// reads it and says which locator did.
TEST(PhotographLocating, LocatorsFindTurnedAndSlantedSymbolsAndReadImageReadsThem) {
    for (const Photo& p : kPhotos) {
        const Matrix written = Encode("1", p.size);
        const GreyImage photo = DrawPhotograph(written, p.scale, p.angle, p.slant);
        SCOPED_TRACE(std::to_string(written.rows) + "x" + std::to_string(written.cols));
        // Modules may differ only where anti-aliasing greys a module's edge: 2 in 100 at most,
        // well within what error correction mends.
        const std::size_t allowed = written.modules.size() / 50;
        if (p.outline) {
            EXPECT_LE(BestDifferences(LocatePhotographSymbols(photo, Locator::kOutline), written),
                      allowed);
        }
        if (p.dmtx && HavePhotographLocators()) {
            EXPECT_LE(BestDifferences(LocatePhotographSymbols(photo, Locator::kDmtx), written),
                      allowed);
        }
        const ImageReading reading =
            ReadImage(DrawPhotograph(Encode("42", p.size), p.scale, p.angle, p.slant), {});
        ASSERT_EQ(reading.status, ECC200_OK);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(reading.reading.data),
                              static_cast<std::size_t>(reading.reading.dataLength)),
                  "42");
        ASSERT_TRUE(reading.symbol.has_value());
        EXPECT_NE(reading.symbol->locator, Locator::kRaster);
    }
}

}  // namespace
}  // namespace ecc200_imaging::testing

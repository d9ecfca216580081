// Clean rasters: every look and file format a symbol comes in gives back, through loading,
// locating and sampling, exactly the module matrix the library wrote.
#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/size_table.h"

#include "image_file.h"
#include "image_fixtures.h"
#include "symbol_reader.h"

namespace ecc200_imaging::testing {
namespace {

struct Case {
    const char* name;
    int32_t size;
    Look look;
    const char* format = "";  // as FileBytes names it
};

const std::string kDigits = "0123456789012345678901234567890123456789";

const Case kCases[] = {
    {"one_pixel_a_module", ECC200_SIZE_24X24, {.scale = 1}},
    {"one_pixel_no_quiet_zone", ECC200_SIZE_24X24, {.scale = 1, .quiet = 0}},
    {"one_and_a_half", ECC200_SIZE_32X32, {.scale = 1.5}},
    {"two", ECC200_SIZE_10X10, {.scale = 2}},
    {"two_point_seven", ECC200_SIZE_52X52, {.scale = 2.7}},
    {"three_point_three", ECC200_SIZE_16X48, {.scale = 3.3}},
    {"five", ECC200_SIZE_144X144, {.scale = 5}},
    {"seven_point_one", ECC200_SIZE_8X18, {.scale = 7.1}},
    {"ten", ECC200_SIZE_64X64, {.scale = 10}},
    {"turned_once", ECC200_SIZE_24X24, {.scale = 3, .quarterTurns = 1}},
    {"turned_twice", ECC200_SIZE_12X36, {.scale = 3, .quarterTurns = 2}},
    {"turned_thrice", ECC200_SIZE_40X40, {.scale = 2.5, .quarterTurns = 3}},
    {"rectangle_turned", ECC200_SIZE_16X36, {.scale = 4, .quarterTurns = 1}},
    {"mirrored", ECC200_SIZE_24X24, {.scale = 3, .mirrored = true}},
    {"mirrored_turned", ECC200_SIZE_12X26, {.scale = 3, .quarterTurns = 3, .mirrored = true}},
    {"inverted", ECC200_SIZE_26X26, {.scale = 4, .inverted = true}},
    {"inverted_one_pixel", ECC200_SIZE_20X20, {.scale = 1, .inverted = true}},
    {"inverted_mirrored_turned",
     ECC200_SIZE_36X36,
     {.scale = 3, .quarterTurns = 1, .mirrored = true, .inverted = true}},
    {"noise", ECC200_SIZE_32X32, {.scale = 4, .noise = 60}},
    {"blur", ECC200_SIZE_32X32, {.scale = 3, .blurred = true}},
    {"blur_and_noise", ECC200_SIZE_72X72, {.scale = 4, .noise = 40, .blurred = true}},
    {"png", ECC200_SIZE_18X18, {.scale = 3}, "png"},
    {"bmp_1_bit", ECC200_SIZE_18X18, {.scale = 3}, "bmp1"},
    {"bmp_4_bits", ECC200_SIZE_18X18, {.scale = 3, .quarterTurns = 1}, "bmp4"},
    {"bmp_8_bits", ECC200_SIZE_18X18, {.scale = 2}, "bmp8"},
    {"bmp_24_bits", ECC200_SIZE_18X18, {.scale = 2, .inverted = true}, "bmp24"},
    {"bmp_32_bits_top_down", ECC200_SIZE_18X18, {.scale = 2}, "bmp32t"},
    {"pbm_text", ECC200_SIZE_14X14, {.scale = 2}, "pnm1"},
    {"pgm_text", ECC200_SIZE_14X14, {.scale = 2}, "pnm2"},
    {"pbm", ECC200_SIZE_14X14, {.scale = 1}, "pnm4"},
    {"pgm", ECC200_SIZE_14X14, {.scale = 2}, "pnm5"},
    {"ppm", ECC200_SIZE_14X14, {.scale = 2}, "pnm6"},
    {"jpeg_quality_50", ECC200_SIZE_44X44, {.scale = 4}, "jpeg50"},
    {"jpeg_quality_50_turned", ECC200_SIZE_88X88, {.scale = 5, .quarterTurns = 2}, "jpeg50"},
    {"jpeg_quality_90_small", ECC200_SIZE_32X32, {.scale = 3}, "jpeg90"},
};

class RasterReading : public ::testing::TestWithParam<Case> {};

TEST_P(RasterReading, SamplesTheWrittenMatrix) {
    const Case& c = GetParam();
    // As many digits as the size holds, up to 40: a symbol with data in every block.
    const auto digits = static_cast<std::size_t>(2 * ecc200::SizeAt(c.size).totalDataCodewords);
    const Matrix written = Encode(kDigits.substr(0, std::min<std::size_t>(40, digits)), c.size);
    ASSERT_GT(written.rows, 0);
    GreyImage image = Draw(written, c.look);
    if (*c.format != '\0') {
        const std::string bytes = FileBytes(image, c.format);
        LoadedImage loaded =
            LoadImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ASSERT_TRUE(loaded.ok()) << loaded.error;
        ASSERT_EQ(loaded.image.width, image.width);
        ASSERT_EQ(loaded.image.height, image.height);
        image = std::move(loaded.image);
    }
    const std::vector<LocatedSymbol> found = LocateRasterSymbols(image);
    ASSERT_FALSE(found.empty());
    bool same = false;
    for (const LocatedSymbol& s : found) {
        same = same || (s.grid.rows == written.rows && s.grid.cols == written.cols &&
                        s.modules == written.modules && s.inverted == c.look.inverted);
    }
    EXPECT_TRUE(same) << "first found " << found[0].grid.rows << "x" << found[0].grid.cols
                      << " score " << found[0].grid.score;
}

INSTANTIATE_TEST_SUITE_P(Looks, RasterReading, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

// Every size at one and at four pixels a module.
TEST(RasterReadingSizes, EverySizeIsFoundAndSampled) {
    for (int32_t size = 0; size < 30; ++size) {
        const Matrix written = Encode("1", size);
        for (double scale : {1.0, 4.0}) {
            const std::vector<LocatedSymbol> found =
                LocateRasterSymbols(Draw(written, {.scale = scale}));
            ASSERT_FALSE(found.empty()) << size << " at " << scale;
            EXPECT_EQ(found[0].grid.rows, written.rows) << size << " at " << scale;
            EXPECT_EQ(found[0].grid.cols, written.cols) << size << " at " << scale;
            EXPECT_EQ(found[0].modules, written.modules) << size << " at " << scale;
        }
    }
}

// An image without a symbol yields no candidate: blank, noise alone, a solid block.
TEST(RasterReadingSizes, NothingFoundWhereNoSymbolIs) {
    const GreyImage blank = BlankImage(64, 64);
    EXPECT_TRUE(LocateRasterSymbols(blank).empty());
    GreyImage block = BlankImage(64, 64);
    for (int y = 10; y < 50; ++y)
        for (int x = 10; x < 50; ++x) block.pixels[static_cast<std::size_t>(y * 64 + x)] = 0;
    EXPECT_TRUE(LocateRasterSymbols(block).empty());
}

}  // namespace
}  // namespace ecc200_imaging::testing

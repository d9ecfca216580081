// Damaged and hostile image files: every prefix, seeded byte damage and absurd sizes in each
// format fail with a message (or read), never crash, and never allocate for the size claimed.
#include <gtest/gtest.h>

#include <random>

#include "image_file.h"
#include "image_fixtures.h"
#include "symbol_reader.h"

namespace ecc200_imaging::testing {
namespace {

std::vector<std::string> ValidFiles() {
    const GreyImage image = Draw(Encode("hostile"), {.scale = 2});
    std::vector<std::string> files;
    for (const char* format : {"png", "jpeg75", "bmp1", "bmp4t", "bmp8", "bmp24t", "bmp32", "pnm1",
                               "pnm2", "pnm4", "pnm5", "pnm6"})
        files.push_back(FileBytes(image, format));
    return files;
}

LoadedImage Load(const std::string& bytes) {
    return LoadImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// A loaded image is always as large as it says, and reading it ends.
void ExpectSound(const LoadedImage& loaded) {
    if (!loaded.ok()) {
        EXPECT_TRUE(loaded.image.pixels.empty());
        return;
    }
    EXPECT_EQ(loaded.image.pixels.size(), static_cast<std::size_t>(loaded.image.width) *
                                              static_cast<std::size_t>(loaded.image.height));
    ReadRequest rasterOnly;
    rasterOnly.photographs = false;
    (void)ReadImage(loaded.image, rasterOnly);
}

TEST(HostileFiles, EveryPrefixFailsCleanly) {
    for (const std::string& whole : ValidFiles()) {
        ASSERT_TRUE(Load(whole).ok()) << Load(whole).error;
        for (std::size_t cut = 0; cut < whole.size(); cut += 1 + whole.size() / 300) {
            const LoadedImage loaded = Load(whole.substr(0, cut));
            ExpectSound(loaded);
        }
    }
}

TEST(HostileFiles, SeededDamageNeverCrashes) {
    std::mt19937 random(19);
    for (const std::string& whole : ValidFiles()) {
        for (int round = 0; round < 60; ++round) {
            std::string damaged = whole;
            std::uniform_int_distribution<std::size_t> at(0, damaged.size() - 1);
            // Headers hold the sizes and offsets: damage the first bytes more often.
            for (int k = 0; k < 4; ++k) {
                const std::size_t where = round % 2 == 0 ? at(random) % 64 : at(random);
                damaged[where % damaged.size()] = static_cast<char>(random());
            }
            ExpectSound(Load(damaged));
        }
    }
}

TEST(HostileFiles, AbsurdSizesAreRefusedBeforeAllocating) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string bmp = "BM" + std::string(52, '\0');
    bmp[14] = 40;                                           // header size
    bmp[18] = bmp[19] = bmp[20] = static_cast<char>(0xFF);  // width 0x00FFFFFF
    bmp[22] = bmp[23] = bmp[24] = static_cast<char>(0xFF);  // height 0x00FFFFFF
    bmp[28] = 8;
    std::string png = PngBytes(BlankImage(1, 1));
    for (std::size_t i = 16; i < 24; ++i) png[i] = static_cast<char>(i % 2 == 0 ? 0x7F : 0xFF);
    const Case cases[] = {
        {"pgm", "P5\n100000 100000\n255\n"},
        {"pgm_overflow", "P5\n99999999999999999999 2\n255\n"},
        {"pbm_text", "P1\n40000 40000\n1 0 1"},
        {"bmp", bmp},
        {"png_header", png},
    };
    for (const Case& c : cases) {
        const LoadedImage loaded = Load(c.bytes);
        EXPECT_FALSE(loaded.ok()) << c.name;
        ExpectSound(loaded);
    }
    EXPECT_NE(Load(cases[0].bytes).error.find("megapixels"), std::string::npos);
}

TEST(HostileFiles, UnknownAndEmptyInputsSayWhy) {
    EXPECT_EQ(Load("").error, "the file is empty");
    EXPECT_NE(Load("GIF89a").error.find("not an image file"), std::string::npos);
    EXPECT_NE(LoadImageFile("no/such/file.png").error.find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace ecc200_imaging::testing

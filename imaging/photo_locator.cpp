// The photograph locators through the public interfaces of zxing-cpp (the position of each symbol
// it decodes) and libdmtx (dmtxRegionFindNext and the region's fitted grid-to-pixel transform).
#include "photo_locator.h"

#include <ZXing/ReadBarcode.h>
#include <dmtx.h>

#include <memory>

#include "symbol_reader.h"

namespace ecc200_imaging {

namespace {

// libdmtx's finder searches until it has tried every edge; a hostile image must not hold a read
// for long.
constexpr long kDmtxMilliseconds = 1500;
// Images whose shorter side is at least this are also searched halved by libdmtx.
constexpr int32_t kHalvingSide = 240;

Point PointOf(const ZXing::PointI& p) {
    return {p.x + 0.5, p.y + 0.5};
}

std::vector<std::array<Point, 4>> FindRegions(GreyImage& image, double scale) {
    std::vector<std::array<Point, 4>> quads;
    DmtxImage* raw = dmtxImageCreate(image.pixels.data(), image.width, image.height, DmtxPack8bppK);
    if (raw == nullptr) return quads;
    DmtxDecode* decode = dmtxDecodeCreate(raw, 1);
    if (decode != nullptr) {
        DmtxTime timeout = dmtxTimeAdd(dmtxTimeNow(), kDmtxMilliseconds);
        for (int found = 0; found < 8; ++found) {
            DmtxRegion* region = dmtxRegionFindNext(decode, &timeout);
            if (region == nullptr) break;
            // The fitted grid covers the unit square; its corners mapped to pixels, whose rows
            // libdmtx counts from the bottom.
            std::array<Point, 4> quad;
            const double unit[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
            for (std::size_t i = 0; i < 4; ++i) {
                DmtxVector2 in{unit[i][0], unit[i][1]}, out{};
                dmtxMatrix3VMultiply(&out, &in, region->fit2raw);
                quad[i] = {out.X * scale, (image.height - out.Y) * scale};
            }
            quads.push_back(quad);
            dmtxRegionDestroy(&region);
        }
        dmtxDecodeDestroy(&decode);
    }
    dmtxImageDestroy(&raw);
    return quads;
}

GreyImage Halved(const GreyImage& image) {
    GreyImage half = BlankImage(image.width / 2, image.height / 2);
    for (int32_t y = 0; y < half.height; ++y) {
        for (int32_t x = 0; x < half.width; ++x) {
            const int sum = image.at(2 * x, 2 * y) + image.at(2 * x + 1, 2 * y) +
                            image.at(2 * x, 2 * y + 1) + image.at(2 * x + 1, 2 * y + 1);
            half.pixels[static_cast<std::size_t>(y * half.width + x)] =
                static_cast<uint8_t>((sum + 2) / 4);
        }
    }
    return half;
}

}  // namespace

bool HavePhotographLocators() {
    return true;
}

std::vector<std::array<Point, 4>> ZxingCorners(const GreyImage& image) {
    std::vector<std::array<Point, 4>> quads;
    const auto results = ZXing::ReadBarcodes(
        {image.pixels.data(), image.width, image.height, ZXing::ImageFormat::Lum},
        ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::DataMatrix).setTryHarder(true));
    for (const ZXing::Result& result : results) {
        if (!result.isValid()) continue;
        const auto& p = result.position();
        quads.push_back({PointOf(p.topLeft()), PointOf(p.topRight()), PointOf(p.bottomRight()),
                         PointOf(p.bottomLeft())});
    }
    return quads;
}

std::vector<std::array<Point, 4>> DmtxCorners(const GreyImage& image) {
    GreyImage copy = image;  // libdmtx takes a writable buffer
    std::vector<std::array<Point, 4>> quads = FindRegions(copy, 1.0);
    if (std::min(image.width, image.height) >= kHalvingSide) {
        GreyImage half = Halved(image);
        for (const auto& quad : FindRegions(half, 2.0)) quads.push_back(quad);
    }
    return quads;
}

}  // namespace ecc200_imaging

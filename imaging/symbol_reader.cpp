// Reading an image: candidates from the raster finder in both polarities, then from the
// photograph locators; each candidate's modules handed to ReadMatrix_ECC200 until one decodes.
#include "symbol_reader.h"

#include <algorithm>

#include "binarise.h"
#include "photo_locator.h"
#include "raster_locator.h"

namespace ecc200_imaging {

namespace {

// Photograph grids are kept from a loose first fit, refined, and kept when they then fit well.
constexpr double kMinRoughScore = 0.6;
constexpr double kFitsAlready = 0.97;
constexpr std::size_t kRefined = 8;
// Grey levels between the darkest and the lightest pixel below which a picture is blank.
constexpr int kMinSymbolContrast = 24;
constexpr double kMinPhotoScore = 0.75;

// Most images are dark on light: the border of a light quiet zone is mostly light. Without a
// quiet zone the border is the finder and timing (three quarters dark), so only a border darker
// than that says the ground is dark.
bool LooksInverted(const BinaryImage& image) {
    int64_t dark = 0, total = 0;
    for (int32_t x = 0; x < image.width; ++x) {
        dark += image.at(x, 0) + image.at(x, image.height - 1);
        total += 2;
    }
    for (int32_t y = 0; y < image.height; ++y) {
        dark += image.at(0, y) + image.at(image.width - 1, y);
        total += 2;
    }
    return dark * 100 > total * 85;
}

std::vector<LocatedSymbol> Sampled(const BinaryImage& image, const std::vector<SymbolGrid>& grids,
                                   bool inverted, Locator locator) {
    std::vector<LocatedSymbol> symbols;
    for (const SymbolGrid& grid : grids) {
        symbols.push_back({grid, SampleModules(image, grid), inverted, locator});
    }
    return symbols;
}

std::vector<LocatedSymbol> FromCorners(const BinaryImage& dark, const BinaryImage& light,
                                       const std::vector<std::array<Point, 4>>& quads,
                                       Locator locator) {
    std::vector<LocatedSymbol> symbols;
    for (const auto& quad : quads) {
        for (int inverted = 0; inverted < 2; ++inverted) {
            const BinaryImage& image = inverted != 0 ? light : dark;
            // The two likeliest readings of the quadrilateral are refined (a square symbol reads
            // as itself and as its mirror image); a reading that fits already is kept as it is.
            std::vector<SymbolGrid> refined;
            std::vector<SymbolGrid> rough = GridsFromCorners(image, quad, kMinRoughScore);
            if (rough.size() > kRefined) rough.resize(kRefined);
            for (const SymbolGrid& start : rough) {
                const SymbolGrid grid =
                    start.score >= kFitsAlready ? start : RefineGrid(image, start);
                if (grid.score >= kMinPhotoScore) refined.push_back(grid);
            }
            std::stable_sort(refined.begin(), refined.end(), BetterGrid);
            for (LocatedSymbol& s : Sampled(image, refined, inverted != 0, locator)) {
                // A grid whose frame fits well but whose middle may bend (a curved or unevenly
                // slanted picture) is also sampled region by region.
                const bool regionsToo = s.grid.score >= kFitsAlready;
                const SymbolGrid grid = s.grid;
                symbols.push_back(std::move(s));
                if (regionsToo) {
                    symbols.push_back(
                        {grid, SampleModulesByRegion(image, grid), inverted != 0, locator});
                }
            }
        }
    }
    return symbols;
}

// The raster grids of the likelier polarity, then of the other, handed to use (with the binary
// image they lie on and whether it is inverted) until it says it is done.
template <typename Use>
void ForEachRasterPolarity(const GreyImage& image, Use use) {
    const BinaryImage dark = Binarise(image);
    const bool lightFirst = LooksInverted(dark);
    // A clean two-level picture is first taken as one symbol on its ground (dark on light: its
    // dark pixels' box; light on dark needs the ground's regions), then region by region.
    if (dark.clean && !lightFirst && use(dark, LocateCleanSymbol(dark), false)) return;
    if (lightFirst) {
        const BinaryImage light = Inverted(dark);
        if (use(light, LocateInRaster(light), true)) return;
        use(dark, LocateInRaster(dark), false);
        return;
    }
    if (use(dark, LocateInRaster(dark), false)) return;
    const BinaryImage light = Inverted(dark);
    use(light, LocateInRaster(light), true);
}

// A picture of one grey level holds no symbol (and its inverse is one dark region whose outline
// the photograph locators would try). Every seventh pixel is looked at: a symbol spans far more.
bool HasContrast(const GreyImage& image) {
    int darkest = 255, lightest = 0;
    for (std::size_t i = 0; i < image.pixels.size(); i += 7) {
        darkest = std::min<int>(darkest, image.pixels[i]);
        lightest = std::max<int>(lightest, image.pixels[i]);
    }
    return lightest - darkest >= kMinSymbolContrast;
}

int32_t CorrectedCodewords(const ECC200_Reading& reading) {
    int32_t sum = 0;
    for (int32_t b = 0; b < reading.blockCount && b < ECC200_MAX_BLOCKS; ++b)
        sum += reading.errors[b];
    return sum;
}

// Tries the candidates in order; true when the reading is final: decoded with no more corrections
// than a user mark makes (one a block), or a failure that no other candidate would change. A
// decode that needed more corrections is kept while better-sampled candidates are looked for: the
// corrections may have hidden the user mark's codeword.
bool TryCandidates(std::vector<LocatedSymbol>& candidates, const ReadRequest& request,
                   ImageReading& result) {
    for (LocatedSymbol& candidate : candidates) {
        ImageReading attempt =
            ReadModules(candidate.modules, candidate.grid.rows, candidate.grid.cols, request);
        if (!result.symbol) result.symbol = candidate;
        if (attempt.status == ECC200_ERR_UNREADABLE) continue;
        if (attempt.status != ECC200_OK) {
            result.status = attempt.status;
            result.symbol = std::move(candidate);
            return true;
        }
        const bool better = result.status != ECC200_OK || CorrectedCodewords(attempt.reading) <
                                                              CorrectedCodewords(result.reading);
        if (better) {
            result.status = attempt.status;
            result.reading = attempt.reading;
            result.symbol = std::move(candidate);
        }
        if (CorrectedCodewords(result.reading) <= result.reading.blockCount) return true;
    }
    return false;
}

}  // namespace

const char* LocatorName(Locator locator) {
    switch (locator) {
        case Locator::kRaster:
            return "raster";
        case Locator::kZxing:
            return "zxing";
        case Locator::kOutline:
            return "outline";
        case Locator::kDmtx:
            return "dmtx";
        case Locator::kNone:
            break;
    }
    return "none";
}

std::vector<LocatedSymbol> LocateRasterSymbols(const GreyImage& image) {
    std::vector<LocatedSymbol> symbols;
    ForEachRasterPolarity(
        image, [&](const BinaryImage& binary, const std::vector<SymbolGrid>& grids, bool inverted) {
            for (LocatedSymbol& s : Sampled(binary, grids, inverted, Locator::kRaster)) {
                symbols.push_back(std::move(s));
            }
            return false;
        });
    return symbols;
}

std::vector<LocatedSymbol> LocatePhotographSymbols(const GreyImage& image, Locator locator) {
    const BinaryImage dark = Binarise(image);
    const BinaryImage light = Inverted(dark);
    switch (locator) {
        case Locator::kZxing:
            return FromCorners(dark, light, ZxingCorners(image), locator);
        case Locator::kDmtx:
            return FromCorners(dark, light, DmtxCorners(image), locator);
        case Locator::kOutline: {
            std::vector<LocatedSymbol> symbols =
                FromCorners(dark, dark, OutlineQuads(dark), locator);
            for (LocatedSymbol& s : FromCorners(light, light, OutlineQuads(light), locator)) {
                s.inverted = true;
                symbols.push_back(std::move(s));
            }
            return symbols;
        }
        case Locator::kRaster:
        case Locator::kNone:
            break;
    }
    return {};
}

ImageReading ReadModules(const std::vector<uint8_t>& modules, int32_t rows, int32_t cols,
                         const ReadRequest& request) {
    ImageReading result;
    if (static_cast<int64_t>(modules.size()) != static_cast<int64_t>(rows) * cols) {
        result.status = ECC200_ERR_PARAMETER;
        return result;
    }
    result.status = ReadMatrix_ECC200(
        modules.data(), rows, cols, request.productId ? request.productId->c_str() : nullptr,
        request.identityFile ? request.identityFile->c_str() : nullptr, &result.reading);
    return result;
}

ImageReading ReadImage(const GreyImage& image, const ReadRequest& request) {
    ImageReading result;
    if (!HasContrast(image)) return result;
    bool done = false;
    ForEachRasterPolarity(image, [&](const BinaryImage& binary,
                                     const std::vector<SymbolGrid>& grids, bool inverted) {
        // Sampled one at a time: the first grid usually decodes.
        for (const SymbolGrid& grid : grids) {
            std::vector<LocatedSymbol> one = Sampled(binary, {grid}, inverted, Locator::kRaster);
            if (TryCandidates(one, request, result)) return done = true;
        }
        return false;
    });
    // A clean raster sampled where it lies: corrections there come from the picture itself, and
    // no other locator would sample it better.
    if (done || result.status == ECC200_OK || !request.photographs) return result;
    // zxing-cpp first: it is quick, and what it decodes we sample from its position. Then the
    // outlines of dark regions, and libdmtx's finder, slower, which both find what no reader
    // decodes (product-marked symbols).
    for (Locator locator : {Locator::kZxing, Locator::kOutline, Locator::kDmtx}) {
        std::vector<LocatedSymbol> photo = LocatePhotographSymbols(image, locator);
        if (TryCandidates(photo, request, result)) return result;
    }
    return result;
}

}  // namespace ecc200_imaging

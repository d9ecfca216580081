// Binarisation: a clean two-level raster by its global (Otsu) threshold; anything else adaptively
// over blocks: each block's mean, minimum and maximum; a pixel is dark when
// below the mean of the 5 x 5 blocks around its own, unless those blocks are nearly flat, where the
// global (Otsu) threshold decides so that the inside of a large module keeps its colour.
#include "binarise.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ecc200_imaging {

namespace {

// Contrast below which a neighbourhood counts as flat.
constexpr int kMinContrast = 40;

struct GlobalThreshold {
    int threshold = 128;
    bool twoLevels = false;  // nearly every pixel close to one of two well-separated levels
};

// Otsu's threshold over the histogram, and whether the picture is a clean two-level raster (an
// output of ours, a flat scan), for which that threshold alone is right everywhere.
GlobalThreshold OtsuThreshold(const GreyImage& image) {
    // Four histograms filled in turn, so consecutive equal pixels do not wait on one counter.
    std::array<std::array<int64_t, 256>, 4> partial{};
    const std::size_t n = image.pixels.size();
    std::size_t at = 0;
    for (; at + 4 <= n; at += 4) {
        ++partial[0][image.pixels[at]];
        ++partial[1][image.pixels[at + 1]];
        ++partial[2][image.pixels[at + 2]];
        ++partial[3][image.pixels[at + 3]];
    }
    for (; at < n; ++at) ++partial[0][image.pixels[at]];
    std::array<int64_t, 256> histogram{};
    for (std::size_t v = 0; v < 256; ++v) {
        histogram[v] = partial[0][v] + partial[1][v] + partial[2][v] + partial[3][v];
    }
    const auto total = static_cast<double>(image.pixels.size());
    double sumAll = 0;
    for (int i = 0; i < 256; ++i) {
        sumAll += i * static_cast<double>(histogram[static_cast<std::size_t>(i)]);
    }
    double sumBelow = 0, countBelow = 0, best = -1;
    GlobalThreshold result;
    double bestMeanBelow = 0, bestMeanAbove = 255;
    for (int t = 0; t < 256; ++t) {
        countBelow += static_cast<double>(histogram[static_cast<std::size_t>(t)]);
        sumBelow += t * static_cast<double>(histogram[static_cast<std::size_t>(t)]);
        const double countAbove = total - countBelow;
        if (countBelow == 0 || countAbove == 0) continue;
        const double meanBelow = sumBelow / countBelow,
                     meanAbove = (sumAll - sumBelow) / countAbove;
        const double between =
            countBelow * countAbove * (meanBelow - meanAbove) * (meanBelow - meanAbove);
        if (between > best) {
            best = between;
            result.threshold = t + 1;  // dark is below: t itself belongs to the dark class
            bestMeanBelow = meanBelow;
            bestMeanAbove = meanAbove;
        }
    }
    // Two levels: the classes' means far apart and all but a few pixels near one of them.
    const double gap = bestMeanAbove - bestMeanBelow;
    if (gap >= 2 * kMinContrast) {
        double near = 0;
        for (int i = 0; i < 256; ++i) {
            if (std::min(std::abs(i - bestMeanBelow), std::abs(i - bestMeanAbove)) <= gap / 8) {
                near += static_cast<double>(histogram[static_cast<std::size_t>(i)]);
            }
        }
        result.twoLevels = near >= 0.995 * total;
    }
    return result;
}

struct BlockStats {
    int32_t mean = 0, min = 255, max = 0;
};

int32_t BlockSide(const GreyImage& image) {
    return std::clamp(std::min(image.width, image.height) / 40, 4, 64);
}

}  // namespace

BinaryImage Binarise(const GreyImage& image) {
    BinaryImage out{image.width, image.height, std::vector<uint8_t>(image.pixels.size(), 0)};
    const GlobalThreshold otsu = OtsuThreshold(image);
    const int global = otsu.threshold;
    if (otsu.twoLevels) {
        out.clean = true;
        for (std::size_t i = 0; i < image.pixels.size(); ++i) {
            out.dark[i] = image.pixels[i] < global ? 1 : 0;
        }
        return out;
    }
    const int32_t side = BlockSide(image);
    const int32_t bw = (image.width + side - 1) / side, bh = (image.height + side - 1) / side;
    std::vector<BlockStats> blocks(static_cast<std::size_t>(bw) * static_cast<std::size_t>(bh));
    for (int32_t by = 0; by < bh; ++by) {
        for (int32_t bx = 0; bx < bw; ++bx) {
            BlockStats& s = blocks[static_cast<std::size_t>(by * bw + bx)];
            int64_t sum = 0, count = 0;
            for (int32_t y = by * side; y < std::min(image.height, (by + 1) * side); ++y) {
                for (int32_t x = bx * side; x < std::min(image.width, (bx + 1) * side); ++x) {
                    const int p = image.at(x, y);
                    sum += p;
                    ++count;
                    s.min = std::min(s.min, p);
                    s.max = std::max(s.max, p);
                }
            }
            s.mean = static_cast<int32_t>(sum / count);
        }
    }
    for (int32_t by = 0; by < bh; ++by) {
        for (int32_t bx = 0; bx < bw; ++bx) {
            int64_t sum = 0, count = 0;
            int32_t low = 255, high = 0;
            for (int32_t ny = std::max(0, by - 2); ny <= std::min(bh - 1, by + 2); ++ny) {
                for (int32_t nx = std::max(0, bx - 2); nx <= std::min(bw - 1, bx + 2); ++nx) {
                    const BlockStats& s = blocks[static_cast<std::size_t>(ny * bw + nx)];
                    sum += s.mean;
                    ++count;
                    low = std::min(low, s.min);
                    high = std::max(high, s.max);
                }
            }
            const int threshold = high - low < kMinContrast
                                      ? global
                                      : static_cast<int>((sum / count + (low + high) / 2) / 2) + 1;
            for (int32_t y = by * side; y < std::min(image.height, (by + 1) * side); ++y) {
                for (int32_t x = bx * side; x < std::min(image.width, (bx + 1) * side); ++x) {
                    out.dark[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                             static_cast<std::size_t>(x)] = image.at(x, y) < threshold ? 1 : 0;
                }
            }
        }
    }
    return out;
}

BinaryImage Inverted(const BinaryImage& image) {
    BinaryImage out = image;
    for (uint8_t& d : out.dark) d = d != 0 ? 0 : 1;
    return out;
}

}  // namespace ecc200_imaging

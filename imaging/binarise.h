// Grey to dark and light: a threshold that follows the local light where the neighbourhood has
// contrast, and the image's global threshold where it is flat.
#pragma once

#include <cstdint>
#include <vector>

#include "grey_image.h"

namespace ecc200_imaging {

struct BinaryImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> dark;  // width * height, 1 dark, 0 light
    bool clean = false;         // from a two-level picture: a module's centre pixel tells it

    bool at(int32_t x, int32_t y) const {
        return dark[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)] != 0;
    }
};

// Dark pixels of the image.
BinaryImage Binarise(const GreyImage& image);

// The same image with dark and light swapped (light-on-dark symbols).
BinaryImage Inverted(const BinaryImage& image);

}  // namespace ecc200_imaging

// Loading an image file of any format the readers take (PNG, BMP, JPEG, PGM/PBM/PPM), told apart
// by its first bytes, not by its name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "grey_image.h"

namespace ecc200_imaging {

// The formats this build reads, for messages: "PNG, BMP, JPEG, PGM/PBM/PPM" on Linux.
const char* SupportedFormats();

// Decodes the bytes of an image file into grey.
LoadedImage LoadImage(const uint8_t* bytes, std::size_t length);

// Reads the file and decodes it; files beyond the pixel limit's worth of bytes are refused.
LoadedImage LoadImageFile(const std::string& path);

}  // namespace ecc200_imaging

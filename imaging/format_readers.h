// The decoders behind LoadImage, one per format; each one checks the size it is told against the
// limits before it allocates, and reports a damaged file as an error, never by crashing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "grey_image.h"

namespace ecc200_imaging {

LoadedImage LoadBmp(const uint8_t* bytes, std::size_t length);
LoadedImage LoadPnm(const uint8_t* bytes, std::size_t length);
// PNG and JPEG need libpng and libjpeg; builds without them report the format as unsupported.
LoadedImage LoadPng(const uint8_t* bytes, std::size_t length);
LoadedImage LoadJpeg(const uint8_t* bytes, std::size_t length);

}  // namespace ecc200_imaging

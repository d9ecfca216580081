// PNG and JPEG in a build without libpng and libjpeg (Windows): reported as not supported.
#include "format_readers.h"

namespace ecc200_imaging {

LoadedImage LoadPng(const uint8_t*, std::size_t) {
    return {{}, "this build of the reader takes no PNG files (BMP and PGM/PBM/PPM only)"};
}

LoadedImage LoadJpeg(const uint8_t*, std::size_t) {
    return {{}, "this build of the reader takes no JPEG files (BMP and PGM/PBM/PPM only)"};
}

}  // namespace ecc200_imaging

// PNG through libpng's simplified interface: any colour type and depth, alpha laid over white.
#include <png.h>

#include "format_readers.h"

namespace ecc200_imaging {

LoadedImage LoadPng(const uint8_t* bytes, std::size_t length) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes, length)) {
        return {{}, std::string("damaged PNG file: ") + png.message};
    }
    std::string sizeError = CheckImageSize(png.width, png.height);
    if (!sizeError.empty()) {
        png_image_free(&png);
        return {{}, sizeError};
    }
    png.format = PNG_FORMAT_GRAY;
    LoadedImage loaded{
        BlankImage(static_cast<int32_t>(png.width), static_cast<int32_t>(png.height)), {}};
    const png_color paper{255, 255, 255};
    if (!png_image_finish_read(&png, &paper, loaded.image.pixels.data(), 0, nullptr)) {
        return {{}, std::string("damaged PNG file: ") + png.message};
    }
    return loaded;
}

}  // namespace ecc200_imaging

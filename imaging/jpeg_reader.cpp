// JPEG through libjpeg: grey and YCbCr files converted to grey by the library itself; a damaged
// file ends the decode through the error manager's jump instead of the library's exit().
// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <cstdio>

#include "format_readers.h"

namespace ecc200_imaging {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ExitByJump(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

// Everything that must not live across the jump is set up before setjmp; the decode itself touches
// only the plain arrays handed in.
bool Decode(jpeg_decompress_struct& info, ErrorManager& errors, const uint8_t* bytes,
            std::size_t length, LoadedImage& loaded) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = 512L << 20;
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    jpeg_read_header(&info, TRUE);
    loaded.error = CheckImageSize(info.image_width, info.image_height);
    if (!loaded.error.empty()) return true;
    if (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr &&
        info.jpeg_color_space != JCS_RGB) {
        loaded.error = "JPEG files in CMYK colours are not read";
        return true;
    }
    info.out_color_space = JCS_GRAYSCALE;
    jpeg_start_decompress(&info);
    loaded.image = BlankImage(static_cast<int32_t>(info.output_width),
                              static_cast<int32_t>(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = loaded.image.pixels.data() +
                       static_cast<std::size_t>(info.output_scanline) * info.output_width;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

LoadedImage LoadJpeg(const uint8_t* bytes, std::size_t length) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ExitByJump;
    errors.base.emit_message = IgnoreMessage;
    LoadedImage loaded;
    if (!Decode(info, errors, bytes, length, loaded)) {
        loaded = {{}, std::string("damaged JPEG file: ") + errors.message};
    }
    jpeg_destroy_decompress(&info);
    return loaded;
}

}  // namespace ecc200_imaging

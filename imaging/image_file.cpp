// Loading an image file: the format told by its signature, the file read whole with a size bound.
#include "image_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "format_readers.h"

namespace ecc200_imaging {

namespace {

bool StartsWith(const uint8_t* bytes, std::size_t length, const char* signature,
                std::size_t signatureLength) {
    return length >= signatureLength && std::memcmp(bytes, signature, signatureLength) == 0;
}

// A compressed file a hundredth of the raw pixels is already absurd; uncompressed formats need at
// most four bytes a pixel, with headers and ASCII maps allowed four times that.
constexpr int64_t kMaxFileBytes = kMaxPixels * 16;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string CheckImageSize(int64_t width, int64_t height) {
    if (width < 1 || height < 1) return "the image has no pixels";
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
        return "the image is " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels, beyond the reader's limit of " + std::to_string(kMaxPixels >> 20) +
               " megapixels and " + std::to_string(kMaxSide) + " pixels a side";
    }
    return {};
}

GreyImage BlankImage(int32_t width, int32_t height) {
    GreyImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 255);
    return image;
}

const char* SupportedFormats() {
#ifdef ECC200_IMAGING_HAVE_CODECS
    return "PNG, BMP, JPEG, PGM/PBM/PPM";
#else
    return "BMP, PGM/PBM/PPM";
#endif
}

LoadedImage LoadImage(const uint8_t* bytes, std::size_t length) {
    if (bytes == nullptr || length == 0) return {{}, "the file is empty"};
    if (StartsWith(bytes, length, "\x89PNG", 4)) return LoadPng(bytes, length);
    if (StartsWith(bytes, length, "BM", 2)) return LoadBmp(bytes, length);
    if (StartsWith(bytes, length, "\xFF\xD8", 2)) return LoadJpeg(bytes, length);
    if (length >= 2 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '6') {
        return LoadPnm(bytes, length);
    }
    return {{}, std::string("not an image file of a known format (") + SupportedFormats() + ")"};
}

LoadedImage LoadImageFile(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return {{}, "cannot open " + path + ": " + std::strerror(errno)};
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (static_cast<int64_t>(bytes.size()) > kMaxFileBytes) {
            return {{}, "the file " + path + " is larger than any image the reader takes"};
        }
        if (got < sizeof chunk) break;
    }
    if (std::ferror(file.get())) return {{}, "cannot read " + path + ": " + std::strerror(errno)};
    return LoadImage(bytes.data(), bytes.size());
}

}  // namespace ecc200_imaging

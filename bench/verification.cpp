#include "verification.h"

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <cstddef>

#include "symbol_sizes.h"

namespace bench {

Image RenderModules(const ModuleMatrix& matrix, int moduleSize, int quietModules) {
    const int margin = quietModules * moduleSize;
    Image image;
    image.width = matrix.cols * moduleSize + 2 * margin;
    image.height = matrix.rows * moduleSize + 2 * margin;
    image.pixels.assign(
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), 255);
    for (int r = 0; r < matrix.rows; ++r) {
        for (int c = 0; c < matrix.cols; ++c) {
            if (matrix.at(r, c) == 0) continue;
            for (int y = 0; y < moduleSize; ++y) {
                const auto row = static_cast<std::size_t>(margin + r * moduleSize + y);
                const auto first = static_cast<std::size_t>(margin + c * moduleSize);
                std::fill_n(
                    image.pixels.begin() + static_cast<std::ptrdiff_t>(
                                               row * static_cast<std::size_t>(image.width) + first),
                    moduleSize, std::uint8_t{0});
            }
        }
    }
    return image;
}

std::optional<Bytes> DecodeDataMatrix(const Image& image) {
    const ZXing::ImageView view(image.pixels.data(), image.width, image.height,
                                ZXing::ImageFormat::Lum);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setTryHarder(true);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid()) return std::nullopt;
    const auto& bytes = result.bytes();
    return Bytes(bytes.begin(), bytes.end());
}

Verdict CheckDecodesTo(const Image& image, const Bytes& data, const std::string& sizeName) {
    const std::optional<Bytes> decoded = DecodeDataMatrix(image);
    if (!decoded) return Verdict::Wrong("reader found no symbol (" + sizeName + ")");
    if (*decoded != data) {
        return Verdict::Wrong("reader got " + std::to_string(decoded->size()) +
                              " bytes that differ from the " + std::to_string(data.size()) +
                              " input bytes (" + sizeName + ")");
    }
    return Verdict::Correct(sizeName);
}

Verdict CheckDecodesTo(const ModuleMatrix& matrix, const Bytes& data) {
    return CheckDecodesTo(RenderModules(matrix), data, SizeName(matrix.rows, matrix.cols));
}

}  // namespace bench

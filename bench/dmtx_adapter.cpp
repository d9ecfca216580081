#include "dmtx_adapter.h"

#include <dmtx.h>

#include "symbol_sizes.h"
#include "verification.h"

namespace bench {
namespace {

struct DmtxEncodeDeleter {
    void operator()(DmtxEncode* encode) const { dmtxEncodeDestroy(&encode); }
};
using DmtxEncodePtr = std::unique_ptr<DmtxEncode, DmtxEncodeDeleter>;

DmtxEncodePtr NewEncode() {
    DmtxEncodePtr encode(dmtxEncodeCreate());
    if (encode) {
        dmtxEncodeSetProp(encode.get(), DmtxPropScheme, DmtxSchemeAutoBest);
        dmtxEncodeSetProp(encode.get(), DmtxPropSizeRequest, DmtxSymbolSquareAuto);
    }
    return encode;
}

// Its picture as greyscale, taking the first channel of each pixel; flipped when stored bottom-up.
Image ToGrey(const DmtxImage& picture) {
    Image image;
    image.width = picture.width;
    image.height = picture.height;
    image.pixels.resize(static_cast<std::size_t>(image.width * image.height));
    const bool bottomUp = (picture.imageFlip & DmtxFlipY) != 0;
    for (int y = 0; y < image.height; ++y) {
        const int sourceRow = bottomUp ? image.height - 1 - y : y;
        const unsigned char* row = picture.pxl + sourceRow * picture.rowSizeBytes;
        for (int x = 0; x < image.width; ++x) {
            image.pixels[static_cast<std::size_t>(y * image.width + x)] =
                row[x * picture.bytesPerPixel];
        }
    }
    return image;
}

// A fresh encoder per symbol: its encode allocates its message and picture on each call.
class DmtxJob final : public Job {
  public:
    explicit DmtxJob(const Bytes& data) : data_(data) {}

    bool Run() override {
        DmtxEncodePtr encode = NewEncode();
        return encode && Encode(*encode) == DmtxPass;
    }

    Verdict Verify() override {
        DmtxEncodePtr encode = NewEncode();
        if (!encode || Encode(*encode) != DmtxPass) return Verdict::CannotEncode("encode failed");
        const int index = encode->region.sizeIdx;
        std::string size = "?";
        if (index >= 0 && index < static_cast<int>(kSymbolSizes.size())) {
            const SymbolSize& s = kSymbolSizes[static_cast<std::size_t>(index)];
            size = SizeName(s.rows, s.cols);
        }
        if (encode->image == nullptr) return Verdict::Wrong("no picture");
        return CheckDecodesTo(ToGrey(*encode->image), data_, size);
    }

  private:
    DmtxPassFail Encode(DmtxEncode& encode) {
        return dmtxEncodeDataMatrix(&encode, static_cast<int>(data_.size()), data_.data());
    }

    Bytes data_;
};

}  // namespace

std::unique_ptr<Job> DmtxEncoder::Prepare(const Bytes& data) const {
    return std::make_unique<DmtxJob>(data);
}

std::optional<ModuleMatrix> DmtxSymbol(const Sample& sample, Shape shape) {
    constexpr int kGroupSeparator = 0x1D;
    DmtxEncodePtr encode = NewEncode();
    if (!encode) return std::nullopt;
    dmtxEncodeSetProp(encode.get(), DmtxPropSizeRequest,
                      shape == Shape::kSquare ? DmtxSymbolSquareAuto : DmtxSymbolShapeAuto);
    dmtxEncodeSetProp(encode.get(), DmtxPropModuleSize, 1);
    dmtxEncodeSetProp(encode.get(), DmtxPropMarginSize, 0);
    Bytes data = sample.data;
    if (sample.gs1()) {
        dmtxEncodeSetProp(encode.get(), DmtxPropFnc1, kGroupSeparator);
        data.insert(data.begin(), static_cast<std::uint8_t>(kGroupSeparator));
    }
    if (dmtxEncodeDataMatrix(encode.get(), static_cast<int>(data.size()), data.data()) !=
            DmtxPass ||
        encode->image == nullptr) {
        return std::nullopt;
    }
    const Image picture = ToGrey(*encode->image);
    ModuleMatrix matrix{picture.height, picture.width, {}};
    for (const std::uint8_t pixel : picture.pixels) matrix.modules.push_back(pixel < 128 ? 1 : 0);
    return matrix;
}

}  // namespace bench

#include "zxing_adapter.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <exception>

#include "verification.h"

namespace bench {
namespace {

// The writer takes text; every byte becomes the character of the same code (ISO 8859-1), done
// once outside the timed loop.
std::wstring AsLatin1Text(const Bytes& data) {
    return std::wstring(data.begin(), data.end());
}

ModuleMatrix ModulesOf(const ZXing::BitMatrix& bits) {
    ModuleMatrix matrix{bits.height(), bits.width(), {}};
    for (int r = 0; r < matrix.rows; ++r) {
        for (int c = 0; c < matrix.cols; ++c) matrix.modules.push_back(bits.get(c, r) ? 1 : 0);
    }
    return matrix;
}

class ZxingJob final : public Job {
  public:
    explicit ZxingJob(const Bytes& data)
        : data_(data), text_(AsLatin1Text(data)), writer_(ZXing::BarcodeFormat::DataMatrix) {
        writer_.setMargin(0);
    }

    bool Run() override {
        try {
            const ZXing::BitMatrix matrix = writer_.encode(text_, 0, 0);
            return matrix.width() > 0;
        } catch (const std::exception&) {
            return false;
        }
    }

    Verdict Verify() override {
        ZXing::BitMatrix bits;
        try {
            bits = writer_.encode(text_, 0, 0);
        } catch (const std::exception& e) {
            return Verdict::CannotEncode(e.what());
        }
        return CheckDecodesTo(ModulesOf(bits), data_);
    }

  private:
    Bytes data_;
    std::wstring text_;
    ZXing::MultiFormatWriter writer_;
};

}  // namespace

std::unique_ptr<Job> ZxingEncoder::Prepare(const Bytes& data) const {
    return std::make_unique<ZxingJob>(data);
}

std::optional<ModuleMatrix> ZxingSymbol(const Sample& sample, Shape /*shape*/) {
    if (sample.gs1()) return std::nullopt;
    try {
        ZXing::MultiFormatWriter writer(ZXing::BarcodeFormat::DataMatrix);
        writer.setMargin(0);
        return ModulesOf(writer.encode(AsLatin1Text(sample.data), 0, 0));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace bench

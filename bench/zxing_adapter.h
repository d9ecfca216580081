// zxing-cpp's Data Matrix writer through its public API (MultiFormatWriter). Its public API has
// no shape setting, so it may choose rectangular sizes.
#ifndef ECC200_BENCH_ZXING_ADAPTER_H
#define ECC200_BENCH_ZXING_ADAPTER_H

#include <memory>
#include <string>

#include "job.h"
#include "symbol_maker.h"

namespace bench {

class ZxingEncoder final : public Encoder {
  public:
    std::string Name() const override { return "zxing-cpp"; }
    std::unique_ptr<Job> Prepare(const Bytes& data) const override;
};

// zxing-cpp's writer, which chooses among all sizes whatever the shape asked for; its public API
// takes no GS1 data, so GS1 samples give nothing.
std::optional<ModuleMatrix> ZxingSymbol(const Sample& sample, Shape shape);

}  // namespace bench

#endif

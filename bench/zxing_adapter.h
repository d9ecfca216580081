// zxing-cpp's Data Matrix writer through its public API (MultiFormatWriter). Its public API has
// no shape setting, so it may choose rectangular sizes.
#ifndef ECC200_BENCH_ZXING_ADAPTER_H
#define ECC200_BENCH_ZXING_ADAPTER_H

#include <memory>
#include <string>

#include "job.h"

namespace bench {

class ZxingEncoder final : public Encoder {
  public:
    std::string Name() const override { return "zxing-cpp"; }
    std::unique_ptr<Job> Prepare(const Bytes& data) const override;
};

}  // namespace bench

#endif

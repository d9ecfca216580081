// libdmtx's encoder through its public API (dmtx.h): automatic best scheme, square sizes. Its
// encode renders an image as part of its public path, so that is included in its time.
#ifndef ECC200_BENCH_DMTX_ADAPTER_H
#define ECC200_BENCH_DMTX_ADAPTER_H

#include <memory>
#include <string>

#include "job.h"

namespace bench {

class DmtxEncoder final : public Encoder {
  public:
    std::string Name() const override { return "libdmtx"; }
    std::unique_ptr<Job> Prepare(const Bytes& data) const override;
};

}  // namespace bench

#endif

// libdmtx's encoder through its public API (dmtx.h): automatic best scheme, square sizes. Its
// encode renders an image as part of its public path, so that is included in its time.
#ifndef ECC200_BENCH_DMTX_ADAPTER_H
#define ECC200_BENCH_DMTX_ADAPTER_H

#include <memory>
#include <string>

#include "job.h"
#include "symbol_maker.h"

namespace bench {

class DmtxEncoder final : public Encoder {
  public:
    std::string Name() const override { return "libdmtx"; }
    std::unique_ptr<Job> Prepare(const Bytes& data) const override;
};

// libdmtx's best scheme, one pixel per module; GS1 samples with FNC1 given as the GS byte, which
// also stands first for the FNC1 that marks GS1 data.
std::optional<ModuleMatrix> DmtxSymbol(const Sample& sample, Shape shape);

}  // namespace bench

#endif

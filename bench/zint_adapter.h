// zint's Data Matrix encoder through its public API (zint.h), square sizes only.
#ifndef ECC200_BENCH_ZINT_ADAPTER_H
#define ECC200_BENCH_ZINT_ADAPTER_H

#include <memory>
#include <string>

#include "job.h"
#include "symbol_maker.h"

namespace bench {

class ZintEncoder final : public Encoder {
  public:
    // fast: zint's non-optimising encodation (FAST_MODE); otherwise its default one.
    explicit ZintEncoder(bool fast) : fast_(fast) {}
    std::string Name() const override { return fast_ ? "zint fast" : "zint"; }
    std::unique_ptr<Job> Prepare(const Bytes& data) const override;

  private:
    bool fast_;
};

// zint's default encodation; GS1 samples in its GS1 mode from their bracketed form.
std::optional<ModuleMatrix> ZintSymbol(const Sample& sample, Shape shape);

}  // namespace bench

#endif

// Untimed symbol making for the compactness tables: every encoder's symbol for one sample, as
// modules, so that sizes and data codewords can be compared.
#ifndef ECC200_BENCH_SYMBOL_MAKER_H
#define ECC200_BENCH_SYMBOL_MAKER_H

#include <optional>
#include <string>

#include "job.h"

namespace bench {

enum class Shape { kSquare, kAny };  // any: rectangles too, the smallest area

// One input: its bytes and, for GS1 data, its bracketed form; the bytes are then the element
// string (fields separated by GS bytes, 0x1D), which is what a reader returns.
struct Sample {
    Bytes data;
    std::string gs1Bracketed;
    bool gs1() const { return !gs1Bracketed.empty(); }
};

// The symbol an encoder makes of a sample, or nothing when it cannot encode it (or has no way to
// take GS1 data).
using SymbolMaker = std::optional<ModuleMatrix> (*)(const Sample&, Shape);

}  // namespace bench

#endif

// Turning a host's handle back into the symbol it names.
#pragma once

#include "core/symbol.h"

namespace ecc200 {

// The symbol behind a handle when the handle is not null and carries the live tag; else null.
[[nodiscard]] Symbol* CheckedSymbol(SymbolHandle handle);

}  // namespace ecc200

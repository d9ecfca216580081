// Turning a host's handle back into its symbol: the null and validity-tag checks every export
// starts with.
#include "api/checked_symbol.h"

#include <cstring>

namespace ecc200 {

Symbol* CheckedSymbol(SymbolHandle handle) {
    if (handle == nullptr) return nullptr;
    auto* symbol = reinterpret_cast<Symbol*>(handle);
    return symbol->tag == kSymbolTag ? symbol : nullptr;
}

}  // namespace ecc200

// The --info lines about data codewords: how many the symbol uses and, when the look-ahead chose
// the schemes, how many the smallest encodation would need.
#pragma once

#include <ostream>
#include <string>

#include "encoder.h"

namespace ecc200_cli {

// data is as given to Encoder::Load. Both counts come from symbols encoded without marks, which
// change codewords or modules.
void PrintCodewordInfo(std::ostream& out, const std::string& data, const SymbolSettings& settings);

}  // namespace ecc200_cli

#include "codeword_info.h"

#include <optional>

#include "catalogue.h"
#include "data_codewords.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

struct CodewordUse {
    int dataCodewords;
    std::string sizeName;
};

std::optional<CodewordUse> Measure(const std::string& data, SymbolSettings settings) {
    settings.userMark = false;
    settings.productId.reset();
    try {
        Encoder encoder;
        encoder.Load(data, settings);
        const ModuleGrid grid = encoder.Encode();
        const std::optional<int> used = CountDataCodewords(grid.rows, grid.cols, grid.modules);
        const SizeFacts* size = FindSize(grid.sizeIndex);
        if (!used || size == nullptr) return std::nullopt;
        return CodewordUse{*used, size->name};
    } catch (const ToolError&) {
        return std::nullopt;
    }
}

std::string Describe(const std::optional<CodewordUse>& use) {
    if (!use) return "unknown (no symbol)";
    return std::to_string(use->dataCodewords) + " (" + use->sizeName + ")";
}

}  // namespace

void PrintCodewordInfo(std::ostream& out, const std::string& data, const SymbolSettings& settings) {
    out << "data codewords used: " << Describe(Measure(data, settings)) << "\n";
    // GS1 data and fixed schemes never use the look-ahead.
    const bool lookahead = settings.scheme == ECC200_SCHEME_AUTO && !settings.gs1 &&
                           settings.encodation == ECC200_ENCODATION_LOOKAHEAD;
    if (!lookahead) return;
    SymbolSettings smallest = settings;
    smallest.encodation = ECC200_ENCODATION_SMALLEST;
    out << "smallest encodation would use: " << Describe(Measure(data, smallest)) << "\n";
}

}  // namespace ecc200_cli

// The names of the symbol sizes and encodation schemes that the tool accepts, with the facts about
// each size that users ask for (dimensions and data capacity).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ecc200_cli {

struct SizeFacts {
    int32_t index;  // ECC200_SIZE_* value
    int rows;
    int cols;
    int dataCodewords;
    std::string name;  // "24x24"
    bool dmre;         // a rectangular extension size (ISO/IEC 21471)
    bool square() const { return rows == cols; }
};

struct SchemeFacts {
    int32_t id;                // ECC200_SCHEME_* value
    std::string_view keyword;  // as typed on the command line
    std::string_view name;     // as shown to the user
};

// All 48 sizes in the library's order: squares by increasing size, then the rectangles, then the
// DMRE rectangles.
std::span<const SizeFacts> AllSizes();
const SizeFacts* FindSize(int32_t index);
// "auto" or a size name such as "24x24"; case-insensitive.
std::optional<int32_t> ParseSize(std::string_view text);
std::vector<std::string> SizeKeywords();  // "auto" and every size name

std::span<const SchemeFacts> AllSchemes();
const SchemeFacts& FindScheme(int32_t id);
std::optional<int32_t> ParseScheme(std::string_view text);
std::vector<std::string> SchemeKeywords();

}  // namespace ecc200_cli

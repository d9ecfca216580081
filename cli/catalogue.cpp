#include "catalogue.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "ecc200.h"
#include "size_rows.h"

namespace ecc200_cli {
namespace {

std::vector<SizeFacts> BuildSizes() {
    std::vector<SizeFacts> sizes;
    for (std::size_t i = 0; i < kSizeRows.size(); ++i) {
        const SizeRow& row = kSizeRows[i];
        sizes.push_back({static_cast<int32_t>(i), row.rows, row.cols, row.dataCodewords,
                         std::to_string(row.rows) + "x" + std::to_string(row.cols),
                         i >= static_cast<std::size_t>(ECC200_SIZE_8X48)});
    }
    return sizes;
}

constexpr std::array<SchemeFacts, 7> kSchemes{{
    {ECC200_SCHEME_AUTO, "auto", "automatic"},
    {ECC200_SCHEME_ASCII, "ascii", "ASCII"},
    {ECC200_SCHEME_C40, "c40", "C40"},
    {ECC200_SCHEME_TEXT, "text", "Text"},
    {ECC200_SCHEME_X12, "x12", "ANSI X12"},
    {ECC200_SCHEME_EDIFACT, "edifact", "EDIFACT"},
    {ECC200_SCHEME_BASE256, "base256", "Base 256"},
}};

std::string Lowercase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

}  // namespace

std::span<const SizeFacts> AllSizes() {
    static const std::vector<SizeFacts> sizes = BuildSizes();
    return sizes;
}

const SizeFacts* FindSize(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(AllSizes().size())) return nullptr;
    return &AllSizes()[static_cast<std::size_t>(index)];
}

std::optional<int32_t> ParseSize(std::string_view text) {
    const std::string lower = Lowercase(text);
    if (lower == "auto") return ECC200_SIZE_AUTO;
    for (const SizeFacts& size : AllSizes()) {
        if (size.name == lower) return size.index;
    }
    return std::nullopt;
}

std::vector<std::string> SizeKeywords() {
    std::vector<std::string> keywords{"auto"};
    for (const SizeFacts& size : AllSizes()) keywords.push_back(size.name);
    return keywords;
}

std::span<const SchemeFacts> AllSchemes() {
    return kSchemes;
}

const SchemeFacts& FindScheme(int32_t id) {
    for (const SchemeFacts& scheme : kSchemes) {
        if (scheme.id == id) return scheme;
    }
    return kSchemes[0];
}

std::optional<int32_t> ParseScheme(std::string_view text) {
    const std::string lower = Lowercase(text);
    for (const SchemeFacts& scheme : kSchemes) {
        if (scheme.keyword == lower) return scheme.id;
    }
    return std::nullopt;
}

std::vector<std::string> SchemeKeywords() {
    std::vector<std::string> keywords;
    for (const SchemeFacts& scheme : kSchemes) keywords.emplace_back(scheme.keyword);
    return keywords;
}

}  // namespace ecc200_cli

#include "catalogue.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "ecc200.h"

namespace ecc200_cli {
namespace {

struct SizeRow {
    int rows;
    int cols;
    int dataCodewords;
};

// Indexed by ECC200_SIZE_* (0..29).
constexpr std::array<SizeRow, 30> kSizeRows{{
    {10, 10, 3},     {12, 12, 5},      {14, 14, 8},      {16, 16, 12},     {18, 18, 18},
    {20, 20, 22},    {22, 22, 30},     {24, 24, 36},     {26, 26, 44},     {32, 32, 62},
    {36, 36, 86},    {40, 40, 114},    {44, 44, 144},    {48, 48, 174},    {52, 52, 204},
    {64, 64, 280},   {72, 72, 368},    {80, 80, 456},    {88, 88, 576},    {96, 96, 696},
    {104, 104, 816}, {120, 120, 1050}, {132, 132, 1304}, {144, 144, 1558}, {8, 18, 5},
    {8, 32, 10},     {12, 26, 16},     {12, 36, 22},     {16, 36, 32},     {16, 48, 49},
}};

std::vector<SizeFacts> BuildSizes() {
    std::vector<SizeFacts> sizes;
    for (std::size_t i = 0; i < kSizeRows.size(); ++i) {
        const SizeRow& row = kSizeRows[i];
        sizes.push_back({static_cast<int32_t>(i), row.rows, row.cols, row.dataCodewords,
                         std::to_string(row.rows) + "x" + std::to_string(row.cols)});
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

#include "formats.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "outputs.h"

namespace ecc200_cli {
namespace {

// name, extension, writer, colour, translucency, pixels
constexpr std::array<FormatTraits, 6> kFormats{{
    {OutputFormat::kPng, "png", ".png", WritePngFile, true, true, true},
    {OutputFormat::kBmp, "bmp", ".bmp", WriteBmpFile, false, false, true},
    {OutputFormat::kSvg, "svg", ".svg", WriteSvgFile, true, true, false},
    {OutputFormat::kPdf, "pdf", ".pdf", WritePdfFile, true, false, false},
    {OutputFormat::kEps, "eps", ".eps", WriteEpsFile, true, false, false},
    {OutputFormat::kTerminal, "terminal", "", WriteTerminal, false, false, false},
}};

std::string Lowercase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool IsFile(const FormatTraits& traits) {
    return !traits.extension.empty();
}

}  // namespace

std::span<const FormatTraits> AllFormats() {
    return kFormats;
}

const FormatTraits& TraitsOf(OutputFormat format) {
    return *std::find_if(kFormats.begin(), kFormats.end(),
                         [format](const FormatTraits& traits) { return traits.format == format; });
}

std::optional<OutputFormat> FormatOfTarget(const std::string& target) {
    if (target == "-") return OutputFormat::kTerminal;
    const std::string extension = Lowercase(std::filesystem::path(target).extension().string());
    for (const FormatTraits& traits : kFormats) {
        if (IsFile(traits) && traits.extension == extension) return traits.format;
    }
    return std::nullopt;
}

std::optional<OutputFormat> FormatNamed(std::string_view name) {
    const std::string lower = Lowercase(name);
    for (const FormatTraits& traits : kFormats) {
        if (IsFile(traits) && traits.name == lower) return traits.format;
    }
    return std::nullopt;
}

std::vector<std::string> FileFormatNames() {
    std::vector<std::string> names;
    for (const FormatTraits& traits : kFormats) {
        if (IsFile(traits)) names.emplace_back(traits.name);
    }
    return names;
}

std::string FileFormatNameList(std::string_view separator) {
    std::string list;
    for (const std::string& name : FileFormatNames()) {
        if (!list.empty()) list += separator;
        list += name;
    }
    return list;
}

std::string ExtensionList() {
    std::vector<std::string_view> extensions;
    for (const FormatTraits& traits : kFormats) {
        if (IsFile(traits)) extensions.push_back(traits.extension);
    }
    std::string list;
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        if (i > 0) list += i + 1 == extensions.size() ? " or " : ", ";
        list += extensions[i];
    }
    return list;
}

void WriteOutput(OutputFormat format, const std::string& target, const ModuleGrid& grid,
                 Encoder& encoder, const RenderSettings& render) {
    TraitsOf(format).write(target, grid, encoder, render);
}

}  // namespace ecc200_cli

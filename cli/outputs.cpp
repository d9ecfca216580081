#include "outputs.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "atomic_file.h"
#include "png_writer.h"
#include "svg_writer.h"
#include "terminal_writer.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

// A terminal gets explicit colours unless the user turned them off with a non-empty NO_COLOR.
bool StandardOutputWantsColour() {
    const char* noColour = std::getenv("NO_COLOR");
    return isatty(STDOUT_FILENO) != 0 && (noColour == nullptr || *noColour == '\0');
}

void WriteTerminal(const ModuleGrid& grid, const RenderSettings& render) {
    const std::string text = RenderTerminal(grid, render.quietZone, StandardOutputWantsColour());
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void WriteTextFile(const std::string& target, const std::string& text) {
    AtomicFile file(target);
    if (std::fwrite(text.data(), 1, text.size(), file.stream()) != text.size()) {
        throw ToolError(kExitFileError, "cannot write '" + target + "'");
    }
    file.Commit();
}

void WritePngFile(const std::string& target, const ModuleGrid& grid, const RenderSettings& render) {
    AtomicFile file(target);
    if (!WritePng(grid, render.moduleSize, render.quietZone, file.stream())) {
        throw ToolError(kExitFileError, "cannot write '" + target + "' as PNG");
    }
    file.Commit();
}

void WriteBmpFile(const std::string& target, Encoder& encoder, const RenderSettings& render) {
    AtomicFile file(target);
    encoder.WriteBmp(file.HandOverPath(), render.moduleSize, render.quietZone * render.moduleSize);
    file.Commit();
}

}  // namespace

std::optional<OutputFormat> FormatOfTarget(const std::string& target) {
    if (target == "-") return OutputFormat::kTerminal;
    std::string extension = std::filesystem::path(target).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png") return OutputFormat::kPng;
    if (extension == ".bmp") return OutputFormat::kBmp;
    if (extension == ".svg") return OutputFormat::kSvg;
    return std::nullopt;
}

std::string ExtensionOf(OutputFormat format) {
    switch (format) {
        case OutputFormat::kPng:
            return ".png";
        case OutputFormat::kBmp:
            return ".bmp";
        case OutputFormat::kSvg:
            return ".svg";
        case OutputFormat::kTerminal:
            break;
    }
    return "";
}

void WriteOutput(OutputFormat format, const std::string& target, const ModuleGrid& grid,
                 Encoder& encoder, const RenderSettings& render) {
    switch (format) {
        case OutputFormat::kTerminal:
            WriteTerminal(grid, render);
            return;
        case OutputFormat::kPng:
            WritePngFile(target, grid, render);
            return;
        case OutputFormat::kBmp:
            WriteBmpFile(target, encoder, render);
            return;
        case OutputFormat::kSvg:
            WriteTextFile(target, RenderSvg(grid, render.moduleSize, render.quietZone));
            return;
    }
}

}  // namespace ecc200_cli

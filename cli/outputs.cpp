#include "outputs.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform.h"
#include "png_writer.h"
#include "replaced_file.h"
#include "svg_writer.h"
#include "terminal_writer.h"
#include "tool_error.h"
#include "vector_writer.h"

namespace ecc200_cli {
namespace {

// Where the BMP header keeps the horizontal and vertical resolution, in pixels per metre.
constexpr long kBmpResolutionOffset = 38;

// A terminal gets explicit colours unless the user turned them off with a non-empty NO_COLOR.
bool StandardOutputWantsColour() {
    const char* noColour = std::getenv("NO_COLOR");
    return StandardOutputIsTerminal() && (noColour == nullptr || *noColour == '\0');
}

void WriteTextFile(const std::string& target, const std::string& text) {
    WriteReplacing(target, [&](std::FILE* file) {
        if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
            throw ToolError(kExitFileError,
                            "cannot write '" + target + "': " + std::strerror(errno));
        }
    });
}

// The library writes the BMP with no resolution; the two little-endian 32-bit fields are set in
// place, leaving every other byte as the library wrote it.
bool EnterBmpResolution(const std::string& path, int dpi) {
    const auto perMetre = static_cast<uint32_t>(std::lround(dpi * 1000.0 / kMillimetresPerInch));
    unsigned char field[8];
    for (int i = 0; i < 8; ++i) field[i] = static_cast<unsigned char>(perMetre >> (8 * (i % 4)));
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (file == nullptr) return false;
    const bool written = std::fseek(file, kBmpResolutionOffset, SEEK_SET) == 0 &&
                         std::fwrite(field, 1, sizeof field, file) == sizeof field;
    return std::fclose(file) == 0 && written;
}

}  // namespace

void WritePngFile(const std::string& target, const ModuleGrid& grid, Encoder& /*encoder*/,
                  const RenderSettings& render) {
    WriteReplacing(target, [&](std::FILE* file) {
        if (!WritePng(grid, render, file)) {
            throw ToolError(kExitFileError, "cannot write '" + target + "' as PNG");
        }
    });
}

void WriteBmpFile(const std::string& target, const ModuleGrid& /*grid*/, Encoder& encoder,
                  const RenderSettings& render) {
    FillReplacing(target, [&](const std::string& path) {
        encoder.WriteBmp(path, render.moduleSize, render.quietZone * render.moduleSize);
        if (render.dpi && !EnterBmpResolution(path, *render.dpi)) {
            throw ToolError(kExitFileError,
                            "cannot write '" + target + "': " + std::strerror(errno));
        }
    });
}

void WriteSvgFile(const std::string& target, const ModuleGrid& grid, Encoder& /*encoder*/,
                  const RenderSettings& render) {
    WriteTextFile(target, RenderSvg(grid, render));
}

void WritePdfFile(const std::string& target, const ModuleGrid& grid, Encoder& /*encoder*/,
                  const RenderSettings& render) {
    WriteTextFile(target, RenderPdf(grid, render));
}

void WriteEpsFile(const std::string& target, const ModuleGrid& grid, Encoder& /*encoder*/,
                  const RenderSettings& render) {
    WriteTextFile(target, RenderEps(grid, render));
}

void WriteTerminal(const std::string& /*target*/, const ModuleGrid& grid, Encoder& /*encoder*/,
                   const RenderSettings& render) {
    const std::string text = RenderTerminal(grid, render.quietZone, StandardOutputWantsColour());
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) != 0 || !written) {
        throw ToolError(kExitFileError,
                        std::string("cannot write to standard output: ") + std::strerror(errno));
    }
}

}  // namespace ecc200_cli

#include "render_plan.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iostream>

#include "tool_error.h"
#include "vector_writer.h"

namespace ecc200_cli {
namespace {

// Below this difference in luminance many readers fail to tell dark modules from light ones.
constexpr double kMinimumContrast = 0.40;
// Rounding the module to whole pixels is reported when it moves the size by more than this.
constexpr double kSizeTolerance = 0.05;

std::string Upper(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

void Warn(const std::string& text) {
    std::cerr << "ecc200: warning: " << text << "\n";
}

std::string FormatsWith(bool FormatTraits::*property) {
    std::string names;
    for (const FormatTraits& traits : AllFormats()) {
        if (!(traits.*property) || traits.extension.empty()) continue;
        if (!names.empty()) names += ", ";
        names += Upper(traits.name);
    }
    return names;
}

bool Translucent(const Colour& colour) {
    return !colour.opaque() && !colour.invisible();
}

void CheckColours(const RenderSettings& render, bool coloursGiven, const FormatTraits& traits) {
    if (traits.extension.empty()) return;  // the terminal draws black on white regardless
    if (coloursGiven && !traits.colour) {
        throw ToolError(kExitUsage, Upper(traits.name) +
                                        " output cannot take --fg or --bg: its layout is fixed "
                                        "greyscale; colours work with " +
                                        FormatsWith(&FormatTraits::colour));
    }
    if ((Translucent(render.dark) || Translucent(render.light)) && !traits.translucency) {
        throw ToolError(kExitUsage, Upper(traits.name) +
                                        " output cannot draw translucent colours; use opaque "
                                        "ones (a fully transparent --bg works), or " +
                                        FormatsWith(&FormatTraits::translucency));
    }
}

// Pixels per module for a module of xdim millimetres at dpi, and the warning when rounding to
// whole pixels changes the size noticeably.
int PixelsPerModule(double xdim, int dpi) {
    const long pixels = std::lround(xdim * dpi / kMillimetresPerInch);
    const std::string asked = Decimal(xdim) + " mm at " + std::to_string(dpi) + " dpi";
    if (pixels < 1) throw ToolError(kExitUsage, "a module of " + asked + " is less than a pixel");
    if (pixels > kMaxModuleSize) {
        throw ToolError(kExitUsage, "a module of " + asked + " is more than " +
                                        std::to_string(kMaxModuleSize) + " pixels");
    }
    const double drawn = static_cast<double>(pixels) * kMillimetresPerInch / dpi;
    if (std::fabs(drawn - xdim) > kSizeTolerance * xdim) {
        Warn("a module of " + asked + " is drawn as " + std::to_string(pixels) + " pixels, " +
             Decimal(drawn) + " mm");
    }
    return static_cast<int>(pixels);
}

void SetSize(const Options& options, bool pixelFormat, RenderSettings& render) {
    render.dpi = options.dpi;
    if (options.xdimMm) {
        render.moduleMm = options.xdimMm;
        if (!pixelFormat) return;
        if (!options.dpi) {
            throw ToolError(kExitUsage,
                            "--xdim needs --dpi for PNG and BMP output, to know how many pixels "
                            "make a millimetre");
        }
        render.moduleSize = PixelsPerModule(*options.xdimMm, *options.dpi);
    } else if (options.dpi) {
        render.moduleMm = options.moduleSize * kMillimetresPerInch / *options.dpi;
    }
}

// The formats that draw the human-readable line of --hri.
bool DrawsText(OutputFormat format) {
    return format == OutputFormat::kSvg || format == OutputFormat::kPdf ||
           format == OutputFormat::kEps;
}

void WarnAboutContrast(const RenderSettings& render) {
    const double contrast = LuminanceDifference(render.dark, render.light);
    if (contrast >= kMinimumContrast) return;
    Warn("the colours differ by only " + std::to_string(std::lround(contrast * 100)) +
         "% in luminance; readers need about " +
         std::to_string(std::lround(kMinimumContrast * 100)) + "% or more");
}

}  // namespace

RenderSettings PlanRender(const Options& options, std::span<const OutputFormat> formats) {
    RenderSettings render;
    render.moduleSize = options.moduleSize;
    render.quietZone = options.quietZone;
    if (options.fg) render.dark = ParseColour(*options.fg).value_or(kBlack);
    if (options.bg) render.light = ParseColour(*options.bg).value_or(kWhite);
    const bool coloursGiven = options.fg || options.bg;
    bool pixelFormat = false;
    bool colourUsed = false;
    for (OutputFormat format : formats) {
        const FormatTraits& traits = TraitsOf(format);
        CheckColours(render, coloursGiven, traits);
        pixelFormat = pixelFormat || traits.pixels;
        colourUsed = colourUsed || traits.colour;
    }
    SetSize(options, pixelFormat, render);
    if (coloursGiven && colourUsed) WarnAboutContrast(render);
    if (options.hri && std::none_of(formats.begin(), formats.end(), DrawsText)) {
        Warn("--hri draws the human-readable line in SVG, PDF and EPS only");
    }
    return render;
}

}  // namespace ecc200_cli

#include "render_plan.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <iostream>

#include "tool_error.h"
#include "vector_writer.h"

namespace ecc200_cli {
namespace {

// Below this difference in luminance many readers fail to tell dark modules from light ones.
constexpr double kMinimumContrast = 0.40;
// Below this difference (shown as 0%) the two colours are the same to a reader.
constexpr double kNoContrast = 0.005;
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

// A module of the vector formats sized through --dpi must still be one a printer can make.
void CheckVectorModule(const RenderSettings& render, bool vectorFormat) {
    if (!vectorFormat || !render.moduleMm || *render.moduleMm >= kMinModuleMm) return;
    throw ToolError(kExitUsage, "a module of " + Decimal(*render.moduleMm) +
                                    " mm is smaller than any printer makes (at least " +
                                    Decimal(kMinModuleMm) +
                                    " mm); choose a lower --dpi or a larger --module-size");
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

// Two opaque colours no reader can tell apart (equal luminance) make a picture without a symbol in
// it: refused. Low contrast, or a colour drawn over a background unknown here (a transparent one),
// is only warned about.
void CheckContrast(const RenderSettings& render) {
    const double contrast = LuminanceDifference(render.dark, render.light);
    if (contrast < kNoContrast && render.dark.opaque() && render.light.opaque()) {
        throw ToolError(kExitUsage,
                        "--fg and --bg have the same luminance, so no reader can tell the dark "
                        "modules from the light ones; readers need about " +
                            std::to_string(std::lround(kMinimumContrast * 100)) +
                            "% difference or more");
    }
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
    bool vectorFormat = false;
    bool colourUsed = false;
    for (OutputFormat format : formats) {
        const FormatTraits& traits = TraitsOf(format);
        CheckColours(render, coloursGiven, traits);
        pixelFormat = pixelFormat || traits.pixels;
        vectorFormat = vectorFormat || (!traits.pixels && !traits.extension.empty());
        colourUsed = colourUsed || traits.colour;
    }
    SetSize(options, pixelFormat, render);
    CheckVectorModule(render, vectorFormat);
    if (coloursGiven && colourUsed) CheckContrast(render);
    if (options.hri && std::none_of(formats.begin(), formats.end(), DrawsText)) {
        Warn("--hri draws the human-readable line in SVG, PDF and EPS only");
    }
    return render;
}

std::optional<double> ParseModuleMm(const std::string& text) {
    const std::size_t point = text.find('.');
    const std::string digits =
        point == std::string::npos ? text : text.substr(0, point) + text.substr(point + 1);
    if (digits.empty() || digits.size() > 12 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    double mm = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), mm, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (mm < kMinModuleMm || mm > kMaxModuleMm) return std::nullopt;
    return mm;
}

void CheckPageSize(OutputFormat format, const ModuleGrid& grid, const RenderSettings& render) {
    const FormatTraits& traits = TraitsOf(format);
    if (traits.pixels || traits.extension.empty()) return;
    const double side = std::max(grid.rows, grid.cols) + 2.0 * render.quietZone;
    const double points = side * ModulePoints(render);
    if (points <= kMaxPagePoints) return;
    throw ToolError(kExitUsage, "the " + Upper(traits.name) + " page would be " +
                                    std::to_string(std::lround(points)) + " points (" +
                                    std::to_string(std::lround(points * kMillimetresPerInch / 72)) +
                                    " mm) long; the most a page may be is " +
                                    Decimal(kMaxPagePoints) + " points (" +
                                    Decimal(kMaxPagePoints * kMillimetresPerInch / 72) +
                                    " mm): choose a smaller --xdim, --module-size "
                                    "or --quiet-zone");
}

}  // namespace ecc200_cli

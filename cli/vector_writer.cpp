#include "vector_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "text_line.h"

namespace ecc200_cli {
namespace {

constexpr double kPointsPerInch = 72.0;

// Both page languages get the same path text: "x y w h re" per run of dark modules, in module
// units with the origin at the bottom left. PDF has the re operator; the EPS prologue defines it.
std::string DarkRuns(const ModuleGrid& grid, int quietZone) {
    std::string path;
    const int height = grid.rows + 2 * quietZone;
    for (int row = 0; row < grid.rows; ++row) {
        const int y = height - 1 - (row + quietZone);
        for (int col = 0; col < grid.cols;) {
            if (!grid.Dark(row, col)) {
                ++col;
                continue;
            }
            const int start = col;
            while (col < grid.cols && grid.Dark(row, col)) ++col;
            path += std::to_string(start + quietZone) + ' ' + std::to_string(y) + ' ' +
                    std::to_string(col - start) + " 1 re\n";
        }
    }
    return path;
}

std::string Rgb(const Colour& colour) {
    return Decimal(colour.red / 255.0) + ' ' + Decimal(colour.green / 255.0) + ' ' +
           Decimal(colour.blue / 255.0);
}

// The page: the symbol with its quiet zone, and under it the band of the human-readable line
// when there is one.
struct Page {
    int widthModules;
    int heightModules;
    double modulePoints;
    TextLine text;
    bool hasText() const { return text.fontSize > 0; }
    double width() const { return widthModules * modulePoints; }
    double height() const { return (heightModules + text.band) * modulePoints; }
};

Page PageOf(const ModuleGrid& grid, const RenderSettings& render) {
    return {grid.cols + 2 * render.quietZone, grid.rows + 2 * render.quietZone,
            ModulePoints(render), LayOutTextLine(grid, render)};
}

// The operators of a page language: colour, fill, raising the symbol above the text band (after
// the band's height) and ending that, and setting a line of Helvetica (after the string).
struct Language {
    const char* setColour;
    const char* fill;
    std::string (*raise)(const std::string& band);
    const char* endRaise;
    std::string (*setText)(const std::string& size, const std::string& x, const std::string& y,
                           const std::string& text);
};

const Language kPdf{"rg", "f",
                    [](const std::string& band) { return "q 1 0 0 1 0 " + band + " cm"; }, "Q",
                    [](const std::string& size, const std::string& x, const std::string& y,
                       const std::string& text) {
                        return "BT /F1 " + size + " Tf " + x + ' ' + y + " Td " + text + " Tj ET";
                    }};
const Language kPostScript{"setrgbcolor", "fill",
                           [](const std::string& band) { return "gsave 0 " + band + " translate"; },
                           "grestore",
                           [](const std::string& size, const std::string& x, const std::string& y,
                              const std::string& text) {
                               return "/Helvetica findfont " + size + " scalefont setfont " + x +
                                      ' ' + y + " moveto " + text + " show";
                           }};

// The drawing of a page in module units: the light background over the whole page, the dark
// modules (raised above the text band) and the human-readable line in the dark colour. A fully
// transparent colour is left out, as neither language here draws translucency.
std::string Drawing(const ModuleGrid& grid, const RenderSettings& render, const Page& page,
                    const Language& language) {
    std::string body;
    if (!render.light.invisible()) {
        const std::string height = page.hasText() ? Decimal(page.heightModules + page.text.band)
                                                  : std::to_string(page.heightModules);
        body += Rgb(render.light) + ' ' + language.setColour + "\n0 0 " +
                std::to_string(page.widthModules) + ' ' + height + " re " + language.fill + '\n';
    }
    if (render.dark.invisible()) return body;
    body += Rgb(render.dark) + ' ' + language.setColour + '\n';
    const std::string modules = DarkRuns(grid, render.quietZone) + language.fill + '\n';
    if (!page.hasText()) return body + modules;
    return body + language.raise(Decimal(page.text.band)) + '\n' + modules + language.endRaise +
           '\n' +
           language.setText(Decimal(page.text.fontSize), Decimal(page.text.left),
                            Decimal(page.text.baseline), PageString(render.humanReadable)) +
           '\n';
}

std::string PdfObject(int number, const std::string& content) {
    return std::to_string(number) + " 0 obj\n" + content + "\nendobj\n";
}

}  // namespace

double ModulePoints(const RenderSettings& render) {
    if (render.moduleMm) return *render.moduleMm * kPointsPerInch / kMillimetresPerInch;
    return render.moduleSize;
}

std::string Decimal(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    std::string decimal(text, result.ptr);
    while (decimal.back() == '0') decimal.pop_back();
    if (decimal.back() == '.') decimal.pop_back();
    return decimal == "-0" ? "0" : decimal;
}

std::string RenderPdf(const ModuleGrid& grid, const RenderSettings& render) {
    const Page page = PageOf(grid, render);
    const std::string scale = Decimal(page.modulePoints);
    const std::string stream =
        "q " + scale + " 0 0 " + scale + " 0 0 cm\n" + Drawing(grid, render, page, kPdf) + "Q\n";
    // Helvetica is one of the fonts every PDF reader has: nothing to embed.
    const std::string resources = page.hasText() ? "<< /Font << /F1 5 0 R >> >>" : "<< >>";
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Decimal(page.width()) + ' ' +
            Decimal(page.height()) + "] /Contents 4 0 R /Resources " + resources + " >>",
        "<< /Length " + std::to_string(stream.size()) + " >>\nstream\n" + stream + "endstream",
    };
    if (page.hasText()) {
        objects.push_back(
            "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    }
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += PdfObject(static_cast<int>(i + 1), objects[i]);
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

std::string RenderEps(const ModuleGrid& grid, const RenderSettings& render) {
    const Page page = PageOf(grid, render);
    const std::string scale = Decimal(page.modulePoints);
    return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 " +
           std::to_string(static_cast<int>(std::ceil(page.width()))) + ' ' +
           std::to_string(static_cast<int>(std::ceil(page.height()))) +
           "\n%%HiResBoundingBox: 0 0 " + Decimal(page.width()) + ' ' + Decimal(page.height()) +
           "\n%%Creator: ecc200\n%%Pages: 1\n%%EndComments\n"
           "gsave\n" +
           scale + ' ' + scale +
           " scale\n"
           "/re { 4 2 roll moveto 1 index 0 rlineto 0 exch rlineto neg 0 rlineto closepath } "
           "bind def\nnewpath\n" +
           Drawing(grid, render, page, kPostScript) + "grestore\nshowpage\n%%EOF\n";
}

}  // namespace ecc200_cli

#include "vector_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

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

struct Page {
    int widthModules;
    int heightModules;
    double modulePoints;
    double width() const { return widthModules * modulePoints; }
    double height() const { return heightModules * modulePoints; }
};

Page PageOf(const ModuleGrid& grid, const RenderSettings& render) {
    return {grid.cols + 2 * render.quietZone, grid.rows + 2 * render.quietZone,
            ModulePoints(render)};
}

// The drawing of a page in module units; setColour and fill are the language's operators. A
// fully transparent colour is left out, as neither language here draws translucency.
std::string Drawing(const ModuleGrid& grid, const RenderSettings& render, const Page& page,
                    const std::string& setColour, const std::string& fill) {
    std::string body;
    if (!render.light.invisible()) {
        body += Rgb(render.light) + ' ' + setColour + "\n0 0 " + std::to_string(page.widthModules) +
                ' ' + std::to_string(page.heightModules) + " re " + fill + '\n';
    }
    if (!render.dark.invisible()) {
        body += Rgb(render.dark) + ' ' + setColour + '\n' + DarkRuns(grid, render.quietZone) +
                fill + '\n';
    }
    return body;
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
    const std::string stream = "q " + scale + " 0 0 " + scale + " 0 0 cm\n" +
                               Drawing(grid, render, page, "rg", "f") + "Q\n";
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Decimal(page.width()) + ' ' +
            Decimal(page.height()) + "] /Contents 4 0 R /Resources << >> >>",
        "<< /Length " + std::to_string(stream.size()) + " >>\nstream\n" + stream + "endstream",
    };
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
           Drawing(grid, render, page, "setrgbcolor", "fill") + "grestore\nshowpage\n%%EOF\n";
}

}  // namespace ecc200_cli

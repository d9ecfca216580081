// Reading benchmark: ecc200's reader against zxing-cpp's and libdmtx's on the same clean
// symbols, one run. Rows: a module matrix alone (ecc200 decodes the matrix; the peers, which take
// no matrix through their public interfaces, read it drawn at one pixel a module inside a one-
// module margin) and a PNG file in memory (4 pixels a module, quiet zone of 2 modules; every
// reader's time includes decoding the PNG with the same loader). Each cell is the median of five
// repetitions of at least 0.1 s (0.01 s with --quick); a reader that does not give back the data
// shows "fails". Times are process CPU time.
#include <ZXing/ReadBarcode.h>
#include <dmtx.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "ecc200.h"
#include "geometry/size_table.h"
#include "image_file.h"
#include "symbol_reader.h"

namespace {

// Process CPU time, far steadier than wall-clock time on a shared machine.
double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
using ecc200_imaging::GreyImage;

struct Symbol {
    std::string data;
    int32_t rows = 0, cols = 0;
    std::vector<uint8_t> modules;
    GreyImage onePixel;  // two pixels a module, one module of margin
    std::string png;     // the tool's PNG: four pixels a module, two modules of quiet zone
};

GreyImage Draw(const Symbol& s, int scale, int margin) {
    GreyImage image =
        ecc200_imaging::BlankImage((s.cols + 2 * margin) * scale, (s.rows + 2 * margin) * scale);
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const int32_t r = y / scale - margin, c = x / scale - margin;
            if (r >= 0 && c >= 0 && r < s.rows && c < s.cols &&
                s.modules[static_cast<std::size_t>(r * s.cols + c)] != 0) {
                image.pixels[static_cast<std::size_t>(y * image.width + x)] = 0;
            }
        }
    }
    return image;
}

Symbol Make(int32_t sizeIndex) {
    Symbol s;
    const ecc200::SymbolSize& size = ecc200::SizeAt(sizeIndex);
    // Digits filling four fifths of the capacity: every block carries data.
    for (int32_t i = 0; i < size.totalDataCodewords * 8 / 5; ++i)
        s.data += static_cast<char>('0' + i * 7 % 10);
    SymbolHandle h = CreateSymbol_ECC200();
    SetDimension_ECC200(h, sizeIndex);
    SetDataToEncoding_ECC200(h, reinterpret_cast<const uint8_t*>(s.data.data()),
                             static_cast<int32_t>(s.data.size()));
    s.modules.assign(ECC200_MAX_MODULES, 0);
    WriteEncodedSymbolToBuf_ECC200(h, s.modules.data(), ECC200_MAX_MODULES);
    DeleteSymbol_ECC200(h);
    s.rows = size.symbolRows;
    s.cols = size.symbolCols;
    s.modules.resize(static_cast<std::size_t>(s.rows * s.cols));
    s.onePixel = Draw(s, 2, 1);
    return s;
}

std::string ReadFile(const std::string& path) {
    std::string bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char chunk[65536];
        std::size_t got = 0;
        while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, got);
        std::fclose(f);
    }
    return bytes;
}

// The tool writes the PNG, as a user's file would be.
std::string ToolPng(const char* tool, const Symbol& s) {
    const std::string path = "/tmp/ecc200_read_bench.png";
    const std::string command = std::string(tool) + " --size " + std::to_string(s.rows) + "x" +
                                std::to_string(s.cols) + " --module-size 4 --quiet-zone 2 -o " +
                                path + " -- " + s.data + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    std::string bytes = ReadFile(path);
    std::remove(path.c_str());
    return bytes;
}

GreyImage LoadPng(const std::string& png) {
    return ecc200_imaging::LoadImage(reinterpret_cast<const uint8_t*>(png.data()), png.size())
        .image;
}

std::string Ours(const GreyImage& image) {
    const ecc200_imaging::ImageReading r = ecc200_imaging::ReadImage(image, {});
    if (r.status != ECC200_OK) return {};
    return {reinterpret_cast<const char*>(r.reading.data),
            static_cast<std::size_t>(r.reading.dataLength)};
}

std::string OursMatrix(const Symbol& s) {
    static ECC200_Reading reading;
    if (ReadMatrix_ECC200(s.modules.data(), s.rows, s.cols, nullptr, nullptr, &reading) != 0)
        return {};
    return {reinterpret_cast<const char*>(reading.data),
            static_cast<std::size_t>(reading.dataLength)};
}

std::string Zxing(const GreyImage& image, bool pure) {
    const ZXing::Result r = ZXing::ReadBarcode(
        {image.pixels.data(), image.width, image.height, ZXing::ImageFormat::Lum},
        ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::DataMatrix).setIsPure(pure));
    return r.isValid() ? std::string(r.bytes().begin(), r.bytes().end()) : std::string();
}

std::string Dmtx(const GreyImage& image) {
    std::string out;
    std::vector<uint8_t> pixels = image.pixels;
    DmtxImage* raw = dmtxImageCreate(pixels.data(), image.width, image.height, DmtxPack8bppK);
    DmtxDecode* dec = dmtxDecodeCreate(raw, 1);
    DmtxTime timeout = dmtxTimeAdd(dmtxTimeNow(), 2000);
    if (DmtxRegion* reg = dmtxRegionFindNext(dec, &timeout)) {
        if (DmtxMessage* msg = dmtxDecodeMatrixRegion(dec, reg, DmtxUndefined)) {
            out.assign(reinterpret_cast<const char*>(msg->output),
                       static_cast<std::size_t>(msg->outputIdx));
            dmtxMessageDestroy(&msg);
        }
        dmtxRegionDestroy(&reg);
    }
    dmtxDecodeDestroy(&dec);
    dmtxImageDestroy(&raw);
    return out;
}

// Median microseconds a call; negative when the call does not give back the data.
double Time(const std::function<std::string()>& call, const std::string& expected, bool quick) {
    if (call() != expected) return -1;
    const double minSeconds = quick ? 0.01 : 0.1;
    std::vector<double> runs;
    for (int rep = 0; rep < 5; ++rep) {
        long count = 0;
        const double start = CpuSeconds();
        double seconds = 0;
        do {
            (void)call();
            ++count;
            seconds = CpuSeconds() - start;
        } while (seconds < minSeconds);
        runs.push_back(seconds * 1e6 / static_cast<double>(count));
    }
    std::sort(runs.begin(), runs.end());
    return runs[2];
}

std::string Cell(double us) {
    if (us < 0) return "fails";
    char text[32];
    std::snprintf(text, sizeof text, us < 100 ? "%.1f us" : "%.0f us", us);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false;
    const char* tool = ECC200_TOOL_PATH;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) quick = true;
    }
    std::printf("| symbol | input | ecc200 | zxing-cpp | libdmtx |\n|---|---|---|---|---|\n");
    int failures = 0;
    for (int32_t size :
         {ECC200_SIZE_10X10, ECC200_SIZE_24X24, ECC200_SIZE_64X64, ECC200_SIZE_144X144}) {
        const Symbol s = Make(size);
        const std::string png = ToolPng(tool, s);
        const std::string name = std::to_string(s.rows) + "x" + std::to_string(s.cols);
        const double ours = Time([&] { return OursMatrix(s); }, s.data, quick);
        std::printf(
            "| %s | module matrix | %s | %s | %s |\n", name.c_str(), Cell(ours).c_str(),
            Cell(Time([&] { return Zxing(s.onePixel, true); }, s.data, quick)).c_str(),
            quick ? "-" : Cell(Time([&] { return Dmtx(s.onePixel); }, s.data, quick)).c_str());
        const double oursPng = Time([&] { return Ours(LoadPng(png)); }, s.data, quick);
        std::printf(
            "| %s | PNG file, 4 px a module | %s | %s | %s |\n", name.c_str(),
            Cell(oursPng).c_str(),
            Cell(Time([&] { return Zxing(LoadPng(png), false); }, s.data, quick)).c_str(),
            quick ? "-" : Cell(Time([&] { return Dmtx(LoadPng(png)); }, s.data, quick)).c_str());
        failures += (ours < 0) + (oursPng < 0);
    }
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}

// The ecc200 tool run as a process: every output format against the library's own symbol, every
// failure with its exit code and message, and batch mode.
#include <ZXing/ReadBarcode.h>
#include <gmock/gmock.h>
#include <png.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "../support/test_support.h"
#include "ecc200.h"
#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using Bytes = std::string;
using ecc200::testing::Quoted;
using ecc200::testing::ReadFile;
using ecc200::testing::WriteFile;

const Bytes kId = "ACME**00112233445566778899AA-0123456789abcdefABCDEF\n", kBom = "\xEF\xBB\xBF";
const Bytes kNoHex = "ACME**" + Bytes(22, 'z') + "-" + Bytes(22, 'z');

// Greyscale, top row first; symbols drawn one pixel per module when not scaled.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    bool operator==(const Picture&) const = default;
    uint8_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Picture Blank(int width, int height) {
    return {width, height, std::vector<uint8_t>(static_cast<std::size_t>(width * height), 255)};
}

ZXing::Result Read(const Picture& picture) {
    return ZXing::ReadBarcode(
        {picture.pixels.data(), picture.width, picture.height, ZXing::ImageFormat::Lum},
        ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::DataMatrix));
}

Bytes Decoded(const Picture& picture) {
    const auto result = Read(picture);
    return result.isValid() ? Bytes(result.bytes().begin(), result.bytes().end()) : "<unread>";
}

Picture ReadPng(const fs::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_GRAY;  // finish_read frees the image whatever happens
    Picture picture = Blank(static_cast<int>(image.width), static_cast<int>(image.height));
    const png_color paper{255, 255, 255};  // transparent pixels are laid over white
    if (!png_image_finish_read(&image, &paper, picture.pixels.data(), 0, nullptr)) return {};
    for (uint8_t& pixel : picture.pixels) pixel = pixel < 128 ? 0 : 255;  // colours: dark or light
    return picture;
}

// The four bytes at `at`, least significant first (BMP) or last (PNG).
uint32_t Word(const Bytes& file, std::size_t at, bool bigEndian = false) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<uint8_t>(file.at(bigEndian ? at + i : at + 3 - i));
    return value;
}

// An SVG whose one path is a list of "M<x> <y>h<n>v1h-<n>z" runs, in a width x height view box.
Picture FromSvg(const std::string& svg) {
    int width = 0, height = 0;
    const std::size_t box = std::min(svg.find("viewBox="), svg.size()), path = svg.find(" d=\"");
    if (std::sscanf(svg.c_str() + box, "viewBox=\"0 0 %4d %4d\"", &width, &height) != 2 ||
        path == std::string::npos) {
        return {};
    }
    Picture picture = Blank(width, height);
    std::size_t at = path + 4;
    for (int x = 0, y = 0, n = 0, back = 0, used = 0;
         std::sscanf(svg.c_str() + at, "M%4d %4dh%4dv1h-%4dz%n", &x, &y, &n, &back, &used) == 4 &&
         used > 0 && n == back && x >= 0 && y >= 0 && y < height && x + n <= width;
         at += static_cast<std::size_t>(used), used = 0) {
        while (n-- > 0) picture.at(x + n, y) = 0;
    }
    return svg.compare(at, 3, "\"/>") == 0 ? picture : Picture{};
}

// The page width in mm that an SVG, PDF or EPS file gives.
double WidthMm(const std::string& text) {
    const bool svg = text.starts_with("<"), pdf = text.starts_with("%PDF");
    const std::string key = svg   ? " width=\""
                            : pdf ? "/MediaBox [0 0 "
                                  : "%%HiResBoundingBox: 0 0 ";
    const std::size_t at = text.find(key);
    double width = 0;
    if (at == std::string::npos || std::sscanf(text.c_str() + at + key.size(), "%lf", &width) != 1)
        return 0;
    return svg ? width : width / 72 * 25.4;  // points
}

// A real renderer's picture of a PDF (poppler) or EPS (Ghostscript) at dpi, in black and white.
Picture Rendered(const fs::path& file, int dpi) {
    const std::string r = std::to_string(dpi) + " ", in = Quoted(file.string());
    const std::string gs = "gs -q -dNOPAUSE -dBATCH -dSAFER -dEPSCrop -sDEVICE=pgmraw -r";
    const std::string command = file.extension() == ".pdf"
                                    ? "pdftoppm -gray -singlefile -r " + r + in + " rendered"
                                    : gs + r + "-sOutputFile=rendered.pgm " + in;
    if (std::system(command.c_str()) != 0) return {};
    Bytes pgm = ReadFile("rendered.pgm");
    fs::remove("rendered.pgm");
    if (pgm.starts_with("P5\n#")) pgm.erase(3, pgm.find('\n', 3) - 2);  // Ghostscript's comment
    int width = 0, height = 0, used = 0;
    if (std::sscanf(pgm.c_str(), "P5 %d %d 255%n", &width, &height, &used) != 2) return {};
    Picture picture = Blank(width, height);
    if (pgm.size() != static_cast<std::size_t>(used) + 1 + picture.pixels.size()) return {};
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] =
            static_cast<uint8_t>(pgm[static_cast<std::size_t>(used) + 1 + i]) < 128 ? 0 : 255;
    return picture;
}

// The half-block drawing of a picture: each character stands for two pixels, one above the other.
std::string Drawn(Picture picture) {
    static const char* const kGlyphs[4] = {" ", "\u2580", "\u2584", "\u2588"};  // 1 upper, 2 lower
    std::string text;
    for (int k = 0; k < picture.width * picture.height / 2; ++k) {
        const int x = k % picture.width, y = k / picture.width * 2;
        text += kGlyphs[(picture.at(x, y) == 0) + 2 * (picture.at(x, y + 1) == 0)];
        if (x == picture.width - 1) text += '\n';
    }
    return text;
}

struct Symbol {
    Bytes data;
    int32_t scheme = ECC200_SCHEME_AUTO, size = ECC200_SIZE_AUTO;
    std::vector<std::string> args = {};
    const char* product = nullptr;
    std::string warning = "";  // the one line on standard error, if any
    Bytes identity = kId;      // user.id
};

// The number after `name` among the case's options, or `otherwise`.
double Option(const Symbol& c, const char* name, double otherwise) {
    const auto at = std::ranges::find(c.args, name);
    return at == c.args.end() ? otherwise : std::stod(*std::next(at));
}

// What WriteEncodedSymbolToBuf_ECC200 makes of the case inside its quiet zone, scale pixels a
// module; the library's own BMP of it at that scale is left in library.bmp.
Picture LibrarySymbol(const Symbol& c, int scale = 1) {
    const auto symbol = ecc200::testing::SymbolWith(c.scheme, c.size, c.data);
    if (std::ranges::count(c.args, "--user-mark")) SetSignUser_ECC200(symbol.get(), 1);
    if (c.product) SetSignProduct_ECC200(symbol.get(), 1, c.product);
    int32_t status = 0;
    const auto modules = ecc200::testing::EncodeToModules(symbol.get(), status);
    if (status != ECC200_OK) return {-1, -1, {}};  // matches nothing
    const auto& size = ecc200::SizeAt(GetDimension_ECC200(symbol.get()));
    const int q = static_cast<int>(Option(c, "--quiet-zone", 2)), rows = size.symbolRows,
              cols = size.symbolCols;
    WriteEncodedSymbolToBMP_ECC200(symbol.get(), scale, q * scale, "library.bmp");
    Picture picture = Blank((cols + 2 * q) * scale, (rows + 2 * q) * scale);
    for (int i = 0; i < picture.width * picture.height; ++i) {
        const int col = i % picture.width / scale - q, row = i / picture.width / scale - q;
        if (col >= 0 && row >= 0 && col < cols && row < rows &&
            modules[static_cast<std::size_t>(row * cols + col)])
            picture.pixels[static_cast<std::size_t>(i)] = 0;
    }
    return picture;
}

// Each test works in a scratch folder of its own; the tool's standard streams live beside it.
class Cli : public ::testing::Test {
  protected:
    Cli() {
        fs::create_directory("work");
        fs::current_path("work");
    }

    // The exit code, standard output and standard error; the streams live beside "work".
    auto Tool(const std::vector<std::string>& args, const Bytes& input = "",
              const fs::path& out = "../out") const {
        WriteFile("../in", input);
        std::string command = Quoted(ECC200_TOOL_PATH);
        for (const std::string& arg : args) command += " " + Quoted(arg);
        command += " <../in >" + Quoted(out.string()) + " 2>../err";
        const int status = std::system(command.c_str());
        return std::tuple(WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile("../out"),
                          ReadFile("../err"));
    }

    // Every file and folder in the scratch directory, with the files' contents.
    static std::map<std::string, Bytes> Snapshot() {
        std::map<std::string, Bytes> entries;
        for (const auto& entry : fs::recursive_directory_iterator("."))
            entries[entry.path().string()] =
                entry.is_directory() ? "<folder>" : ReadFile(entry.path());
        return entries;
    }

  private:
    ecc200::testing::ScratchDirectory dir_;
};

class Outputs : public Cli, public ::testing::WithParamInterface<Symbol> {};

const Symbol kSymbols[] = {
    {"AB12", ECC200_SCHEME_AUTO, ECC200_SIZE_8X32, {"--size", "8X32", "--print"}},
    {"C40 TEXT 123", ECC200_SCHEME_C40, ECC200_SIZE_AUTO, {"--scheme", "C40"}},
    {"big modules, wide margin", 0, -1, {"--module-size", "7", "--quiet-zone", "5"}},
    {Bytes(300, 'x'), 0, ECC200_SIZE_64X64, {"--size", "64x64"}},
    {"Hello, caf\xc3\xa9 \xff\x01"},
    {Bytes("\0A\0\xff\x80 \r\n\x7f\xc3\xa4", 11), 0, -1, {"-i", "-"}},
    {Bytes(ECC200_MAX_DATA_LENGTH, '7'), 0, -1, {"-i", "data.bin", "--module-size", "2"}},
    {"marked data 42", 0, -1, {"--user-mark"}},
    {"marked data 42", 0, -1, {"--product-mark", "LOT-7"}, "LOT-7"},
    {"LOT 4", 0, -1, {"--xdim", "0.254", "--dpi", "600", "--fg", "#1A237E", "--bg", "#fff8e1"}},
    {"LOT 4", 0, -1, {"--dpi", "203", "--module-size", "3", "--fg", "blue", "--bg", "transparent"}},
    // Settings that work but may disappoint are written anyway, with a warning.
    {"LOT 4", 0, -1, {"--fg", "black", "--bg", "#909090"}, nullptr, "the colours differ by only"},
    {"LOT 4", 0, -1, {"--xdim", "0.6", "--dpi", "100"}, nullptr, "is drawn as 2 pixels, 0.508 mm"},
    {"m", 0, -1, {"--user-mark"}, nullptr, "user.id starts with a UTF-8 byte order", kBom + kId},
    {"m", 0, -1, {"--product-mark", "P"}, "P", "user.id holds no hex digits", kNoHex},
};

// One run writes every format; each holds exactly the library's symbol at the size asked for, the
// pictures read back as the data, and PNG and BMP record the resolution.
TEST_P(Outputs, HoldTheLibrarySymbol) {
    const Symbol& c = GetParam();
    const bool coloured = std::ranges::count(c.args, "--fg") > 0;  // no BMP then
    const double dpi = Option(c, "--dpi", 0), xdim = Option(c, "--xdim", 0);
    const int moduleSize =
        static_cast<int>(xdim ? std::round(xdim * dpi / 25.4) : Option(c, "--module-size", 4));
    // A module measures moduleSize points in PDF and EPS (SVG units) unless a resolution is given.
    const double moduleMm = xdim ? xdim : moduleSize * 25.4 / (dpi ? dpi : 72);
    WriteFile("user.id", c.identity);
    WriteFile("data.bin",
              c.data);  // the data is also on standard input; unless -i, it is an argument
    std::vector<std::string> args = c.args;
    if (!std::ranges::count(args, "-i")) args.insert(args.begin(), c.data);
    args.insert(args.end(),
                {"-o", "s.png", "-o", "s.svg", "-o", "s.pdf", "-o", "s.eps", "-o", "-"});
    if (!coloured) args.insert(args.end(), {"-o", "s.bmp"});
    const auto [code, out, err] = Tool(args, c.data);
    ASSERT_EQ(code, 0) << err;
    EXPECT_THAT(err, ::testing::MatchesRegex(c.warning.empty() ? "" : "ecc200: warning: [^\n]+\n"));
    EXPECT_THAT(err, HasSubstr(c.warning));

    const Picture symbol = LibrarySymbol(c), png = ReadPng("s.png");
    EXPECT_TRUE(FromSvg(ReadFile("s.svg")) == symbol);
    EXPECT_THAT(ReadFile("s.svg"), HasSubstr("shape-rendering=\"crispEdges\""));
    EXPECT_EQ(out, Drawn(symbol));
    EXPECT_TRUE(png == LibrarySymbol(c, moduleSize));
    const Bytes pngFile = ReadFile("s.png"), library = ReadFile("library.bmp");
    EXPECT_EQ(pngFile.substr(24, 2), Bytes(coloured ? "\1\3" : "\1\0", 2));  // 1 bit, palette?
    const long perMetre = std::lround(dpi / 0.0254);
    EXPECT_EQ(dpi ? Word(pngFile, pngFile.find("pHYs") + 4, true) : 0u, perMetre);
    if (!coloured) {
        Bytes bmp = ReadFile("s.bmp");
        EXPECT_EQ(Word(bmp, 38), dpi ? perMetre : Word(library, 38));  // horizontal resolution
        EXPECT_EQ(bmp.replace(38, 8, library, 38, 8), library);
    }
    EXPECT_NEAR(WidthMm(ReadFile("s.svg")), dpi ? symbol.width * moduleMm : png.width, 0.001);
    for (const char* vector : {"s.pdf", "s.eps"}) {
        EXPECT_NEAR(WidthMm(ReadFile(vector)), symbol.width * moduleMm, 0.001) << vector;
        if (dpi || coloured)
            EXPECT_EQ(Decoded(Rendered(vector, 254)), c.data) << vector;
        else
            EXPECT_TRUE(Rendered(vector, 72) == png) << vector;
    }
    if (c.product) return;  // these read back only once the mark is undone with its key
    EXPECT_EQ(Decoded(png), c.data);
}

INSTANTIATE_TEST_SUITE_P(Cases, Outputs, ::testing::ValuesIn(kSymbols));

struct Outcome {
    std::vector<std::string> args;
    int code;          // 0 done, 1 no symbol, 2 usage, 3 file
    std::string text;  // part of standard output when done, of standard error otherwise
    Bytes input = "", identity = "";  // standard input, user.id
};

class Messages : public Cli, public ::testing::WithParamInterface<Outcome> {};

const Bytes kLong(26, 'A'), kHuge(3000, '\xe9');
const Outcome kOutcomes[] = {
    {{"-o", "x.png"}, 2, "no data given"},
    {{"--colour", "x"}, 2, "--colour"},
    {{"x", "--scheme", "morse"}, 2, "morse"},
    {{"x", "--module-size", "0"}, 2, "--module-size"},
    {{"x", "-o", "x.jpg"}, 2, "cannot tell the format of 'x.jpg'"},
    {{"x", "--fg", "nonsense", "-o", "x.png"}, 2, "'nonsense' is not a colour"},
    {{"x", "--bg", "red", "-o", "x.png", "-o", "x.bmp"}, 2, "BMP output cannot take --fg or --bg"},
    {{"x", "--bg", "#ffffff80", "-o", "x.eps"}, 2, "EPS output cannot draw translucent colours"},
    {{"x", "--xdim", "0.5", "-o", "x.svg", "-o", "x.png"}, 2, "--xdim needs --dpi for PNG and BMP"},
    {{"x", "--xdim", "0.05", "--dpi", "200", "-o", "x.png"}, 2, "0.05 mm at 200 dpi is less"},
    {{"-i", "old.png", "-o", "./old.png"}, 2, "'./old.png' is the input file"},
    {{"x", "-i", "in.bin"}, 2, "excludes --input"},
    {{"--batch", "l.txt"}, 2, "--output-dir"},
    {{"", "-o", "x.png"}, 1, "the data is empty; pass --allow-empty"},
    {{kLong, "--size", "10x10"}, 1, "fit 10x10; the smallest square size that holds it is 20x20\n"},
    {{"-i", "-", "--size", "10x10"}, 1, "not even 144x144", kHuge},
    {{"-i", "-", "-o", "x.png"}, 1, "the data is too long for every size", kHuge},
    {{"-i", "-"}, 1, "longer than 3116 bytes", Bytes(ECC200_MAX_DATA_LENGTH + 1, '1')},
    {{"-i", "-", "--scheme", "edifact"}, 1, "byte 0x1F at position 3", "OH\x1f CRAP"},
    {{"x", "--user-mark"}, 1, "the user mark needs the identity file user.id in the current"},
    {{"x", "--user-mark"}, 1, "cannot use user.id", "", "ACME*00112233445566778899AA-0123"},
    {{"x", "--product-mark", Bytes(101, 'p')}, 1, "must be 1 to 100 characters", "", kId},
    {{Bytes(100, 'A'), "--size", "12x12", "-o", "old.png"}, 1, "does not fit 12x12"},
    {{"-i", "nowhere.bin", "-o", "x.png"}, 3, "cannot read 'nowhere.bin'"},
    {{"-i", ".", "-o", "x.png"}, 3, "cannot read '.'"},
    {{"x", "-o", "missing/x.png"}, 3, "cannot write 'missing/x.png'"},
    {{"x", "-o", "taken.svg", "-o", "x.png"}, 3, "cannot write 'taken.svg'"},
    {{"--batch", "-", "--output-dir", "old.png"}, 3, "cannot use the output folder 'old.png'", "a"},
    {{"123456", "--info"}, 0, "10x10 (10 rows x 10 columns, chosen automatically)\ncapacity: 3 "},
    {{"AB", "--info", "--size", "16x48"}, 0, "16x48 (16 rows x 48 columns, as requested)\n"},
    {{"--version"}, 0, ", library 21.10\n"},
    {{"(01)09501101530004", "--gs1"}, 2, "GS1 data: AI (01) component 1 of 1: wrong check digit"},
    {{"(10)ABC", "--gs1"}, 2, "GS1 data: AI (10) needs (01) or (02) or (03) or (8006) or (8026)"},
    {{"(10)" + Bytes(10000, 'A'), "--gs1"},
     2,
     "AI (10): value has 10000 characters, must have 1 to 20"},
    {{"x", "--hri"}, 2, "--hri requires --gs1"},
    {{"x", "--eci", "1000000"}, 2, "--eci takes a number from 1 to 999999 or utf8"},
    {{"x", "--gs1", "--eci", "26"}, 2, "--gs1 excludes --eci"},
    {{"x", "--smallest", "--scheme", "c40"}, 2, "--smallest chooses among the schemes"},
    {{"Hello World 123", "--info", "--smallest"}, 0, "size: 16x16 "},
    {{"(01)09501101530003(17)250101", "--gs1", "--info"},
     0,
     "human-readable: (01) 09501101530003 (17) 250101\n"},
    {{Bytes(100, '7'), "--info", "--shape", "dmre"}, 0, "size: 20x44 "},
    {{"--list-sizes"}, 0, "\n8x48          8       48              18  rectangle, DMRE"},
    {{"x", "--split", "1"}, 2, "--split takes a number from 2 to 16 or auto, not '1'"},
    {{"x", "--file-id", "1,2"}, 2, "--file-id requires --split"},
    {{"x", "--split", "2", "--file-id", "1,255"}, 2, "--file-id takes two numbers from 1 to 254"},
    {{"x", "--split", "auto", "--gs1"}, 2, "--gs1 excludes --split"},
    {{"x", "--split", "2", "-o", "p.png"}, 1, "the data does not fit 2 symbols"},
    {{Bytes(300, 'A'), "--split", "auto", "--size", "8x18", "-o", "p.png"},
     1,
     "the data does not fit 16 symbols of size 8x18; try a larger --size"},
    {{"AB-12", "--split", "2", "--scheme", "x12", "-o", "p.png"}, 1, "the ANSI X12 scheme cannot"},
};

// Whatever happens, nothing in the directory changes: no new file, none half written or replaced.
TEST_P(Messages, ExitCodeMessageAndNoFileTouched) {
    const Outcome& c = GetParam();
    WriteFile("old.png", "previous content");
    fs::create_directory("taken.svg");
    if (!c.identity.empty()) WriteFile("user.id", c.identity);
    const auto before = Snapshot();
    const auto [code, out, err] = Tool(c.args, c.input);
    EXPECT_EQ(code, c.code) << ::testing::PrintToString(c.args) << err;
    EXPECT_THAT(c.code == 0 ? out : err, HasSubstr(c.text));
    // One line naming the cause; usage errors may point to --help. Success says nothing there.
    const char* shape = c.code == 0   ? ""
                        : c.code == 2 ? "ecc200: [^\n]+\n(Run [^\n]+\n)?"
                                      : "ecc200: [^\n]+\n";
    EXPECT_THAT(err, ::testing::MatchesRegex(shape));
    EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, Messages, ::testing::ValuesIn(kOutcomes));

// The options reach the library: an independent reader sees GS1 (GS written as \035, symbology
// identifier ]d2), the ECI and reader programming.
TEST_F(Cli, ExtensionsReadBack) {
    const std::tuple<std::vector<std::string>, Bytes, std::string> cases[] = {
        {{"--gs1", "(01)09501101530003(10)AB-12(21)X1"}, "010950110153000310AB-12\03521X1", "]d2"},
        {{"--eci", "utf8", "caf\xc3\xa9"}, "caf\xc3\xa9", "]d1"},
        {{"--reader-programming", "PROG"}, "PROG", "]d1"},
    };
    for (auto [args, bytes, identifier] : cases) {
        args.insert(args.end(), {"-o", "s.png"});
        const auto [code, out, err] = Tool(args);
        ASSERT_EQ(code, 0) << err;
        const auto result = Read(ReadPng("s.png"));
        EXPECT_EQ(Bytes(result.bytes().begin(), result.bytes().end()), bytes);
        EXPECT_EQ(result.symbologyIdentifier(), identifier);
        EXPECT_EQ(result.hasECI(), args[0] == "--eci");
        EXPECT_EQ(result.readerInit(), args[0] == "--reader-programming");
    }
}

// --split writes one file per symbol, named by position, which join back to the data with the
// same file identifier; the sizes follow --size and --shape; a set of one is a plain symbol.
TEST_F(Cli, SplitWritesASetThatJoinsBack) {
    const std::string data = "Structured append: one message, several symbols. 0123456789";
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"--split", "3", "--file-id", "7,200"}, 3, "1992"},
        {{"--split", "auto", "--size", "8x48"}, 4, ""},
        {{"--split", "auto", "--size", "auto", "--shape", "dmre"}, 1, ""},
    };
    for (auto [args, count, id] : cases) {
        args.insert(args.begin(), data);
        args.insert(args.end(), {"-o", "part.png"});
        const auto [code, out, err] = Tool(args);
        ASSERT_EQ(code, 0) << err;
        std::string joined, fileId;
        for (int position = 1; position <= count; ++position) {
            const std::string name = "part-" + std::to_string(position) + ".png";
            const ZXing::Result r = Read(ReadPng(name));
            joined += std::string(r.bytes().begin(), r.bytes().end());
            EXPECT_EQ(std::tuple(r.sequenceIndex(), r.sequenceSize()),
                      count > 1 ? std::tuple(position - 1, count) : std::tuple(-1, -1));
            if (position == 1) fileId = r.sequenceId();
            EXPECT_EQ(r.sequenceId(), fileId);
            fs::remove(name);
        }
        EXPECT_FALSE(fs::exists("part-" + std::to_string(count + 1) + ".png"));
        EXPECT_EQ(joined, data);
        EXPECT_TRUE(id.empty() || fileId == id) << fileId;
    }
}

// The 3116-byte limit holds for the element string, not the bracketed text: 187 GTINs are 3366
// characters in brackets and 2992 bytes once converted, which 144x144 holds.
TEST_F(Cli, Gs1LimitOnTheElementString) {
    Bytes gtins;
    for (int i = 0; i < 187; ++i) gtins += "(01)09501101530003";
    WriteFile("gtins.txt", gtins + "\n");
    const auto [code, out, err] = Tool({"--gs1", "-i", "gtins.txt", "-o", "s.png"});
    ASSERT_EQ(code, 0) << err;
    EXPECT_EQ(Decoded(ReadPng("s.png")).size(), 187u * 16);
    // The same line in a batch, beside one whose (10) value is far too long.
    WriteFile("batch.txt", gtins + "\n(10)" + Bytes(5000, 'A') + "\n");
    const auto [batchCode, batchOut, batchErr] =
        Tool({"--gs1", "--gs1-skip-relations", "--batch", "batch.txt", "--output-dir", "d"});
    EXPECT_EQ(batchCode, 1);
    EXPECT_THAT(batchErr, HasSubstr("AI (10): value has 5000 characters"));
    EXPECT_EQ(Decoded(ReadPng("d/0001.png")).size(), 187u * 16);
}

// The human-readable line under the symbol: the PDF's text is the line, and the symbol of every
// vector format still reads back.
TEST_F(Cli, Gs1HumanReadableLine) {
    const std::string line = "(01) 09501101530003 (17) 250101 (10) A(1)&<";
    const Bytes element = "01095011015300031725010110A(1)&<";
    const auto [code, out, err] =
        Tool({"--gs1", "--hri", "(01)09501101530003(17)250101(10)A\\(1)&<", "-o", "s.pdf", "-o",
              "s.eps", "-o", "s.svg"});
    ASSERT_EQ(code, 0) << err;
    ASSERT_EQ(std::system("pdftotext s.pdf s.txt"), 0);
    const std::string text = ReadFile("s.txt");
    EXPECT_EQ(text.substr(0, text.find_first_of("\n\f")), line);
    EXPECT_EQ(Decoded(Rendered("s.pdf", 300)), element);
    EXPECT_EQ(Decoded(Rendered("s.eps", 300)), element);
    EXPECT_THAT(ReadFile("s.svg"),
                HasSubstr(">(01) 09501101530003 (17) 250101 (10) A(1)&amp;&lt;<"));
    // Pixel formats have no line: said, and the symbol is written all the same.
    const auto [pngCode, pngOut, pngErr] =
        Tool({"--gs1", "--hri", "(01)09501101530003", "-o", "s.png"});
    EXPECT_EQ(pngCode, 0);
    EXPECT_THAT(pngErr, HasSubstr("--hri draws the human-readable line in SVG, PDF and EPS only"));
}

// A failing standard output is a failed run, whatever was written there.
TEST_F(Cli, StandardOutputThatFailsIsAFileError) {
    const std::vector<std::string> cases[] = {{"x", "-o", "-"},
                                              {"x", "--info", "-o", "x.svg"},
                                              {"--list-sizes"},
                                              {"--version"},
                                              {"--help"}};
    for (const auto& args : cases) {
        const auto [code, out, err] = Tool(args, "", "/dev/full");
        EXPECT_EQ(code, 3) << args[0];
        EXPECT_THAT(err, HasSubstr("cannot write to standard output"));
    }
}

// A failing line fails the run and is listed. Every other line becomes the symbol the library
// makes of it alone, though one symbol object serves them all; names are padded to the line count.
// Shared out among several symbol objects, the lines give the same files, summary and failures.
TEST_F(Cli, BatchWritesEveryGoodLineAndListsTheFailures) {
    const Bytes lines = "x1\r\n" + kLong + "\nx3\n" + Bytes(3117, 'A') + Bytes(9997, '\n') + "Z9";
    const std::vector<std::string> args = {"--batch", "-", "--format", "svg", "--scheme", "c40"};
    auto one = args, three = args;
    one.insert(one.end(), {"--output-dir", "one", "--jobs", "1"});
    three.insert(three.end(), {"--output-dir", "out", "--jobs", "3"});
    const auto [code1, out1, err1] = Tool(one, lines);
    const auto [code, out, err] = Tool(three, lines);
    EXPECT_EQ(std::tie(code1, err1), std::tie(code, err));
    EXPECT_EQ(code, 1);
    EXPECT_THAT(out, HasSubstr("batch: 4 of 10001 lines encoded into out (00001.svg .. 10001"));
    EXPECT_THAT(err, HasSubstr("9997 lines failed:\n  line 4: the line is longer than 3116 bytes"));
    EXPECT_THAT(err, HasSubstr("\n  line 10000: the line is empty"));
    for (const auto& [name, data] : std::map<std::string, Bytes>{
             {"00001", "x1"}, {"00002", kLong}, {"00003", "x3"}, {"10001", "Z9"}}) {
        const Picture symbol = LibrarySymbol({data, ECC200_SCHEME_C40});
        EXPECT_TRUE(FromSvg(ReadFile("out/" + name + ".svg")) == symbol) << name;
        EXPECT_EQ(ReadFile("one/" + name + ".svg"), ReadFile("out/" + name + ".svg"));
    }
    for (const char* folder : {"one", "out"})
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4);
}

// An interrupted batch leaves only complete files and exits with 128 + the signal's number (the
// single run walks every signal; these share its handlers).
TEST_F(Cli, InterruptedBatchLeavesNoTemporaryFile) {
    Bytes lines;
    for (int i = 0; i < 100000; ++i) lines += std::to_string(i) + "\n";
    WriteFile("lines.txt", lines);
    for (const auto& [signal, expected] : {std::pair{"INT", 130}, {"TERM", 143}, {"PIPE", 141}}) {
        fs::remove_all("out");
        const std::string script = Quoted(ECC200_TOOL_PATH) +
                                   " --batch lines.txt --output-dir out >/dev/null 2>err & "
                                   "while [ ! -e out/000100.png ]; do sleep 0.01; done; kill -" +
                                   std::string(signal) + " $!; wait $!; echo $? >code";
        ASSERT_EQ(std::system(("sh -c " + Quoted(script)).c_str()), 0);
        EXPECT_EQ(std::stoi(ReadFile("code")), expected) << signal;
        EXPECT_THAT(ReadFile("err"), HasSubstr("ecc200: interrupted; "));
        for (const auto& entry : fs::directory_iterator("out"))
            EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
    }
}

}  // namespace

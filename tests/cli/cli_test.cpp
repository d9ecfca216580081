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

#include "ecc200.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using Bytes = std::string;

const Bytes kId = "ACME**00112233445566778899AA-0123456789abcdefABCDEF\n";

Bytes Read(const fs::path& path) {
    return Bytes(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {});
}

void Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Quoted(const fs::path& path) {
    std::string quoted = "'";
    for (char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

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

Bytes Decoded(const Picture& picture) {
    const auto result = ZXing::ReadBarcode(
        {picture.pixels.data(), picture.width, picture.height, ZXing::ImageFormat::Lum},
        ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::DataMatrix));
    return result.isValid() ? Bytes(result.bytes().begin(), result.bytes().end()) : "<unread>";
}

Picture ReadPng(const fs::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_GRAY;  // finish_read frees the image whatever happens
    Picture picture = Blank(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) return {};
    return picture;
}

// An 8-bit BMP with a grey palette, stored bottom row first.
Picture ReadBmp(const fs::path& path) {
    const Bytes file = Read(path);
    const auto word = [&](std::size_t at) {
        uint32_t value = 0;
        for (std::size_t i = 4; i-- > 0;)
            value = value << 8 | static_cast<uint8_t>(file.at(at + i));
        return value;
    };
    const std::size_t width = word(18), height = word(22), stride = (width + 3) & ~std::size_t{3};
    if (width > 9999 || height > 9999 || file.size() != word(10) + stride * height) return {};
    Picture picture = Blank(static_cast<int>(width), static_cast<int>(height));
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const auto index =
            static_cast<uint8_t>(file[word(10) + (height - 1 - i / width) * stride + i % width]);
        picture.pixels[i] = static_cast<uint8_t>(file.at(54 + 4u * index));  // grey entry's blue
    }
    return picture;
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
    int moduleSize = 4, quietZone = 2;
    const char* product = nullptr;
};

// What WriteEncodedSymbolToBuf_ECC200 makes of the case inside its quiet zone, scale pixels a
// module.
Picture LibrarySymbol(const Symbol& c, int scale = 1) {
    static const int kSquares[24] = {10, 12, 14, 16, 18, 20, 22, 24, 26,  32,  36,  40,
                                     44, 48, 52, 64, 72, 80, 88, 96, 104, 120, 132, 144};
    static const int kRectangles[6][2] = {{8, 18}, {8, 32}, {12, 26}, {12, 36}, {16, 36}, {16, 48}};
    SymbolHandle symbol = CreateSymbol_ECC200();
    SetScheme_ECC200(symbol, c.scheme);
    SetDimension_ECC200(symbol, c.size);
    SetDataToEncoding_ECC200(symbol, reinterpret_cast<const uint8_t*>(c.data.data()),
                             static_cast<int32_t>(c.data.size()));
    if (std::ranges::count(c.args, "--user-mark")) SetSignUser_ECC200(symbol, 1);
    if (c.product) SetSignProduct_ECC200(symbol, 1, c.product);
    uint8_t modules[ECC200_MAX_MODULES];
    const int32_t status = WriteEncodedSymbolToBuf_ECC200(symbol, modules, ECC200_MAX_MODULES);
    const int32_t size = GetDimension_ECC200(symbol);
    DeleteSymbol_ECC200(symbol);
    if (status != ECC200_OK || size < 0 || size >= 30) return {-1, -1, {}};  // matches nothing
    const int q = c.quietZone, rows = size < 24 ? kSquares[size] : kRectangles[size - 24][0],
              cols = size < 24 ? kSquares[size] : kRectangles[size - 24][1];
    Picture picture = Blank((cols + 2 * q) * scale, (rows + 2 * q) * scale);
    for (int i = 0; i < picture.width * picture.height; ++i) {
        const int col = i % picture.width / scale - q, row = i / picture.width / scale - q;
        if (col >= 0 && row >= 0 && col < cols && row < rows && modules[row * cols + col] != 0)
            picture.pixels[static_cast<std::size_t>(i)] = 0;
    }
    return picture;
}

// Each test works in a scratch directory of its own; the tool's standard streams live beside it.
class Cli : public ::testing::Test {
  protected:
    Cli() {
        fs::create_directories(root_ / "work");
        fs::current_path(root_ / "work");
    }
    ~Cli() override {
        std::error_code ignored;
        fs::current_path(home_, ignored);
        fs::remove_all(root_, ignored);
    }

    // The exit code, standard output and standard error.
    auto Tool(const std::vector<std::string>& args, const Bytes& input = "") const {
        Write(root_ / "in", input);
        std::string command = Quoted(ECC200_TOOL_PATH);
        for (const std::string& arg : args) command += " " + Quoted(arg);
        command += " <" + Quoted(root_ / "in") + " >" + Quoted(root_ / "out") + " 2>" +
                   Quoted(root_ / "err");
        const int status = std::system(command.c_str());
        return std::tuple(WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(root_ / "out"),
                          Read(root_ / "err"));
    }

    // Every file and folder in the scratch directory, with the files' contents.
    static std::map<std::string, Bytes> Snapshot() {
        std::map<std::string, Bytes> entries;
        for (const auto& entry : fs::recursive_directory_iterator(".")) {
            entries[entry.path().string()] = entry.is_directory() ? "<folder>" : Read(entry.path());
        }
        return entries;
    }

  private:
    const fs::path home_ = fs::current_path();
    const fs::path root_ = [] {
        std::string name = (fs::temp_directory_path() / "ecc200_cli_test_XXXXXX").string();
        EXPECT_NE(mkdtemp(name.data()), nullptr);
        return fs::path(name);
    }();
};

class Outputs : public Cli, public ::testing::WithParamInterface<Symbol> {};

const Symbol kSymbols[] = {
    {"AB12", ECC200_SCHEME_AUTO, ECC200_SIZE_8X32, {"--size", "8X32", "--print"}},
    {"9008123567", ECC200_SCHEME_X12, ECC200_SIZE_AUTO, {"--scheme", "x12"}},
    {"C40 TEXT 123", ECC200_SCHEME_C40, ECC200_SIZE_AUTO, {"--scheme", "C40"}},
    {"bytes \x01\x7f\x80\xff", ECC200_SCHEME_BASE256, ECC200_SIZE_AUTO, {"--scheme", "base256"}},
    {"big modules, wide margin", 0, -1, {"--module-size", "7", "--quiet-zone", "5"}, 7, 5},
    {Bytes(300, 'x'), 0, ECC200_SIZE_64X64, {"--size", "64x64"}},
    {"Hello, caf\xc3\xa9 \xff\x01"},
    {Bytes("\0A\0\xff\x80 \r\n\x7f\xc3\xa4", 11), 0, -1, {"-i", "-"}},
    {Bytes(ECC200_MAX_DATA_LENGTH, '7'), 0, -1, {"-i", "data.bin", "--module-size", "2"}, 2},
    {"marked data 42", 0, -1, {"--user-mark"}},
    {"marked data 42", 0, -1, {"--product-mark", "LOT-7"}, 4, 2, "LOT-7"},
};

// One run writes every format; each holds exactly the library's symbol, and the pictures read
// back as the data.
TEST_P(Outputs, HoldTheLibrarySymbol) {
    const Symbol& c = GetParam();
    Write("user.id", kId);
    Write("data.bin", c.data);  // the data is also on standard input; unless -i, it is an argument
    std::vector<std::string> args = c.args;
    if (std::find(args.begin(), args.end(), "-i") == args.end()) args.insert(args.begin(), c.data);
    args.insert(args.end(), {"-o", "s.png", "-o", "s.bmp", "-o", "s.svg", "-o", "-"});
    const auto [code, out, err] = Tool(args, c.data);
    ASSERT_EQ(code, 0) << err;

    const Picture symbol = LibrarySymbol(c), png = ReadPng("s.png");
    EXPECT_TRUE(FromSvg(Read("s.svg")) == symbol);
    EXPECT_THAT(Read("s.svg"), HasSubstr("shape-rendering=\"crispEdges\""));
    EXPECT_EQ(out, Drawn(symbol));
    EXPECT_TRUE(png == LibrarySymbol(c, c.moduleSize));
    EXPECT_TRUE(ReadBmp("s.bmp") == png);
    if (c.product) return;  // these read back only once the mark is undone with its key
    EXPECT_EQ(Decoded(png), c.data);
    EXPECT_EQ(Decoded(ReadBmp("s.bmp")), c.data);
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
    {{"x", "--size", "11x11"}, 2, "11x11"},
    {{"x", "--scheme", "morse"}, 2, "morse"},
    {{"x", "--module-size", "0"}, 2, "--module-size"},
    {{"x", "-o", "x.jpg"}, 2, "cannot tell the format of 'x.jpg'"},
    {{"x", "-i", "in.bin"}, 2, "excludes --input"},
    {{"--batch", "l.txt"}, 2, "--output-dir"},
    {{"x", "--output-dir", "out"}, 2, "--batch"},
    {{"", "-o", "x.png"}, 1, "the data is empty; pass --allow-empty"},
    {{kLong, "--size", "10x10"}, 1, "fit 10x10; the smallest square size that holds it is 20x20\n"},
    {{kLong, "--size", "8x18"}, 1, "fit 8x18; the smallest rectangular size that holds it is "},
    {{Bytes(200, 'a'), "--size", "8x18"}, 1, "no rectangular size holds it"},
    {{"-i", "-", "--size", "10x10"}, 1, "not even 144x144", kHuge},
    {{"-i", "-", "-o", "x.png"}, 1, "the data is too long for every size", kHuge},
    {{"-i", "-"}, 1, "longer than 3116 bytes", Bytes(ECC200_MAX_DATA_LENGTH + 1, '1')},
    {{"AB-12", "--scheme", "x12"}, 1, "the ANSI X12 scheme cannot encode '-' (byte 45) at "},
    {{"ABc", "--scheme", "edifact"}, 1, "the EDIFACT scheme cannot encode 'c' (byte 99) at "},
    {{"-i", "-", "--scheme", "edifact"}, 1, "byte 0x1F at position 3", "OH\x1f CRAP"},
    {{"", "--allow-empty", "--scheme", "base256"}, 1, "the Base 256 scheme needs at least one"},
    {{"x", "--user-mark"}, 1, "the user mark needs the identity file user.id in the current"},
    {{"x", "--product-mark", "P1"}, 1, "the product mark needs the identity file user.id"},
    {{"x", "--user-mark"}, 1, "cannot use user.id", "", "ACME*00112233445566778899AA-0123"},
    {{"x", "--product-mark", Bytes(101, 'p')}, 1, "must be 1 to 100 characters", "", kId},
    {{Bytes(100, 'A'), "--size", "12x12", "-o", "old.png"}, 1, "does not fit 12x12"},
    {{"-i", "nowhere.bin", "-o", "x.png"}, 3, "cannot read 'nowhere.bin'"},
    {{"-i", ".", "-o", "x.png"}, 3, "cannot read '.'"},
    {{"x", "-o", "missing/x.png"}, 3, "cannot write 'missing/x.png'"},
    {{"x", "-o", "missing/x.bmp"}, 3, "cannot write 'missing/x.bmp'"},
    {{"x", "-o", "taken.svg", "-o", "x.png"}, 3, "cannot write 'taken.svg'"},
    {{"--batch", "none.txt", "--output-dir", "out"}, 3, "cannot read 'none.txt'"},
    {{"--batch", "-", "--output-dir", "old.png"}, 3, "cannot use the output folder 'old.png'", "a"},
    {{"123456", "--info"}, 0, "size: 10x10 (10 rows x 10 columns, chosen automatically)\n"},
    {{"123456", "--info"}, 0, "\ncapacity: 3 data codewords\nscheme requested: automatic\n"},
    {{"AB", "--info", "--size", "16x48"}, 0, "16x48 (16 rows x 48 columns, as requested)\n"},
    {{"AB", "--info", "--scheme", "c40"}, 0, "\nscheme requested: C40\n"},
    {{"--version"}, 0, ", library 21.10\n"},
    {{"--list-sizes"}, 0, "\n144x144     144      144            1558  square\n"},
    {{"--help"}, 0, "Examples:"},
};

// Whatever happens, nothing in the directory changes: no new file, none half written or replaced.
TEST_P(Messages, ExitCodeMessageAndNoFileTouched) {
    const Outcome& c = GetParam();
    Write("old.png", "previous content");
    fs::create_directory("taken.svg");
    if (!c.identity.empty()) Write("user.id", c.identity);
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

// A failing line fails the run and is listed. Every other line becomes the symbol the library
// makes of it alone, though one symbol object serves them all; names are padded to the line count.
TEST_F(Cli, BatchWritesEveryGoodLineAndListsTheFailures) {
    const Bytes lines = "x1\r\n" + kLong + "\nx3\n" + Bytes(3117, 'A') + Bytes(9997, '\n') + "Z9";
    const auto [code, out, err] =
        Tool({"--batch", "-", "--output-dir", "out", "--format", "svg", "--scheme", "c40"}, lines);
    EXPECT_EQ(code, 1);
    EXPECT_THAT(out, HasSubstr("batch: 4 of 10001 lines encoded into out (00001.svg .. 10001"));
    EXPECT_THAT(err, HasSubstr("9997 lines failed:\n  line 4: the data is 3117 bytes long"));
    EXPECT_THAT(err, HasSubstr("\n  line 10000: the line is empty"));
    for (const auto& [name, data] : std::map<std::string, Bytes>{
             {"00001", "x1"}, {"00002", kLong}, {"00003", "x3"}, {"10001", "Z9"}}) {
        const Picture symbol = LibrarySymbol({data, ECC200_SCHEME_C40});
        EXPECT_TRUE(FromSvg(Read("out/" + name + ".svg")) == symbol) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator("out"), fs::directory_iterator()), 4);
}

}  // namespace

#include "cli_test_support.h"

#include <ZXing/ReadBarcode.h>
#include <fcntl.h>
#include <png.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "ecc200.h"

extern char** environ;

namespace ecc200_cli_test {

ToolRun RunTool(const std::vector<std::string>& args, const std::filesystem::path& cwd,
                const std::string& input) {
    const ScratchDir io;
    WriteFile(io / "stdin", input);
    std::vector<std::string> argvStrings{ECC200_TOOL_PATH};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvStrings) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string in = io / "stdin", out = io / "stdout", err = io / "stderr";
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    pid_t pid = 0;
    ToolRun run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    return run;
}

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("ecc200_cli_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchDir::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::optional<GreyPicture> ReadPng(const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
    image.format = PNG_FORMAT_GRAY;
    GreyPicture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return picture;
}

namespace {

uint32_t Little32(const std::string& bytes, std::size_t at) {
    uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

}  // namespace

std::optional<GreyPicture> ReadBmp(const std::filesystem::path& path) {
    const std::string file = ReadFile(path);
    constexpr std::size_t kPixelOffset = 1078;
    if (file.size() < kPixelOffset || file.compare(0, 2, "BM") != 0) return std::nullopt;
    GreyPicture picture;
    picture.width = static_cast<int>(Little32(file, 18));
    picture.height = static_cast<int>(Little32(file, 22));
    if (picture.width <= 0 || picture.height <= 0 || Little32(file, 10) != kPixelOffset) {
        return std::nullopt;
    }
    const auto width = static_cast<std::size_t>(picture.width);
    const auto height = static_cast<std::size_t>(picture.height);
    const std::size_t stride = (width + 3) & ~std::size_t{3};
    if (file.size() != kPixelOffset + stride * height) return std::nullopt;
    picture.pixels.resize(width * height);
    for (std::size_t y = 0; y < height; ++y) {
        const std::size_t stored = kPixelOffset + stride * (height - 1 - y);
        for (std::size_t x = 0; x < width; ++x) {
            // The palette is a grey ramp: index i is grey level i.
            picture.pixels[y * width + x] = static_cast<uint8_t>(file[stored + x]);
        }
    }
    return picture;
}

std::optional<std::string> Decode(const GreyPicture& picture) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setTryHarder(true);
    const ZXing::ImageView view(picture.pixels.data(), picture.width, picture.height,
                                ZXing::ImageFormat::Lum);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid()) return std::nullopt;
    return std::string(result.bytes().begin(), result.bytes().end());
}

std::optional<Grid> LibraryGrid(const std::string& data, int32_t scheme, int32_t size) {
    SymbolHandle symbol = CreateSymbol_ECC200();
    SetScheme_ECC200(symbol, scheme);
    SetDimension_ECC200(symbol, size);
    SetDataToEncoding_ECC200(symbol, reinterpret_cast<const uint8_t*>(data.data()),
                             static_cast<int32_t>(data.size()));
    std::vector<uint8_t> buffer(ECC200_MAX_MODULES, 0xEE);
    const int32_t status =
        WriteEncodedSymbolToBuf_ECC200(symbol, buffer.data(), static_cast<int32_t>(buffer.size()));
    const int32_t used = GetDimension_ECC200(symbol);
    DeleteSymbol_ECC200(symbol);
    if (status != ECC200_OK) return std::nullopt;
    // Rows and columns of the sizes, in the order of ECC200_SIZE_*.
    static const int kRows[30] = {10, 12, 14, 16, 18, 20,  22,  24,  26,  32, 36, 40, 44, 48, 52,
                                  64, 72, 80, 88, 96, 104, 120, 132, 144, 8,  8,  12, 12, 16, 16};
    static const int kCols[30] = {10, 12, 14, 16, 18, 20,  22,  24,  26,  32, 36, 40, 44, 48, 52,
                                  64, 72, 80, 88, 96, 104, 120, 132, 144, 18, 32, 26, 36, 36, 48};
    if (used < 0 || used >= 30) return std::nullopt;
    Grid grid{kRows[used], kCols[used], {}};
    grid.modules.assign(buffer.begin(), buffer.begin() + grid.rows * grid.cols);
    return grid;
}

std::optional<Grid> GridFromSvg(const std::string& svg) {
    const std::size_t box = svg.find("viewBox=\"0 0 ");
    const std::size_t path = svg.find("<path ");
    const std::size_t d = svg.find(" d=\"", path);
    if (box == std::string::npos || path == std::string::npos || d == std::string::npos) {
        return std::nullopt;
    }
    Grid grid;
    if (std::sscanf(svg.c_str() + box, "viewBox=\"0 0 %d %d\"", &grid.cols, &grid.rows) != 2) {
        return std::nullopt;
    }
    grid.modules.assign(static_cast<std::size_t>(grid.rows * grid.cols), 0);
    // Every run is "M<x> <y>h<n>v1h-<n>z"; anything else in the path is a fault.
    const std::size_t end = svg.find('"', d + 4);
    std::size_t at = d + 4;
    while (at < end) {
        int x = 0, y = 0, n = 0, back = 0, used = 0;
        if (std::sscanf(svg.c_str() + at, "M%d %dh%dv1h-%dz%n", &x, &y, &n, &back, &used) != 4 ||
            used == 0 || n != back || x < 0 || y < 0 || y >= grid.rows || x + n > grid.cols) {
            return std::nullopt;
        }
        for (int i = 0; i < n; ++i) {
            grid.modules[static_cast<std::size_t>(y * grid.cols + x + i)] = 1;
        }
        at += static_cast<std::size_t>(used);
    }
    if (at != end) return std::nullopt;
    return grid;
}

std::optional<Grid> GridFromTerminal(const std::string& text) {
    std::vector<std::vector<uint8_t>> rows;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) return std::nullopt;
        std::vector<uint8_t> upper, lower;
        for (std::size_t i = start; i < end;) {
            if (text[i] == ' ') {
                upper.push_back(0), lower.push_back(0), ++i;
                continue;
            }
            const std::string glyph = text.substr(i, 3);
            if (glyph == "\u2588")
                upper.push_back(1), lower.push_back(1);
            else if (glyph == "\u2580")
                upper.push_back(1), lower.push_back(0);
            else if (glyph == "\u2584")
                upper.push_back(0), lower.push_back(1);
            else
                return std::nullopt;
            i += 3;
        }
        rows.push_back(upper);
        rows.push_back(lower);
        start = end + 1;
    }
    if (rows.empty()) return std::nullopt;
    Grid grid{static_cast<int>(rows.size()), static_cast<int>(rows[0].size()), {}};
    for (const auto& row : rows) {
        if (row.size() != rows[0].size()) return std::nullopt;
        grid.modules.insert(grid.modules.end(), row.begin(), row.end());
    }
    return grid;
}

std::optional<Grid> StripMargin(const Grid& grid, int margin) {
    Grid inner{grid.rows - 2 * margin, grid.cols - 2 * margin, {}};
    if (inner.rows <= 0 || inner.cols <= 0) return std::nullopt;
    for (int r = 0; r < grid.rows; ++r) {
        for (int c = 0; c < grid.cols; ++c) {
            const uint8_t module = grid.modules[static_cast<std::size_t>(r * grid.cols + c)];
            const bool inside =
                r >= margin && r < grid.rows - margin && c >= margin && c < grid.cols - margin;
            if (inside)
                inner.modules.push_back(module);
            else if (module != 0)
                return std::nullopt;
        }
    }
    return inner;
}

}  // namespace ecc200_cli_test

// Helpers for the tests that run the ecc200 tool as a process: running it with given arguments,
// standard input and working directory; reading back the pictures and drawings it makes; and the
// library's own module buffer to compare them with.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ecc200_cli_test {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the tool with args in directory cwd, feeding input to its standard input.
ToolRun RunTool(const std::vector<std::string>& args, const std::filesystem::path& cwd,
                const std::string& input = "");

// A scratch directory that is removed again at the end of the test.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    // Names of the entries in the directory, sorted.
    std::vector<std::string> Entries() const;

  private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// An 8-bit greyscale picture, top row first (0 black, 255 white).
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

std::optional<GreyPicture> ReadPng(const std::filesystem::path& path);
std::optional<GreyPicture> ReadBmp(const std::filesystem::path& path);
// The bytes a Data Matrix reader finds in picture, or nothing.
std::optional<std::string> Decode(const GreyPicture& picture);

// Modules, one byte each (1 dark), top row first.
struct Grid {
    int rows = 0;
    int cols = 0;
    std::vector<uint8_t> modules;
    bool operator==(const Grid&) const = default;
};

// What the library itself makes of data with scheme and size (ECC200_* values).
std::optional<Grid> LibraryGrid(const std::string& data, int32_t scheme, int32_t size);
// The grid painted by an SVG path of "M x y h n v 1 h -n z" runs, in a width x height view box.
std::optional<Grid> GridFromSvg(const std::string& svg);
// The grid drawn with half blocks in the terminal, quiet zone included.
std::optional<Grid> GridFromTerminal(const std::string& text);
// The part of grid inside a light border of margin modules; nothing if the border is not light.
std::optional<Grid> StripMargin(const Grid& grid, int margin);

}  // namespace ecc200_cli_test

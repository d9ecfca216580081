// One symbol object of the library, set up from the tool's settings and asked for its modules.
// Every failure comes back as a ToolError whose message names the cause in the user's terms.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ecc200.h"

namespace ecc200_cli {

struct SymbolSettings {
    int32_t scheme = ECC200_SCHEME_AUTO;
    int32_t size = ECC200_SIZE_AUTO;
    bool userMark = false;
    std::optional<std::string> productId;
    int32_t encodation = ECC200_ENCODATION_LOOKAHEAD;
    bool gs1 = false;  // the data is GS1 bracketed text, turned into an element string on Load
    bool gs1Relations = true;  // GS1: the relations between the AIs checked as well as the fields
    int32_t eci = 0;
    int32_t shape = ECC200_SHAPE_SQUARE;
    bool readerProgramming = false;
    int32_t appendPosition = 0;  // structured append: 0, or this symbol's place 1..count
    int32_t appendCount = 0;
    int32_t appendFileId = 0;
};

// The finished symbol, one byte per module (1 dark, 0 light), the top row first.
struct ModuleGrid {
    int rows = 0;
    int cols = 0;
    int32_t sizeIndex = ECC200_SIZE_AUTO;
    std::vector<uint8_t> modules;

    bool Dark(int row, int col) const {
        return modules[static_cast<std::size_t>(row * cols + col)] != 0;
    }
};

class Encoder {
  public:
    Encoder();
    ~Encoder();
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // Makes the symbol encode data with settings next; the object is reused from one call to the
    // next. Empty data leaves the symbol without data (the library then encodes nothing).
    void Load(const std::string& data, const SymbolSettings& settings);

    // Encodes and returns the modules.
    ModuleGrid Encode();

    // Encodes and writes an 8-bit greyscale BMP through the library.
    void WriteBmp(const std::string& path, int moduleSize, int quietZonePixels);

    // The bytes encoded: the data as given, or the element string of GS1 data.
    const std::string& data() const { return data_; }

    // The human-readable line of GS1 data, "(01) 09501101530003 (17) 250101"; empty otherwise.
    const std::string& humanReadable() const { return humanReadable_; }

  private:
    void ApplyOptions(const SymbolSettings& settings);
    void ApplyMarks(const SymbolSettings& settings);
    [[noreturn]] void FailEncode(int32_t status) const;

    SymbolHandle handle_;
    std::string data_;
    std::string humanReadable_;
    SymbolSettings settings_;
};

}  // namespace ecc200_cli

// The tool's command line: what the user asked for, and the parser that fills it in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ecc200_cli {

struct Options {
    // Data: the positional argument, or the file named by --input ("-" is standard input).
    std::optional<std::string> data;
    std::optional<std::string> inputFile;
    bool allowEmpty = false;

    int32_t scheme = 0;  // ECC200_SCHEME_AUTO
    int32_t size = -1;   // ECC200_SIZE_AUTO; the library itself would start at 10x10
    std::string schemeText = "auto";
    std::string sizeText = "auto";

    // Extensions set through SetOption_ECC200.
    bool smallest = false;          // ECC200_ENCODATION_SMALLEST
    bool gs1 = false;               // data in GS1 bracketed form, encoded with FNC1
    bool gs1SkipRelations = false;  // check the GS1 fields only, not the relations between AIs
    bool hri = false;               // the human-readable line under the symbol (vector formats)
    int32_t eci = 0;                // 0: no ECI
    int32_t shape = 0;              // ECC200_SHAPE_SQUARE
    std::string eciText;
    std::string shapeText = "square";
    bool readerProgramming = false;  // ECC200_OPTION_READER_PROGRAMMING

    // Structured append: --split N (2..16) or auto (0), and the set's file identifier.
    std::optional<int32_t> split;
    std::string splitText;
    std::optional<int32_t> fileId;  // byte1 * 256 + byte2; from the data when not given
    std::string fileIdText;

    std::vector<std::string> outputs;  // files by extension; "-" draws in the terminal
    bool print = false;
    int moduleSize = 4;             // pixels per module side
    int quietZone = 2;              // light modules around the symbol
    std::optional<int> dpi;         // resolution of the pixel formats
    std::optional<double> xdimMm;   // module side in millimetres
    std::optional<std::string> fg;  // colour of the dark modules, as typed
    std::optional<std::string> bg;  // colour of the light modules and the quiet zone

    bool userMark = false;
    std::optional<std::string> productId;

    std::optional<std::string> batchFile;
    std::optional<std::string> outputDir;
    std::string batchFormat = "png";
    unsigned jobs = 0;   // symbols encoded at once in a batch; 0: one per processor core
    int dataColumn = 0;  // the batch file is CSV with the data in this column (from 1); 0: lines
    int nameColumn = 0;  // CSV column (from 1) that names each row's file; 0: numbered files

    bool info = false;
    bool listSizes = false;
    bool version = false;
};

// The parse either gives options to run with, or an exit code to end with at once (help shown:
// 0; a usage error, already reported on standard error: 2).
struct ParseOutcome {
    Options options;
    std::optional<int> exitNow;
};

ParseOutcome ParseCommandLine(int argc, char** argv);

}  // namespace ecc200_cli

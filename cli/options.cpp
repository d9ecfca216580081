#include "options.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>

#include "catalogue.h"
#include "colour.h"
#include "ecc200.h"
#include "formats.h"
#include "render_plan.h"
#include "tool_error.h"
#include "vector_writer.h"

namespace ecc200_cli {
namespace {

constexpr int kMaxQuietZone = 50;
constexpr int kMaxDpi = 100000;
constexpr unsigned kMaxJobs = 256;
constexpr int kMaxColumn = 100000;

constexpr const char kExamples[] = R"(
Examples:
  ecc200 "Hello, world"                          draw the symbol in the terminal
  ecc200 "Hello, world" -o hello.png             write a PNG (also .bmp, .svg, .pdf, .eps)
  ecc200 "LOT 7" -o l.pdf --xdim 0.5             modules of 0.5 mm
  ecc200 "LOT 7" -o l.png --xdim 0.5 --dpi 600   the same at 600 dpi: 12 pixels a module
  ecc200 "LOT 7" -o l.png --fg blue --bg yellow  blue modules on yellow
  ecc200 -i label.bin -o label.svg --size 32x32  data from a file, fixed size
  printf 'A\0B' | ecc200 -i - -o nul.bmp         binary data from standard input
  ecc200 "4711" --info --print                   show the size chosen and the symbol
  ecc200 --batch serials.txt --output-dir out    one symbol per line: out/0001.png, ...
  ecc200 -o dash.png -- --data-with-dashes       after --, nothing is taken for an option
  ecc200 --gs1 "(01)09501101530003(10)AB1"      GS1 data in bracketed form
  ecc200 "Hello World 123" --smallest --info     the smallest encodation; codewords used
  ecc200 -i long.txt -o part.png --split auto --size 8x48
                                                 a set of DMRE symbols: part-1.png, ...
  ecc200 --list-sizes

Exit codes: 0 done; 1 the data or the settings do not make a symbol (or a batch line failed);
2 the command line is wrong; 3 a file could not be read or written; 128 + N interrupted by
signal N.)";

void AddDataOptions(CLI::App& app, Options& options) {
    app.add_option("data", options.data, "The bytes to encode, exactly as given")
        ->type_name("DATA");
    app.add_option("-i,--input", options.inputFile,
                   "Read the data from FILE, byte for byte ('-' reads standard input)")
        ->type_name("FILE")
        ->excludes("data");
    app.add_flag("--allow-empty", options.allowEmpty, "Accept empty data and encode it");
}

void AddSymbolOptions(CLI::App& app, Options& options) {
    app.add_option("--scheme", options.schemeText, "Encodation scheme")
        ->check(CLI::IsMember(SchemeKeywords(), CLI::ignore_case).description(""))
        ->type_name("auto|ascii|c40|text|x12|edifact|base256")
        ->default_str("auto");
    app.add_option("--size", options.sizeText,
                   "Symbol size: auto (the first size that holds the data: the smallest square, or "
                   "with --shape any or dmre the least area) or rows x columns such as 24x24, 8x18 "
                   "or the DMRE 8x48 (see --list-sizes)")
        ->check(CLI::IsMember(SizeKeywords(), CLI::ignore_case).description(""))
        ->type_name("SIZE")
        ->default_str("auto");
    app.add_flag("--user-mark", options.userMark,
                 "Add the user mark (needs user.id in the current directory)");
    app.add_option("--product-mark", options.productId,
                   "Add the product mark keyed with identifier ID (needs user.id); ordinary "
                   "readers cannot read such a symbol")
        ->type_name("ID");
}

// "utf8" or a designator 1..ECC200_MAX_ECI; nothing otherwise.
std::optional<int32_t> ParseEci(const std::string& text) {
    if (CLI::detail::to_lower(text) == "utf8") return ECC200_ECI_UTF8;
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int32_t value = std::stoi(text);
    if (value < 1 || value > ECC200_MAX_ECI) return std::nullopt;
    return value;
}

// "auto" (0) or a count 2..16; nothing otherwise.
std::optional<int32_t> ParseSplit(const std::string& text) {
    if (CLI::detail::to_lower(text) == "auto") return 0;
    if (text.empty() || text.size() > 2 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int32_t count = std::stoi(text);
    if (count < 2 || count > 16) return std::nullopt;
    return count;
}

// "A,B" with A and B in 1..254: A * 256 + B; nothing otherwise.
std::optional<int32_t> ParseFileId(const std::string& text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    int32_t bytes[2] = {};
    const std::string parts[2] = {text.substr(0, comma), text.substr(comma + 1)};
    for (int i = 0; i < 2; ++i) {
        if (parts[i].empty() || parts[i].size() > 3 ||
            parts[i].find_first_not_of("0123456789") != std::string::npos) {
            return std::nullopt;
        }
        bytes[i] = std::stoi(parts[i]);
        if (bytes[i] < 1 || bytes[i] > 254) return std::nullopt;
    }
    return bytes[0] * 256 + bytes[1];
}

void AddExtensionOptions(CLI::App& app, Options& options) {
    app.add_flag("--smallest", options.smallest,
                 "Automatic scheme: the shortest codeword stream over all schemes instead of the "
                 "look-ahead (smaller symbols for some data; macro 05/06 data, [)>RS05GS...RSEOT, "
                 "in one codeword for header and trailer)");
    CLI::Option* gs1 = app.add_flag(
        "--gs1", options.gs1,
        "The data is GS1 in bracketed form, e.g. (01)09501101530003(17)250101(10)ABC123: "
        "checked against GS1's rules and encoded as GS1 Data Matrix (FNC1)");
    app.add_flag("--gs1-skip-relations", options.gs1SkipRelations,
                 "With --gs1: check each field but not which AIs must or must not go together")
        ->needs(gs1);
    app.add_flag("--hri", options.hri,
                 "With --gs1: print the human-readable line, e.g. (01) 09501101530003, under the "
                 "symbol in SVG, PDF and EPS")
        ->needs(gs1);
    app.add_option("--eci", options.eciText,
                   "Start the symbol with ECI designator N (1.." + std::to_string(ECC200_MAX_ECI) +
                       "); utf8 is " + std::to_string(ECC200_ECI_UTF8))
        ->type_name("N|utf8")
        ->check(CLI::Validator(
            [](std::string& text) {
                return ParseEci(text)
                           ? std::string()
                           : "--eci takes a number from 1 to " + std::to_string(ECC200_MAX_ECI) +
                                 " or utf8, not '" + text + "'";
            },
            "", ""))
        ->excludes(gs1);
    app.add_option("--shape", options.shapeText,
                   "Sizes the automatic size considers: square, any (the smallest by area, "
                   "rectangles included) or dmre (the same with the DMRE rectangles too)")
        ->check(CLI::IsMember({"square", "any", "dmre"}, CLI::ignore_case).description(""))
        ->type_name("square|any|dmre")
        ->default_str("square");
    CLI::Option* programming = app.add_flag("--reader-programming", options.readerProgramming,
                                            "Make a reader programming symbol (codeword 234 first)")
                                   ->excludes(gs1);
    CLI::Option* split =
        app.add_option("--split", options.splitText,
                       "Structured append: cut the data into N symbols (2..16) or, with auto, "
                       "into the fewest symbols of the size and shape asked; each output FILE "
                       "becomes FILE-1 ... FILE-N with its extension")
            ->type_name("N|auto")
            ->check(CLI::Validator(
                [](std::string& text) {
                    return ParseSplit(text) ? std::string()
                                            : "--split takes a number from 2 to 16 or auto, "
                                              "not '" +
                                                  text + "'";
                },
                "", ""))
            ->excludes(gs1)
            ->excludes(programming);
    app.add_option("--file-id", options.fileIdText,
                   "Structured append: the set's file identifier as two numbers 1..254 "
                   "(default: taken from the data)")
        ->type_name("A,B")
        ->check(CLI::Validator(
            [](std::string& text) {
                return ParseFileId(text) ? std::string()
                                         : "--file-id takes two numbers from 1 to 254 such as "
                                           "12,34, not '" +
                                               text + "'";
            },
            "", ""))
        ->needs(split);
}

void AddOutputOptions(CLI::App& app, Options& options) {
    app.add_option("-o,--output", options.outputs,
                   "Write the symbol to FILE: " + ExtensionList() +
                       " by extension; '-' draws it in the terminal. May be given more than once")
        ->type_name("FILE")
        // One file per -o: what follows it is data or another option, and a "--" after it keeps
        // its meaning (everything after it is data) instead of ending a list of files.
        ->allow_extra_args(false);
    app.add_flag("--print", options.print, "Draw the symbol in the terminal");
    app.add_option("--module-size", options.moduleSize,
                   "Module size: pixels in PNG and BMP; points in PDF and EPS and pixels in SVG "
                   "unless --xdim or --dpi gives a length")
        ->check(CLI::Range(1, kMaxModuleSize))
        ->type_name("PIXELS")
        ->capture_default_str();
    app.add_option("--quiet-zone", options.quietZone, "Light margin around the symbol, in modules")
        ->check(CLI::Range(0, kMaxQuietZone))
        ->type_name("MODULES")
        ->capture_default_str();
    app.add_flag("--info", options.info,
                 "Print the size chosen, its data capacity, the scheme requested and the data "
                 "codewords used");
}

CLI::Validator ColourCheck() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (ParseColour(text)) return "";
            return "'" + text + "' is not a colour; use #RRGGBB, #RRGGBBAA or one of " +
                   ColourNames();
        },
        "", "colour");
}

void AddLookOptions(CLI::App& app, Options& options) {
    app.add_option("--dpi", options.dpi,
                   "Resolution: recorded in PNG and BMP; with --xdim it sets the pixels per module")
        ->check(CLI::Range(1, kMaxDpi))
        ->type_name("N");
    app.add_option("--xdim", options.xdimMm,
                   "Module size in mm: sizes SVG, PDF and EPS; PNG and BMP need --dpi with it")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                if (ParseModuleMm(text)) return "";
                return "the module size must be a decimal number of millimetres from " +
                       Decimal(kMinModuleMm) + " to " + Decimal(kMaxModuleMm) +
                       " (the sizes printers make), not '" + text + "'";
            },
            "", "length"))
        ->type_name("MM")
        ->excludes("--module-size");
    app.add_option("--fg", options.fg, "Colour of the dark modules: #RRGGBB[AA] or a name")
        ->check(ColourCheck())
        ->type_name("COLOUR");
    app.add_option("--bg", options.bg,
                   "Colour of the light modules and the margin; 'transparent' for none")
        ->check(ColourCheck())
        ->type_name("COLOUR");
}

void AddBatchOptions(CLI::App& app, Options& options) {
    CLI::Option* batch =
        app.add_option("--batch", options.batchFile,
                       "Encode every line of FILE as its own symbol ('-' reads standard input); "
                       "files are named by zero-padded line number, e.g. 0001.png (8 digits for "
                       "a stream too long to count ahead)")
            ->type_name("FILE")
            ->excludes("data")
            ->excludes("--input")
            ->excludes("--output")
            ->excludes("--print")
            ->excludes("--info");
    CLI::Option* dir =
        app.add_option("--output-dir", options.outputDir, "Folder for the batch's symbols")
            ->type_name("DIR");
    batch->needs(dir);
    dir->needs(batch);
    app.add_option("--format", options.batchFormat, "File format of the batch's symbols")
        ->check(CLI::IsMember(FileFormatNames(), CLI::ignore_case).description(""))
        ->type_name(FileFormatNameList("|"))
        ->needs(batch)
        ->capture_default_str();
    app.add_option("--jobs", options.jobs,
                   "Symbols encoded and written at once (default: one per processor core; fewer "
                   "when large pictures would take more than 256 MB)")
        ->check(CLI::Range(1u, kMaxJobs))
        ->type_name("N")
        ->needs(batch);
    CLI::Option* data =
        app.add_option("--data-column", options.dataColumn,
                       "Read the batch FILE as CSV (RFC 4180: quoted fields may hold commas, "
                       "quotes and line ends) and encode column N of every row")
            ->check(CLI::Range(1, kMaxColumn))
            ->type_name("N")
            ->needs(batch);
    app.add_option("--name-column", options.nameColumn,
                   "Name each row's file after column N of the CSV (the format's extension "
                   "added); a name with '/', '\\' or ':', a hidden one or a repeated one fails "
                   "that row")
        ->check(CLI::Range(1, kMaxColumn))
        ->type_name("N")
        ->needs(data);
}

void AddInformationOptions(CLI::App& app, Options& options) {
    app.add_flag("--list-sizes", options.listSizes,
                 "List the " + std::to_string(ECC200_SIZE_COUNT) + " symbol sizes and exit");
    app.add_flag("-V,--version", options.version, "Show the tool's and the library's version");
}

void ResolveKeywords(Options& options) {
    options.scheme = ParseScheme(options.schemeText).value_or(0);
    options.size = ParseSize(options.sizeText).value_or(-1);
    options.eci = ParseEci(options.eciText).value_or(0);
    if (!options.splitText.empty()) options.split = ParseSplit(options.splitText);
    if (!options.fileIdText.empty()) options.fileId = ParseFileId(options.fileIdText);
    const std::string shape = CLI::detail::to_lower(options.shapeText);
    options.shape = shape == "any"    ? ECC200_SHAPE_ANY
                    : shape == "dmre" ? ECC200_SHAPE_DMRE
                                      : ECC200_SHAPE_SQUARE;
}

}  // namespace

ParseOutcome ParseCommandLine(int argc, char** argv) {
    CLI::App app{"ecc200 - encode data as a Data Matrix ECC 200 symbol", "ecc200"};
    app.footer(kExamples);
    app.get_formatter()->column_width(34);

    ParseOutcome outcome;
    Options& options = outcome.options;
    AddDataOptions(app, options);
    AddSymbolOptions(app, options);
    AddExtensionOptions(app, options);
    AddOutputOptions(app, options);
    AddLookOptions(app, options);
    AddBatchOptions(app, options);
    AddInformationOptions(app, options);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        outcome.exitNow = app.exit(help);
        return outcome;
    } catch (const CLI::ParseError& error) {
        std::cerr << "ecc200: " << error.what() << "\nRun 'ecc200 --help' for the options.\n";
        outcome.exitNow = kExitUsage;
        return outcome;
    }
    ResolveKeywords(options);
    if (options.smallest && options.scheme != ECC200_SCHEME_AUTO) {
        std::cerr << "ecc200: --smallest chooses among the schemes, so it needs --scheme auto\n";
        outcome.exitNow = kExitUsage;
    }
    if (options.split && options.batchFile) {
        std::cerr << "ecc200: --split makes one set of symbols from one piece of data; it cannot "
                     "be combined with --batch\n";
        outcome.exitNow = kExitUsage;
    }
    return outcome;
}

}  // namespace ecc200_cli

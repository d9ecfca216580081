#include "single_run.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "catalogue.h"
#include "codeword_info.h"
#include "data_input.h"
#include "encoder.h"
#include "formats.h"
#include "gs1_data.h"
#include "identity_check.h"
#include "platform.h"
#include "render_plan.h"
#include "split_plan.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

using Target = std::pair<OutputFormat, std::string>;
using ecc200_host::FileIdOf;
using ecc200_host::Piece;
using ecc200_host::PlanSplit;

// Checks every output name before anything is encoded or written.
std::vector<Target> ResolveTargets(const Options& options) {
    std::vector<Target> targets;
    for (const std::string& output : options.outputs) {
        const auto format = FormatOfTarget(output);
        if (!format) {
            throw ToolError(kExitUsage, "cannot tell the format of '" + output +
                                            "' from its name; use a " + ExtensionList() +
                                            " file, or '-' for the terminal");
        }
        targets.emplace_back(*format, output);
    }
    const bool drawsInTerminal =
        std::any_of(targets.begin(), targets.end(),
                    [](const Target& target) { return target.first == OutputFormat::kTerminal; });
    // With no output named, the symbol is drawn in the terminal, unless only --info was asked.
    const bool nothingAsked = targets.empty() && !options.info;
    if (!drawsInTerminal && (options.print || nothingAsked)) {
        targets.emplace_back(OutputFormat::kTerminal, "-");
    }
    return targets;
}

// Writing an output over the input file would destroy the data before it is read again; the test
// is by file identity, so other names for the same file (links, "./") are caught too.
void RefuseInputAsOutput(const Options& options, const std::vector<Target>& targets) {
    if (!options.inputFile || *options.inputFile == "-") return;
    for (const auto& [format, target] : targets) {
        std::error_code ignored;
        if (format != OutputFormat::kTerminal &&
            std::filesystem::equivalent(*options.inputFile, target, ignored)) {
            throw ToolError(kExitUsage, "'" + target +
                                            "' is the input file; writing it would "
                                            "replace the data. Choose another output name");
        }
    }
}

std::vector<OutputFormat> FormatsOf(const std::vector<Target>& targets) {
    std::vector<OutputFormat> formats;
    for (const auto& target : targets) formats.push_back(target.first);
    return formats;
}

std::string ObtainData(const Options& options) {
    std::string data;
    if (options.data) {
        data = *options.data;
    } else if (options.inputFile) {
        // One byte more than fits tells "too long" apart from "just fits" without reading on.
        data = ReadBytes(*options.inputFile,
                         (options.gs1 ? kMaxGs1TextLength : ECC200_MAX_DATA_LENGTH) + 1);
    } else {
        throw ToolError(kExitUsage,
                        "no data given: pass it as an argument or with --input FILE (see --help)");
    }
    if (data.empty() && !options.allowEmpty) {
        throw ToolError(kExitSymbolFailed,
                        "the data is empty; pass --allow-empty to encode an empty symbol");
    }
    // GS1 text is limited by its element string, which the library measures once converted.
    if (data.size() > (options.gs1 ? kMaxGs1TextLength : ECC200_MAX_DATA_LENGTH)) {
        throw ToolError(kExitSymbolFailed, "the data is longer than " +
                                               std::to_string(ECC200_MAX_DATA_LENGTH) +
                                               " bytes, the most a symbol holds");
    }
    return data;
}

void PrintInfo(const Options& options, const ModuleGrid& grid, const std::string& data,
               const Encoder& encoder) {
    const std::size_t dataLength = encoder.data().size();
    const SizeFacts* size = FindSize(grid.sizeIndex);
    if (size == nullptr) return;
    std::cout << "size: " << size->name << " (" << size->rows << " rows x " << size->cols
              << " columns, "
              << (options.size == ECC200_SIZE_AUTO ? "chosen automatically" : "as requested")
              << ")\n"
              << "capacity: " << size->dataCodewords << " data codewords\n"
              << "scheme requested: " << FindScheme(options.scheme).name << "\n"
              << "data: " << dataLength << " bytes\n";
    if (options.gs1) std::cout << "human-readable: " << encoder.humanReadable() << "\n";
    PrintCodewordInfo(std::cout, data, SettingsFrom(options));
    if (options.userMark) std::cout << "user mark: on\n";
    if (options.productId) std::cout << "product mark: on\n";
    std::cout.flush();
}

// The name of symbol `position` of a set: "label.png" becomes "label-3.png"; the terminal stays.
std::string SetMemberName(const Target& target, int32_t position) {
    if (target.first == OutputFormat::kTerminal) return target.second;
    const std::filesystem::path path(target.second);
    std::filesystem::path member = path;
    member.replace_filename(path.stem().string() + "-" + std::to_string(position) +
                            path.extension().string());
    return member.string();
}

// The settings of symbol `position` of a set of `count` (a plain symbol for a count of 1).
SymbolSettings MemberSettings(SymbolSettings settings, int32_t position, int32_t count) {
    settings.appendPosition = count > 1 ? position : 0;
    settings.appendCount = count > 1 ? count : 0;
    if (count == 1) settings.appendFileId = 0;
    return settings;
}

// The status of encoding piece as symbol 1 of a set of count.
int32_t ProbePiece(std::string_view piece, const SymbolSettings& member) {
    const SymbolHandle probe = CreateSymbol_ECC200();
    if (probe == nullptr) throw ToolError(kExitSymbolFailed, "out of memory");
    SetScheme_ECC200(probe, member.scheme);
    const std::pair<int32_t, int32_t> options[] = {
        {ECC200_OPTION_SIZE, member.size},
        {ECC200_OPTION_ENCODATION, member.encodation},
        {ECC200_OPTION_ECI, member.eci},
        {ECC200_OPTION_SHAPE, member.shape},
        {ECC200_OPTION_APPEND_POSITION, member.appendPosition},
        {ECC200_OPTION_APPEND_COUNT, member.appendCount},
        {ECC200_OPTION_APPEND_FILE_ID, member.appendFileId},
    };
    for (const auto& [option, value] : options) SetOption_ECC200(probe, option, value);
    SetDataToEncoding_ECC200(probe, reinterpret_cast<const uint8_t*>(piece.data()),
                             static_cast<int32_t>(piece.size()));
    std::vector<uint8_t> buffer(ECC200_MAX_MODULES);
    const int32_t status =
        WriteEncodedSymbolToBuf_ECC200(probe, buffer.data(), static_cast<int32_t>(buffer.size()));
    DeleteSymbol_ECC200(probe);
    return status;
}

// A piece that the library refused for another reason than its length.
struct Refusal {
    std::size_t offset;
    std::size_t length;
    int32_t count;
};

// The pieces of a set; a failure names its cause: a piece the library refuses for another
// reason than its length, or data that the symbols asked for cannot hold.
std::vector<Piece> PlanSet(const std::string& data, const SymbolSettings& settings, int32_t count) {
    if (data.empty()) throw ToolError(kExitSymbolFailed, "--split needs data to split");
    std::optional<Refusal> refusal;
    const auto plan =
        PlanSplit(data.size(), count, [&](std::size_t offset, std::size_t length, int32_t symbols) {
            const SymbolSettings member = MemberSettings(settings, 1, symbols);
            const int32_t status =
                ProbePiece(std::string_view(data).substr(offset, length), member);
            if (status != ECC200_OK && status != ECC200_ERR_SIZE_TOO_SMALL &&
                status != ECC200_ERR_DATA_TOO_LONG && !refusal) {
                refusal = Refusal{offset, length, symbols};
            }
            return status == ECC200_OK;
        });
    if (plan) return *plan;
    if (refusal) {  // the library's own words for what is wrong with that piece
        Encoder encoder;
        encoder.Load(data.substr(refusal->offset, refusal->length),
                     MemberSettings(settings, 1, refusal->count));
        encoder.Encode();
    }
    const SizeFacts* size = FindSize(settings.size);
    throw ToolError(kExitSymbolFailed,
                    "the data does not fit " +
                        (count > 0 ? std::to_string(count) : std::string("16")) + " symbols" +
                        (size ? " of size " + size->name : std::string()) +
                        (count > 0 ? "; try more symbols, --split auto or a larger --size"
                                   : "; try a larger --size"));
}

// Structured append: every piece becomes one symbol of the set, written to every target with
// its position in the name.
int RunSplit(const Options& options, const std::vector<Target>& targets,
             const RenderSettings& render, const std::string& data) {
    SymbolSettings settings = SettingsFrom(options);
    settings.appendFileId = options.fileId.value_or(FileIdOf(data));
    const std::vector<Piece> pieces = PlanSet(data, settings, *options.split);
    const auto count = static_cast<int32_t>(pieces.size());
    Encoder encoder;
    for (int32_t position = 1; position <= count; ++position) {
        const Piece& piece = pieces[static_cast<std::size_t>(position - 1)];
        encoder.Load(data.substr(piece.offset, piece.length),
                     MemberSettings(settings, position, count));
        const ModuleGrid grid = encoder.Encode();
        if (options.info) {
            std::cout << "symbol " << position << " of " << count << ": "
                      << FindSize(grid.sizeIndex)->name << ", bytes " << piece.offset + 1 << ".."
                      << piece.offset + piece.length << "\n";
        }
        for (const Target& target : targets) {
            WriteOutput(target.first, SetMemberName(target, position), grid, encoder, render);
        }
    }
    if (options.info && count > 1) {
        std::cout << "file identifier: " << settings.appendFileId / 256 << ","
                  << settings.appendFileId % 256 << "\n";
    }
    return kExitOk;
}

}  // namespace

SymbolSettings SettingsFrom(const Options& options) {
    return {options.scheme,
            options.size,
            options.userMark,
            options.productId,
            options.smallest ? ECC200_ENCODATION_SMALLEST : ECC200_ENCODATION_LOOKAHEAD,
            options.gs1,
            !options.gs1SkipRelations,
            options.eci,
            options.shape,
            options.readerProgramming};
}

int RunSingle(const Options& options) {
    WatchForInterrupts();
    const std::vector<Target> targets = ResolveTargets(options);
    RefuseInputAsOutput(options, targets);
    RenderSettings render = PlanRender(options, FormatsOf(targets));
    WarnAboutIdentity(options);
    const std::string data = ObtainData(options);
    if (options.split) return RunSplit(options, targets, render, data);

    Encoder encoder;
    encoder.Load(data, SettingsFrom(options));
    const ModuleGrid grid = encoder.Encode();

    if (options.hri) render.humanReadable = encoder.humanReadable();
    for (const auto& target : targets) CheckPageSize(target.first, grid, render);
    if (options.info) PrintInfo(options, grid, data, encoder);
    // An interrupt lets the file in progress finish (a file is complete or absent) and stops there.
    for (const auto& [format, target] : targets) {
        if (InterruptSignal() != 0) break;
        WriteOutput(format, target, grid, encoder, render);
    }
    return kExitOk;
}

}  // namespace ecc200_cli

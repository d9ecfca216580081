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
#include "identity_check.h"
#include "platform.h"
#include "render_plan.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

using Target = std::pair<OutputFormat, std::string>;

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
        data = ReadBytes(*options.inputFile, ECC200_MAX_DATA_LENGTH + 1);
    } else {
        throw ToolError(kExitUsage,
                        "no data given: pass it as an argument or with --input FILE (see --help)");
    }
    if (data.empty() && !options.allowEmpty) {
        throw ToolError(kExitSymbolFailed,
                        "the data is empty; pass --allow-empty to encode an empty symbol");
    }
    if (data.size() > ECC200_MAX_DATA_LENGTH) {
        throw ToolError(kExitSymbolFailed, "the data is longer than " +
                                               std::to_string(ECC200_MAX_DATA_LENGTH) +
                                               " bytes, the most a symbol holds");
    }
    return data;
}

void PrintInfo(const Options& options, const ModuleGrid& grid, const std::string& data,
               std::size_t dataLength) {
    const SizeFacts* size = FindSize(grid.sizeIndex);
    if (size == nullptr) return;
    std::cout << "size: " << size->name << " (" << size->rows << " rows x " << size->cols
              << " columns, "
              << (options.size == ECC200_SIZE_AUTO ? "chosen automatically" : "as requested")
              << ")\n"
              << "capacity: " << size->dataCodewords << " data codewords\n"
              << "scheme requested: " << FindScheme(options.scheme).name << "\n"
              << "data: " << dataLength << " bytes\n";
    PrintCodewordInfo(std::cout, data, SettingsFrom(options));
    if (options.userMark) std::cout << "user mark: on\n";
    if (options.productId) std::cout << "product mark: on\n";
    std::cout.flush();
}

}  // namespace

SymbolSettings SettingsFrom(const Options& options) {
    return {options.scheme,
            options.size,
            options.userMark,
            options.productId,
            options.smallest ? ECC200_ENCODATION_SMALLEST : ECC200_ENCODATION_LOOKAHEAD,
            options.gs1,
            options.eci,
            options.shape};
}

int RunSingle(const Options& options) {
    WatchForInterrupts();
    const std::vector<Target> targets = ResolveTargets(options);
    RefuseInputAsOutput(options, targets);
    const RenderSettings render = PlanRender(options, FormatsOf(targets));
    WarnAboutIdentity(options);
    const std::string data = ObtainData(options);

    Encoder encoder;
    encoder.Load(data, SettingsFrom(options));
    const ModuleGrid grid = encoder.Encode();

    for (const auto& target : targets) CheckPageSize(target.first, grid, render);
    if (options.info) PrintInfo(options, grid, data, encoder.data().size());
    // An interrupt lets the file in progress finish (a file is complete or absent) and stops there.
    for (const auto& [format, target] : targets) {
        if (InterruptSignal() != 0) break;
        WriteOutput(format, target, grid, encoder, render);
    }
    return kExitOk;
}

}  // namespace ecc200_cli

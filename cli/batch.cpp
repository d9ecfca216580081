#include "batch.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "data_input.h"
#include "encoder.h"
#include "outputs.h"
#include "progress.h"
#include "single_run.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

constexpr int kMinimumNumberWidth = 4;

struct LineFailure {
    std::size_t lineNumber;
    std::string reason;
};

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string FileName(std::size_t lineNumber, int width, OutputFormat format) {
    std::string number = std::to_string(lineNumber);
    if (static_cast<int>(number.size()) < width) {
        number.insert(0, static_cast<std::size_t>(width) - number.size(), '0');
    }
    return number + ExtensionOf(format);
}

int NumberWidth(std::size_t lineCount) {
    return std::max(kMinimumNumberWidth, static_cast<int>(std::to_string(lineCount).size()));
}

void PrepareOutputDir(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error || !std::filesystem::is_directory(dir)) {
        throw ToolError(kExitFileError, "cannot use the output folder '" + dir + "'" +
                                            (error ? ": " + error.message() : ""));
    }
}

void EncodeLine(Encoder& encoder, const std::string& line, const Options& options,
                OutputFormat format, const std::string& target) {
    if (line.empty() && !options.allowEmpty) {
        throw ToolError(kExitSymbolFailed, "the line is empty (pass --allow-empty to encode it)");
    }
    encoder.Load(line, SettingsFrom(options));
    const ModuleGrid grid = encoder.Encode();
    WriteOutput(format, target, grid, encoder, {options.moduleSize, options.quietZone});
}

void Report(const std::vector<LineFailure>& failures, std::size_t lineCount, const std::string& dir,
            int width, OutputFormat format) {
    const std::size_t written = lineCount - failures.size();
    std::cout << "batch: " << written << " of " << lineCount << " lines encoded into " << dir;
    if (lineCount > 0) {
        std::cout << " (" << FileName(1, width, format) << " .. "
                  << FileName(lineCount, width, format) << ")";
    }
    std::cout << "\n";
    std::cout.flush();
    if (failures.empty()) return;
    std::cerr << "ecc200: " << failures.size() << (failures.size() == 1 ? " line" : " lines")
              << " failed:\n";
    for (const LineFailure& failure : failures) {
        std::cerr << "  line " << failure.lineNumber << ": " << failure.reason << "\n";
    }
}

}  // namespace

int RunBatch(const Options& options) {
    const OutputFormat format = *FormatOfTarget("x." + options.batchFormat);
    const std::vector<std::string> lines = SplitLines(ReadAllBytes(*options.batchFile));
    const std::string& dir = *options.outputDir;
    PrepareOutputDir(dir);

    const int width = NumberWidth(lines.size());
    Encoder encoder;  // one symbol object for the whole batch
    std::vector<LineFailure> failures;
    ProgressBar progress(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string target =
            (std::filesystem::path(dir) / FileName(i + 1, width, format)).string();
        try {
            EncodeLine(encoder, lines[i], options, format, target);
        } catch (const ToolError& error) {
            failures.push_back({i + 1, error.what()});
        }
        progress.Show(i + 1);
    }
    progress.Finish();
    Report(failures, lines.size(), dir, width, format);
    return failures.empty() ? kExitOk : kExitSymbolFailed;
}

}  // namespace ecc200_cli

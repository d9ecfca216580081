#include "batch.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "data_input.h"
#include "ecc200.h"
#include "encoder.h"
#include "formats.h"
#include "identity_check.h"
#include "platform.h"
#include "progress.h"
#include "render_plan.h"
#include "single_run.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

constexpr int kMinimumNumberWidth = 4;

std::string FileName(std::size_t lineNumber, int width, OutputFormat format) {
    std::string number = std::to_string(lineNumber);
    if (static_cast<int>(number.size()) < width) {
        number.insert(0, static_cast<std::size_t>(width) - number.size(), '0');
    }
    return number + std::string(TraitsOf(format).extension);
}

int NumberWidth(std::size_t lineCount) {
    return std::max(kMinimumNumberWidth, static_cast<int>(std::to_string(lineCount).size()));
}

// Whether a new file can be made in dir: the library's replacement is started and abandoned, so
// nothing is left and no file of the user's is touched.
bool CanWriteInto(const std::string& dir) {
    bool started = false;
    const auto abandon = [](const char* /*path*/, void* context) -> int32_t {
        *static_cast<bool*>(context) = true;
        return 0;
    };
    const std::string probe = (std::filesystem::path(dir) / ".ecc200-write-check").string();
    (void)WriteFileReplacing_ECC200(probe.c_str(), abandon, &started);
    return started;
}

// The folder is made if need be and must take new files: one clear failure before any line.
void PrepareOutputDir(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error || !std::filesystem::is_directory(dir)) {
        throw ToolError(kExitFileError, "cannot use the output folder '" + dir + "'" +
                                            (error ? ": " + error.message() : ""));
    }
    errno = 0;
    if (!CanWriteInto(dir)) {
        throw ToolError(kExitFileError, "cannot write into the output folder '" + dir + "'" +
                                            (errno != 0 ? std::string(": ") + std::strerror(errno)
                                                        : std::string()));
    }
}

// A batch file in the output folder under a name the batch writes could be replaced while it is
// still being read; a single run refuses its input as output the same way.
void RefuseInputAmongOutputs(const Options& options, OutputFormat format) {
    if (*options.batchFile == "-") return;
    const std::filesystem::path input(*options.batchFile);
    std::error_code ignored;
    const std::filesystem::path folder = input.has_parent_path() ? input.parent_path() : ".";
    std::string extension = input.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == TraitsOf(format).extension &&
        std::filesystem::equivalent(folder, *options.outputDir, ignored)) {
        throw ToolError(kExitUsage, "'" + *options.batchFile +
                                        "' is in the output folder and named like the batch's "
                                        "files, so the batch could replace it while reading it; "
                                        "move it or choose another --output-dir");
    }
}

// Everything the workers share. Each line is taken by exactly one worker; its outcome has a slot
// of its own, so the failures come out in line order whatever order the lines finish in.
struct Batch {
    const Options& options;
    OutputFormat format;
    RenderSettings render;
    std::string dir;
    int width = kMinimumNumberWidth;
    BatchLines* lines = nullptr;
    std::vector<std::optional<std::string>> failures = {};
    std::mutex progressLock = {};
    std::size_t done = 0;
    ProgressBar* progress = nullptr;
};

void EncodeLine(Encoder& encoder, const BatchLine& line, const Batch& batch,
                const std::string& target) {
    if (!line.failure.empty()) throw ToolError(kExitSymbolFailed, line.failure);
    if (line.bytes.empty() && !batch.options.allowEmpty) {
        throw ToolError(kExitSymbolFailed, "the line is empty (pass --allow-empty to encode it)");
    }
    encoder.Load(line.bytes, SettingsFrom(batch.options));
    const ModuleGrid grid = encoder.Encode();
    CheckPageSize(batch.format, grid, batch.render);
    WriteOutput(batch.format, target, grid, encoder, batch.render);
}

// Takes lines until none is left or an interrupt arrives; one symbol object per worker.
void Work(Batch& batch, Encoder& encoder) {
    BatchLine line;
    for (auto taken = batch.lines->Take(line); taken; taken = batch.lines->Take(line)) {
        const std::size_t i = *taken;
        const std::string target =
            (std::filesystem::path(batch.dir) / FileName(i + 1, batch.width, batch.format))
                .string();
        try {
            EncodeLine(encoder, line, batch, target);
        } catch (const std::exception& error) {
            batch.failures[i] = error.what();
        }
        const std::lock_guard<std::mutex> lock(batch.progressLock);
        batch.progress->Show(++batch.done);
    }
}

unsigned WorkerCount(unsigned asked, std::size_t lineCount) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t wanted = asked == 0 ? cores : asked;
    return static_cast<unsigned>(std::max<std::size_t>(1, std::min(wanted, lineCount)));
}

void RunWorkers(Batch& batch) {
    const unsigned count = WorkerCount(batch.options.jobs, batch.lines->count());
    std::vector<std::unique_ptr<Encoder>> encoders;
    for (unsigned i = 0; i < count; ++i) encoders.push_back(std::make_unique<Encoder>());
    std::vector<std::jthread> helpers;
    for (unsigned i = 1; i < count; ++i) {
        helpers.emplace_back([&batch, &encoder = *encoders[i]] { Work(batch, encoder); });
    }
    Work(batch, *encoders[0]);
}

std::size_t FailureCount(const Batch& batch) {
    return static_cast<std::size_t>(std::count_if(batch.failures.begin(), batch.failures.end(),
                                                  [](const auto& f) { return f.has_value(); }));
}

// The first and the last file written, e.g. " (0001.png .. 0040.png)"; empty when none was.
std::string WrittenRange(const Batch& batch) {
    const auto& f = batch.failures;
    const auto first = std::find(f.begin(), f.end(), std::nullopt);
    if (first == f.end()) return "";
    const auto last = std::find(f.rbegin(), f.rend(), std::nullopt);
    const std::size_t firstLine = static_cast<std::size_t>(first - f.begin()) + 1;
    const std::size_t lastLine = static_cast<std::size_t>(f.rend() - last);
    const std::string firstName = FileName(firstLine, batch.width, batch.format);
    if (firstLine == lastLine) return " (" + firstName + ")";
    return " (" + firstName + " .. " + FileName(lastLine, batch.width, batch.format) + ")";
}

void Report(const Batch& batch) {
    const std::size_t lineCount = batch.lines->count();
    const std::size_t failed = FailureCount(batch);
    std::cout << "batch: " << lineCount - failed << " of " << lineCount << " lines encoded into "
              << batch.dir << WrittenRange(batch);
    std::cout << "\n";
    std::cout.flush();
    if (failed == 0) return;
    std::cerr << "ecc200: " << failed << (failed == 1 ? " line" : " lines") << " failed:\n";
    for (std::size_t i = 0; i < lineCount; ++i) {
        if (batch.failures[i])
            std::cerr << "  line " << i + 1 << ": " << *batch.failures[i] << "\n";
    }
}

int ReportInterrupt(const Batch& batch) {
    std::cout.flush();
    std::cerr << "ecc200: interrupted; " << batch.done - FailureCount(batch) << " of "
              << batch.lines->count() << " lines were written, with no partial files\n";
    return ExitCodeForSignal(InterruptSignal());
}

}  // namespace

int RunBatch(const Options& options) {
    WatchForInterrupts();
    const OutputFormat format = *FormatNamed(options.batchFormat);
    const OutputFormat formats[] = {format};
    Batch batch{options, format, PlanRender(options, formats), *options.outputDir};
    RefuseInputAmongOutputs(options, format);
    WarnAboutIdentity(options);
    BatchLines lines(*options.batchFile);
    batch.lines = &lines;
    if (InterruptSignal() != 0) {
        std::cerr << "ecc200: interrupted while reading the lines; nothing was written\n";
        return ExitCodeForSignal(InterruptSignal());
    }
    PrepareOutputDir(batch.dir);

    batch.width = NumberWidth(lines.count());
    batch.failures.resize(lines.count());
    ProgressBar progress(lines.count());
    batch.progress = &progress;
    RunWorkers(batch);
    progress.Finish();
    if (InterruptSignal() != 0) return ReportInterrupt(batch);
    Report(batch);
    return FailureCount(batch) == 0 ? kExitOk : kExitSymbolFailed;
}

}  // namespace ecc200_cli

#include "batch.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <map>
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
#include "gs1_data.h"
#include "identity_check.h"
#include "platform.h"
#include "progress.h"
#include "render_plan.h"
#include "single_run.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

constexpr int kMinimumNumberWidth = 4;
// The width of the numbers of a stream's lines when they cannot be counted ahead: 00000001.png.
constexpr int kStreamNumberWidth = 8;

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

// How many failures are kept for the list at the end; beyond them only their number.
constexpr std::size_t kListedFailures = 10000;
// What the pictures being made at once may take; the job count is lowered to stay below it.
constexpr std::size_t kPictureMemory = std::size_t{256} << 20;

// What the lines came to, kept under one lock: how many were done and written, which were the
// first and the last written, and the first kListedFailures failures in line order.
struct Outcomes {
    std::size_t done = 0;
    std::size_t failed = 0;
    // The numbers and file names of the first and the last record written.
    std::optional<std::pair<std::size_t, std::string>> firstWritten, lastWritten;
    std::map<std::size_t, std::string> failures;

    void Written(std::size_t i, const std::string& fileName) {
        if (!firstWritten || i < firstWritten->first) firstWritten = {i, fileName};
        if (!lastWritten || i > lastWritten->first) lastWritten = {i, fileName};
    }
    void Failed(std::size_t i, std::string reason) {
        ++failed;
        failures.emplace(i, std::move(reason));
        if (failures.size() > kListedFailures) failures.erase(std::prev(failures.end()));
    }
};

// Everything the workers share. Each line is taken by exactly one worker.
struct Batch {
    const Options& options;
    OutputFormat format;
    RenderSettings render;
    std::string dir;
    int width = kMinimumNumberWidth;
    BatchLines* lines = nullptr;
    const char* record = "line";  // what the input's records are called: lines, or CSV rows
    std::mutex lock = {};
    Outcomes outcomes = {};
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
    RenderSettings render = batch.render;
    if (batch.options.hri) render.humanReadable = encoder.humanReadable();
    CheckPageSize(batch.format, grid, render);
    WriteOutput(batch.format, target, grid, encoder, render);
}

// Takes lines until none is left or an interrupt arrives; one symbol object per worker.
void Work(Batch& batch, Encoder& encoder) {
    BatchLine line;
    for (auto taken = batch.lines->Take(line); taken; taken = batch.lines->Take(line)) {
        const std::size_t i = *taken;
        const std::string fileName =
            line.fileName.empty() ? FileName(i + 1, batch.width, batch.format) : line.fileName;
        const std::string target = (std::filesystem::path(batch.dir) / fileName).string();
        std::optional<std::string> failure;
        try {
            EncodeLine(encoder, line, batch, target);
        } catch (const std::exception& error) {
            failure = error.what();
        }
        const std::lock_guard<std::mutex> lock(batch.lock);
        if (failure) {
            batch.outcomes.Failed(i, std::move(*failure));
        } else {
            batch.outcomes.Written(i, fileName);
        }
        batch.progress->Show(++batch.outcomes.done);
    }
}

// The memory one job's picture needs at most (the largest symbol): a PNG is compressed whole, 1
// bit a pixel, and its compressed copy and the compressor's state come on top (three times the
// picture, as measured); the other formats draw a row at a time or a path of text.
std::size_t PictureBytes(OutputFormat format, const RenderSettings& render) {
    constexpr std::size_t kLargestSide = 144;
    constexpr std::size_t kSmallPicture = std::size_t{1} << 20;
    const std::size_t side = (kLargestSide + 2 * static_cast<std::size_t>(render.quietZone)) *
                             static_cast<std::size_t>(render.moduleSize);
    return format == OutputFormat::kPng ? 3 * side * (side / 8 + 2) : kSmallPicture;
}

unsigned WorkerCount(const Batch& batch) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::size_t wanted = batch.options.jobs == 0 ? cores : batch.options.jobs;
    wanted = std::min(wanted, kPictureMemory / PictureBytes(batch.format, batch.render));
    wanted = std::min(wanted, batch.lines->count().value_or(wanted));
    return static_cast<unsigned>(std::max<std::size_t>(1, wanted));
}

void RunWorkers(Batch& batch) {
    const unsigned count = WorkerCount(batch);
    std::vector<std::unique_ptr<Encoder>> encoders;
    for (unsigned i = 0; i < count; ++i) encoders.push_back(std::make_unique<Encoder>());
    std::vector<std::jthread> helpers;
    for (unsigned i = 1; i < count; ++i) {
        helpers.emplace_back([&batch, &encoder = *encoders[i]] { Work(batch, encoder); });
    }
    Work(batch, *encoders[0]);
}

// The first and the last file written, e.g. " (0001.png .. 0040.png)"; empty when none was.
std::string WrittenRange(const Batch& batch) {
    const Outcomes& o = batch.outcomes;
    if (!o.firstWritten) return "";
    if (o.firstWritten->first == o.lastWritten->first) return " (" + o.firstWritten->second + ")";
    return " (" + o.firstWritten->second + " .. " + o.lastWritten->second + ")";
}

void Report(const Batch& batch) {
    const std::size_t lineCount = batch.lines->taken();
    const Outcomes& o = batch.outcomes;
    const std::string records = std::string(batch.record) + "s";
    std::cout << "batch: " << lineCount - o.failed << " of " << lineCount << " " << records
              << " encoded into " << batch.dir << WrittenRange(batch) << "\n";
    std::cout.flush();
    if (o.failed == 0) return;
    std::cerr << "ecc200: " << o.failed << " " << (o.failed == 1 ? batch.record : records)
              << " failed:\n";
    for (const auto& [i, reason] : o.failures)
        std::cerr << "  " << batch.record << " " << i + 1 << ": " << reason << "\n";
    if (o.failed > o.failures.size()) {
        std::cerr << "  and " << o.failed - o.failures.size() << " more " << records << "\n";
    }
}

int ReportInterrupt(const Batch& batch) {
    std::cout.flush();
    const std::size_t total = batch.lines->count().value_or(batch.lines->taken());
    std::cerr << "ecc200: interrupted; " << batch.outcomes.done - batch.outcomes.failed << " of "
              << total << " " << batch.record << "s were written, with no partial files\n";
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
    // GS1 lines are limited by their element string, which the library measures once converted.
    const RecordLayout layout{options.dataColumn, options.nameColumn,
                              std::string(TraitsOf(format).extension),
                              options.gs1 ? kMaxGs1TextLength : ECC200_MAX_DATA_LENGTH};
    if (layout.csv()) batch.record = "row";
    BatchLines lines(*options.batchFile, layout);
    batch.lines = &lines;
    if (InterruptSignal() != 0) {
        std::cerr << "ecc200: interrupted while reading the lines; nothing was written\n";
        return ExitCodeForSignal(InterruptSignal());
    }
    PrepareOutputDir(batch.dir);

    // A stream too long to count ahead is named with a fixed width as its lines come.
    batch.width = lines.count() ? NumberWidth(*lines.count()) : kStreamNumberWidth;
    ProgressBar progress(lines.count().value_or(0));
    batch.progress = &progress;
    RunWorkers(batch);
    progress.Finish();
    if (InterruptSignal() != 0) return ReportInterrupt(batch);
    Report(batch);
    return batch.outcomes.failed == 0 ? kExitOk : kExitSymbolFailed;
}

}  // namespace ecc200_cli

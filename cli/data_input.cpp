#include "data_input.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "csv_record.h"
#include "ecc200.h"
#include "platform.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void FailToRead(const std::string& path, int error) {
    const std::string name = path == "-" ? "standard input" : "'" + path + "'";
    throw ToolError(kExitFileError, "cannot read " + name + ": " + std::strerror(error));
}

std::string ReadFrom(std::FILE* file, const std::string& path, std::size_t maxBytes) {
    std::string bytes;
    char chunk[65536];
    while (bytes.size() < maxBytes) {
        const std::size_t wanted = std::min(sizeof chunk, maxBytes - bytes.size());
        const std::size_t got = std::fread(chunk, 1, wanted, file);
        bytes.append(chunk, got);
        if (got < wanted) {
            if (std::ferror(file)) FailToRead(path, errno);
            break;
        }
    }
    return bytes;
}

std::string CutShortMessage(const char* what, std::size_t maxLength) {
    return std::string("the ") + what + " is longer than " + std::to_string(maxLength) +
           (maxLength == ECC200_MAX_DATA_LENGTH ? " bytes, the most a symbol holds" : " bytes");
}

// Reads the next line into line; false at the end of the file (or on an error or an interrupt)
// before any byte of a line.
bool ReadLine(std::FILE* in, std::size_t maxLength, BatchLine& line) {
    // A CR may still follow the longest line that fits; one byte beyond that proves it too long.
    const std::size_t kept = maxLength + 2;
    line = {};
    bool started = false;
    for (int c = std::getc(in); c != EOF && InterruptSignal() == 0; c = std::getc(in)) {
        started = true;
        if (c == '\n') break;
        if (line.bytes.size() < kept) line.bytes += static_cast<char>(c);
    }
    if (!line.bytes.empty() && line.bytes.back() == '\r') line.bytes.pop_back();
    if (line.bytes.size() > maxLength) line = {{}, CutShortMessage("line", maxLength), {}};
    return started && InterruptSignal() == 0;
}

// A CSV row as a record: its data field and its name field, or why it has none.
bool ReadCsvLine(std::FILE* in, const RecordLayout& layout, BatchLine& line) {
    const std::size_t kept = layout.maxLength + 1;
    std::vector<int> columns = {layout.dataColumn};
    if (layout.nameColumn > 0) columns.push_back(layout.nameColumn);
    CsvRecord record;
    if (!ReadCsvRecord(in, columns, kept, record)) return false;
    line = {};
    const int needed = std::max(layout.dataColumn, layout.nameColumn);
    if (!record.malformed.empty()) {
        line.failure = "the row is not valid CSV: " + record.malformed;
    } else if (record.fieldCount < static_cast<std::size_t>(needed)) {
        line.failure = "the row has " + std::to_string(record.fieldCount) +
                       (record.fieldCount == 1 ? " field" : " fields") + "; column " +
                       std::to_string(needed) + " is asked for";
    } else if (record.cut[0] || record.kept[0].size() > layout.maxLength) {
        line.failure = CutShortMessage("data", layout.maxLength);
    } else {
        line.bytes = std::move(record.kept[0]);
        if (layout.nameColumn > 0) {
            line.fileName = record.cut[1] ? std::string(kept, 'x')
                                          : FileNameFor(record.kept[1], layout.extension);
        }
    }
    return true;
}

}  // namespace

std::string ReadBytes(const std::string& path, std::size_t maxBytes) {
    if (path == "-") return ReadFrom(stdin, path, maxBytes);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) FailToRead(path, errno);
    return ReadFrom(file.get(), path, maxBytes);
}

bool BatchLines::ReadRecord(std::FILE* in, BatchLine& line) const {
    return layout_.csv() ? ReadCsvLine(in, layout_, line) : ReadLine(in, layout_.maxLength, line);
}

// A name must keep the file inside the output folder and not repeat an earlier row's; checked as
// the records are taken, in their order, so the first row with a name keeps it.
void BatchLines::CheckName(BatchLine& line) {
    if (line.fileName.empty() || !line.failure.empty()) return;
    if (const auto refusal = RefusalOfName(line.fileName)) {
        line.failure = *refusal;
    } else if (!names_.Claim(line.fileName)) {
        line.failure = "the name '" + line.fileName + "' was given by an earlier row";
    }
}

BatchLines::BatchLines(const std::string& path, RecordLayout layout)
    : layout_(std::move(layout)), path_(path) {
    std::FILE* in = stdin;
    if (path != "-") {
        in = std::fopen(path.c_str(), "rb");
        if (in == nullptr) FailToRead(path, errno);
    }
    std::error_code ignored;
    regular_ = path != "-" && std::filesystem::is_regular_file(path, ignored);
    if (!regular_) {
        ReadAhead(in);
        return;
    }
    BatchLine line;
    std::size_t lines = 0;
    while (ReadRecord(in, line)) ++lines;
    count_ = lines;
    const int error = errno;
    const bool failed = std::ferror(in) && InterruptSignal() == 0;
    if (failed || std::fseek(in, 0, SEEK_SET) != 0) {
        const int seekError = errno;
        std::fclose(in);
        FailToRead(path, failed ? error : seekError);
    }
    file_ = in;
}

// Keeps the first lines of a stream; when it ends within the read-ahead its count is known and it
// is closed, otherwise the rest is read as the lines are taken.
void BatchLines::ReadAhead(std::FILE* in) {
    std::size_t bytes = 0;
    BatchLine line;
    while (kept_.size() < kReadAheadLines && bytes < kReadAheadBytes) {
        if (!ReadRecord(in, line)) {
            const int error = errno;
            if (std::ferror(in) && InterruptSignal() == 0) {
                if (in != stdin) std::fclose(in);
                FailToRead(path_, error);
            }
            count_ = kept_.size();
            if (in != stdin) std::fclose(in);
            return;
        }
        bytes += line.bytes.size() + 1;
        kept_.push_back(std::move(line));
    }
    file_ = in;
}

BatchLines::~BatchLines() {
    if (file_ != nullptr && file_ != stdin) std::fclose(file_);
}

std::optional<std::size_t> BatchLines::Take(BatchLine& line) {
    const std::lock_guard<std::mutex> guard(lock_);
    if (InterruptSignal() != 0 || (count_ && next_ >= *count_)) return std::nullopt;
    if (!kept_.empty()) {
        line = std::move(kept_.front());
        kept_.pop_front();
    } else if (file_ == nullptr) {
        return std::nullopt;
    } else if (!ReadRecord(file_, line)) {
        if (InterruptSignal() != 0) return std::nullopt;
        const std::string failure = std::ferror(file_)
                                        ? "cannot read '" + path_ + "': " + std::strerror(errno)
                                        : "'" + path_ + "' ended before this line when read again";
        if (!regular_) {
            // A long stream has ended here, or failed: then that failure is its last line's.
            const bool failed = std::ferror(file_) != 0;
            if (file_ != stdin) std::fclose(file_);
            file_ = nullptr;
            count_ = next_ + (failed ? 1 : 0);
            if (!failed) return std::nullopt;
        }
        line = {{}, failure, {}};
    }
    CheckName(line);
    return next_++;
}

}  // namespace ecc200_cli

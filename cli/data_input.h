// Reading the bytes to encode from a file or standard input, without any translation.
#pragma once

#include <cstddef>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "batch_names.h"
#include "ecc200.h"

namespace ecc200_cli {

// Reads at most maxBytes bytes of the file at path ("-" is standard input). Throws ToolError
// (kExitFileError) when it cannot be opened or read.
std::string ReadBytes(const std::string& path, std::size_t maxBytes);

// One record of a batch file: its bytes, the file name its row gives (empty: the file is named
// by its number), or why it cannot be encoded (too long for a symbol, unreadable, a bad name).
struct BatchLine {
    std::string bytes;
    std::string failure;
    std::string fileName;
};

// How a batch file is read: a record per line (dataColumn 0), or CSV rows with the data in
// dataColumn and, when nameColumn is not 0, the file's name in nameColumn (columns from 1). Names
// get the output format's extension unless they end with it.
struct RecordLayout {
    int dataColumn = 0;
    int nameColumn = 0;
    std::string extension;
    // The longest record taken: what a symbol holds, or the longest GS1 text read (GS1 records are
    // limited by their element string, which the library measures once converted).
    std::size_t maxLength = ECC200_MAX_DATA_LENGTH;

    bool csv() const { return dataColumn > 0; }
};

// The lines of a batch file ("-" is standard input), handed out one at a time. Lines end at LF;
// a CR before it is dropped; a last line without LF counts; no more of a line is kept than a
// symbol can hold. A regular file is read twice, once to count its lines (the file names are
// padded to the last line number) and then a line at a time as they are taken, so its size does
// not matter. Anything else (a pipe, a terminal) cannot be read twice: up to kReadAheadLines
// lines or kReadAheadBytes bytes are read ahead and counted; a longer stream is read as its lines
// are taken, its count unknown until it ends, so memory stays bounded whatever its length.
// Reading stops early when an interrupt signal arrives.
class BatchLines {
  public:
    static constexpr std::size_t kReadAheadLines = 100000;
    static constexpr std::size_t kReadAheadBytes = std::size_t{16} << 20;

    // Throws ToolError (kExitFileError) when the file cannot be opened or read.
    BatchLines(const std::string& path, RecordLayout layout);
    ~BatchLines();
    BatchLines(const BatchLines&) = delete;
    BatchLines& operator=(const BatchLines&) = delete;

    // The number of lines when it is known before they are taken; nothing for a long stream.
    std::optional<std::size_t> count() const { return count_; }
    // The lines handed out so far (all of them, once Take has returned nothing).
    std::size_t taken() const { return next_; }

    // The next line's index (from 0) with the line, or nothing when all are taken or an interrupt
    // arrived. Safe to call from several threads.
    std::optional<std::size_t> Take(BatchLine& line);

  private:
    void ReadAhead(std::FILE* in);
    bool ReadRecord(std::FILE* in, BatchLine& line) const;
    void CheckName(BatchLine& line);

    RecordLayout layout_;
    NameRegister names_;
    std::string path_;
    std::FILE* file_ = nullptr;  // read as lines are taken: a regular file, or a long stream
    bool regular_ = false;
    std::deque<BatchLine> kept_;  // the lines read ahead from a stream
    std::optional<std::size_t> count_;
    std::size_t next_ = 0;
    std::mutex lock_;
};

}  // namespace ecc200_cli

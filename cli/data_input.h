// Reading the bytes to encode from a file or standard input, without any translation.
#pragma once

#include <cstddef>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace ecc200_cli {

// Reads at most maxBytes bytes of the file at path ("-" is standard input). Throws ToolError
// (kExitFileError) when it cannot be opened or read.
std::string ReadBytes(const std::string& path, std::size_t maxBytes);

// One line of a batch file: its bytes without the line end, or why it cannot be encoded (too
// long for a symbol, or unreadable).
struct BatchLine {
    std::string bytes;
    std::string failure;
};

// The lines of a batch file ("-" is standard input), handed out one at a time. Lines end at LF;
// a CR before it is dropped; a last line without LF counts; no more of a line is kept than
// maxLength bytes (what a symbol holds, or the longest GS1 text read). A regular file is read
// twice, once to count its lines (the file names are padded to the last line number) and then a
// line at a time as they are taken, so its size does not matter; anything else cannot be read twice
// and its lines are kept. Reading stops early when an interrupt signal arrives.
class BatchLines {
  public:
    // Throws ToolError (kExitFileError) when the file cannot be opened or read.
    BatchLines(const std::string& path, std::size_t maxLength);
    ~BatchLines();
    BatchLines(const BatchLines&) = delete;
    BatchLines& operator=(const BatchLines&) = delete;

    std::size_t count() const { return count_; }

    // The next line's index (from 0) with the line, or nothing when all are taken or an interrupt
    // arrived. Safe to call from several threads.
    std::optional<std::size_t> Take(BatchLine& line);

  private:
    std::string path_;
    std::size_t maxLength_;
    std::FILE* file_ = nullptr;  // while streaming a regular file
    std::vector<BatchLine> kept_;
    std::size_t count_ = 0;
    std::size_t next_ = 0;
    std::mutex lock_;
};

}  // namespace ecc200_cli

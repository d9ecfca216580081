// What `ecc200 read` prints about each file: the text form for people, one JSON object a line for
// programs, and the verdict line of `ecc200 verify`.
#pragma once

#include <string>

#include "symbol_reader.h"

namespace ecc200_cli {

// One file's outcome: the image reading, or why the file gave none.
struct FileReading {
    std::string file;
    ecc200_imaging::ImageReading reading;
    std::string problem;  // empty when read; else why not, in the user's terms
    bool productGiven = false;
    bool ok() const { return problem.empty() && reading.status == 0; }
};

// Bytes as text: printable ASCII as is, a backslash doubled, everything else as \xHH.
std::string Escaped(const std::string& bytes);

// Whether bytes are well-formed UTF-8.
bool IsUtf8(const std::string& bytes);

std::string TextReport(const FileReading& outcome);
std::string JsonReport(const FileReading& outcome);

// The verify verdict: empty when the symbol decodes and its marks are as asked, else why not.
std::string VerifyFailure(const FileReading& outcome);

const char* UserMarkName(int32_t verdict);

}  // namespace ecc200_cli

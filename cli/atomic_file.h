// Writes a file so that it appears complete or not at all: the content goes to a temporary file
// in the same folder, which replaces the target only once it has been written and closed.
#pragma once

#include <array>
#include <cstdio>
#include <string>

namespace ecc200_cli {

class AtomicFile {
  public:
    // Creates the temporary file next to target. Throws ToolError (kExitFileError) on failure.
    explicit AtomicFile(std::string target);
    // Removes the temporary file unless Commit succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // The stream to write the content to.
    std::FILE* stream() const { return stream_; }

    // Closes the stream so that another writer can fill the temporary file by its name.
    const std::string& HandOverPath();

    // Flushes and closes the file and moves it onto the target. Throws ToolError on failure.
    void Commit();

    const std::string& target() const { return target_; }

  private:
    [[noreturn]] void Fail(const std::string& what, int error) const;
    void CloseStream();

    std::string target_;
    std::string temporary_;
    std::FILE* stream_ = nullptr;
    bool committed_ = false;
    // The stream's buffer; one of its own spares the library a look at the file to size it.
    std::array<char, 8192> buffer_;
};

}  // namespace ecc200_cli

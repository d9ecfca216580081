// Helpers shared by the test suites: an owning symbol handle, access to the record behind it, and
// a scratch working directory for tests that read or write user.id and output files.
#pragma once

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/symbol.h"
#include "ecc200.h"
#include "geometry/size_table.h"
#include "symbol_outputs.h"

namespace ecc200::testing {

struct SymbolDeleter {
    void operator()(ECC200_Symbol* handle) const { DeleteSymbol_ECC200(handle); }
};
using SymbolPtr = std::unique_ptr<ECC200_Symbol, SymbolDeleter>;

inline SymbolPtr MakeSymbol() {
    return SymbolPtr(CreateSymbol_ECC200());
}

inline Symbol& Internals(const SymbolPtr& handle) {
    return *reinterpret_cast<Symbol*>(handle.get());
}

inline int32_t SetData(SymbolHandle handle, std::string_view bytes) {
    return SetDataToEncoding_ECC200(handle, reinterpret_cast<const uint8_t*>(bytes.data()),
                                    static_cast<int32_t>(bytes.size()));
}

inline std::vector<uint8_t> Bytes(std::string_view text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// A symbol with the scheme, size and data (none when empty) set through the exports.
inline SymbolPtr SymbolWith(int32_t scheme, int32_t size, std::string_view data) {
    SymbolPtr handle = MakeSymbol();
    EXPECT_EQ(SetScheme_ECC200(handle.get(), scheme), 0);
    // The DMRE sizes are set through the size option; the others through the original export.
    EXPECT_EQ(size < ECC200_SIZE_8X48 ? SetDimension_ECC200(handle.get(), size)
                                      : SetOption_ECC200(handle.get(), ECC200_OPTION_SIZE, size),
              0);
    EXPECT_EQ(data.empty() ? 0 : SetData(handle.get(), data), 0);
    return handle;
}

// Changes into a fresh empty directory for the lifetime of the object and back afterwards.
class ScratchDirectory {
  public:
    ScratchDirectory() : previous_(std::filesystem::current_path()) {
        // A random name, retried until create_directory makes a new one (portable mkdtemp).
        std::mt19937_64 random(std::random_device{}());
        do {
            path_ = std::filesystem::temp_directory_path() /
                    ("ecc200-test-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
        std::filesystem::current_path(path_);
    }
    ~ScratchDirectory() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // Writes (or replaces) the identity file in this directory.
    void WriteIdentity(std::string_view content) const {
        std::ofstream(path_ / "user.id", std::ios::binary) << content;
    }
    void RemoveIdentity() const { std::filesystem::remove(path_ / "user.id"); }

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

#ifndef _WIN32
// Runs call in a child process and gives its exit code, or -1 when the child ended otherwise or
// did not end within limit (it is then killed): for calls that might hang, or that change limits
// of the whole process.
template <class Call>
int RunInChild(Call call, std::chrono::milliseconds limit) {
    const pid_t child = fork();
    if (child == 0) _exit(call());
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// A symbol holding `data`, with the requested scheme and size in the in-use fields and (as setting
// the data leaves it) an empty codeword stream, as the encode pipeline leaves it before encodation.
inline SymbolPtr PreparedSymbol(std::string_view data, int32_t scheme, int32_t sizeIndex) {
    SymbolPtr handle = MakeSymbol();
    EXPECT_EQ(data.empty() ? 0 : SetData(handle.get(), data), 0);  // no empty data through the API
    Internals(handle).scheme = scheme;
    Internals(handle).sizeIndex = sizeIndex;
    return handle;
}

// A well-formed identity: a 6-character prefix and two fields of 22 hexadecimal digits.
inline constexpr std::string_view kSampleIdentity =
    "ACME**00112233445566778899AA-0123456789abcdefABCDEF";

}  // namespace ecc200::testing

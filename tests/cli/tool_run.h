// Running the ecc200 tool from a test through the shell, in the test's scratch folder.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace ecc200::testing {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Text in single quotes for the shell.
inline std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The tool's path, quoted for the shell.
inline std::string ToolCommand() {
    return Quoted(ECC200_TOOL_PATH);
}

// Runs script with sh in the current folder, its standard output in "run.out" and standard error in
// "run.err"; gives the exit code (-1 when it did not exit).
inline int Shell(const std::string& script) {
    const int status = std::system(("sh -c " + Quoted(script) + " >run.out 2>run.err").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Quotes each argument for the shell and runs the tool with them.
inline int Tool(const std::vector<std::string>& args, const std::string& redirections = "") {
    std::string command = ToolCommand();
    for (const std::string& arg : args) command += " " + Quoted(arg);
    return Shell(command + " " + redirections);
}

}  // namespace ecc200::testing

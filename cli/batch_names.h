// The file names of a batch's symbols when the rows name them (--name-column): a name must stay
// inside the output folder and be used once.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace ecc200_cli {

// The file name for a row named name: name itself when it ends with extension (in any case),
// otherwise name + extension.
std::string FileNameFor(const std::string& name, std::string_view extension);

// Why fileName cannot be a file of the output folder: empty, a path (any '/' or '\' or ':', so
// "../x" and "/etc/x" too), hidden or "." / "..", control characters, or longer than a file
// system allows. Nothing when it can.
std::optional<std::string> RefusalOfName(const std::string& fileName);

// The names given so far; names that differ only in case count as the same (many file systems do
// not tell them apart).
class NameRegister {
  public:
    // False when fileName was given before; otherwise records it.
    bool Claim(const std::string& fileName);

  private:
    std::unordered_set<std::string> claimed_;
};

}  // namespace ecc200_cli

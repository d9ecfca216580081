// Checking the names a batch's rows give their files, and remembering which were given.
#include "batch_names.h"

#include <algorithm>
#include <cctype>

namespace ecc200_cli {
namespace {

// Most file systems take names of at most 255 bytes.
constexpr std::size_t kMaxNameBytes = 255;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

std::string FileNameFor(const std::string& name, std::string_view extension) {
    const bool hasExtension =
        name.size() > extension.size() && Lower(name).ends_with(Lower(extension));
    return hasExtension ? name : name + std::string(extension);
}

std::optional<std::string> RefusalOfName(const std::string& fileName) {
    if (fileName.find_first_of("/\\:") != std::string::npos) {
        return "the name '" + fileName +
               "' would leave the output folder (it holds '/', '\\' or ':')";
    }
    if (fileName.empty() || fileName.front() == '.') {
        return "the name '" + fileName + "' is empty or starts with '.' (a hidden file)";
    }
    if (std::any_of(fileName.begin(), fileName.end(),
                    [](unsigned char c) { return c < 0x20 || c == 0x7F; })) {
        return "the name '" + fileName + "' holds control characters";
    }
    if (fileName.size() > kMaxNameBytes) {
        return "the name is longer than " + std::to_string(kMaxNameBytes) + " bytes";
    }
    return std::nullopt;
}

bool NameRegister::Claim(const std::string& fileName) {
    return claimed_.insert(Lower(fileName)).second;
}

}  // namespace ecc200_cli

#include "identity_check.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace ecc200_cli {
namespace {

constexpr const char kIdentityFile[] = "user.id";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The identity is the file's first word, which a mark key bounds far below this.
constexpr std::size_t kBytesLooked = 4096;

// The part of the identity's first word that should hold the key in hex: what follows the second
// '*' of the prefix, or the whole word when there is no such prefix.
std::string_view KeyPart(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n\v\f");
    if (start == std::string_view::npos) return {};
    text = text.substr(start);
    text = text.substr(0, text.find_first_of(" \t\r\n\v\f"));
    const std::size_t first = text.find('*');
    const std::size_t second = first == std::string_view::npos ? first : text.find('*', first + 1);
    return second == std::string_view::npos ? text : text.substr(second + 1);
}

}  // namespace

void WarnAboutIdentity(const Options& options) {
    if (!options.userMark && !options.productId) return;
    std::error_code ignored;
    // Anything else (a FIFO, a device) is left to the library, which refuses it without blocking.
    if (!std::filesystem::is_regular_file(kIdentityFile, ignored)) return;
    std::ifstream file(kIdentityFile, std::ios::binary);
    std::string head(kBytesLooked, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    if (head.starts_with(kByteOrderMark)) {
        std::cerr << "ecc200: warning: user.id starts with a UTF-8 byte order mark, which becomes "
                     "part of the identity; save the file without it\n";
    }
    const std::string_view key = KeyPart(head);
    if (std::none_of(key.begin(), key.end(), [](unsigned char c) { return std::isxdigit(c); })) {
        std::cerr << "ecc200: warning: user.id holds no hex digits after its prefix; the key "
                     "bytes are meant to be written as hex digits\n";
    }
}

}  // namespace ecc200_cli

// Explanations of failed encodes in the user's terms: one text for the tool and the Python
// package, which differ only in how they spell a setting in a hint.
#ifndef ECC200_HOST_FAILURE_MESSAGES_H
#define ECC200_HOST_FAILURE_MESSAGES_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ecc200_host {

// What a failed encode was asked to do, and how to ask the library again.
struct FailedEncode {
    std::string_view data;
    int32_t scheme;  // as requested: an ECC200_SCHEME_* value
    int32_t size;    // as requested: a size index or ECC200_SIZE_AUTO
    bool gs1;
    // How the host asks for the automatic scheme: --scheme auto, scheme="auto".
    std::string_view schemeAutoHint;
    // Encodes the same data and settings with the marks off and the size given (for
    // ECC200_SIZE_AUTO with the square shape); the size used, or nothing when it fails.
    std::function<std::optional<int32_t>(int32_t size)> probe;
};

// The name of a scheme in messages: "automatic", "ASCII", "ANSI X12", ...
std::string_view SchemeName(int32_t scheme);

// What a status code means when nothing more is known about the failure.
std::string DescribeStatus(int32_t status);

// Why data of this many bytes cannot be encoded at all.
std::string DescribeTooMuchData(std::size_t length);

// Why a mark ("user mark" or "product mark") could not be switched on; looks at user.id in the
// current directory.
std::string DescribeMarkFailure(int32_t status, std::string_view markName);

// Why the encode failed with status; asks the library again through the probe where a size
// that would hold the data is worth naming.
std::string DescribeEncodeFailure(int32_t status, const FailedEncode& failed);

}  // namespace ecc200_host

#endif  // ECC200_HOST_FAILURE_MESSAGES_H

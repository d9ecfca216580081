// GS1 data through the library's checker (Gs1ElementString_ECC200) for the tool and the Python
// module: one call with a buffer large enough for every form it writes.
#ifndef ECC200_HOST_GS1_CONVERSION_H
#define ECC200_HOST_GS1_CONVERSION_H

#include <cstdint>
#include <string>
#include <vector>

#include "ecc200.h"

namespace ecc200_host {

struct Gs1Conversion {
    int32_t status;       // the export's status
    std::string text;     // its output when the status is ECC200_OK
    std::string message;  // its reason otherwise
};

// Text (bracketed form or element string) checked and converted with the export's flags. A zero
// byte, which no AI allows and the export's zero-terminated text cannot carry, fails with
// ECC200_ERR_GS1.
inline Gs1Conversion ConvertGs1(const std::string& text, int32_t flags) {
    if (text.find('\0') != std::string::npos) {
        return {ECC200_ERR_GS1, {}, "contains a zero byte, which no AI allows"};
    }
    // A human-readable line or bracketed form is at most three times as long as the element string.
    std::vector<uint8_t> out(3 * ECC200_MAX_DATA_LENGTH + 1);
    int32_t length = 0;
    char message[ECC200_MAX_MESSAGE] = "";
    const int32_t status =
        Gs1ElementString_ECC200(text.c_str(), flags, out.data(), static_cast<int32_t>(out.size()),
                                &length, message, static_cast<int32_t>(sizeof message));
    if (status != ECC200_OK) return {status, {}, message};
    return {
        status,
        std::string(reinterpret_cast<const char*>(out.data()), static_cast<std::size_t>(length)),
        {}};
}

}  // namespace ecc200_host

#endif  // ECC200_HOST_GS1_CONVERSION_H

// GS1 data of the tool: the library's checker and converter called through its export.
#include "gs1_data.h"

#include <vector>

#include "messages.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

std::string WithoutFinalLineEnd(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

// The export's output for text with flags, or the ToolError its status means.
std::string Convert(const std::string& text, int32_t flags) {
    if (text.find('\0') != std::string::npos) {
        throw ToolError(kExitUsage, "GS1 data: contains a zero byte, which no AI allows");
    }
    // A human-readable line is at most three times as long as the element string.
    std::vector<uint8_t> out(3 * ECC200_MAX_DATA_LENGTH + 1);
    int32_t length = 0;
    char message[ECC200_MAX_MESSAGE] = "";
    const int32_t status =
        Gs1ElementString_ECC200(text.c_str(), flags, out.data(), static_cast<int32_t>(out.size()),
                                &length, message, static_cast<int32_t>(sizeof message));
    switch (status) {
        case ECC200_OK:
            return {reinterpret_cast<const char*>(out.data()), static_cast<std::size_t>(length)};
        case ECC200_ERR_GS1:
            throw ToolError(kExitUsage, std::string("GS1 data: ") + message);
        case ECC200_ERR_DATA_TOO_LONG:
            throw ToolError(kExitSymbolFailed, std::string("GS1 data: ") + message +
                                                   "; a symbol holds at most " +
                                                   std::to_string(ECC200_MAX_DATA_LENGTH));
        default:
            throw ToolError(kExitSymbolFailed, DescribeStatus(status));
    }
}

}  // namespace

std::string Gs1ElementString(const std::string& text, bool relations) {
    return Convert(WithoutFinalLineEnd(text), relations ? 0 : ECC200_GS1_SKIP_RELATIONS);
}

std::string Gs1HumanReadable(const std::string& elementString) {
    // Already checked: the relations need not be checked again.
    return Convert(elementString, ECC200_GS1_SKIP_RELATIONS | ECC200_GS1_HUMAN_READABLE);
}

std::string Gs1BracketedOrEmpty(const std::string& elementString) {
    try {
        return Convert(elementString, ECC200_GS1_SKIP_RELATIONS | ECC200_GS1_BRACKETED);
    } catch (const ToolError&) {
        return {};
    }
}

int32_t Gs1Option(const SymbolSettings& settings) {
    if (!settings.gs1) return ECC200_GS1_OFF;
    return settings.gs1Relations ? ECC200_GS1_CHECKED : ECC200_GS1_FIELDS_ONLY;
}

}  // namespace ecc200_cli

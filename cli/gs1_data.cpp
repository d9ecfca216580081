// GS1 data of the tool: the library's checker and converter called through its export.
#include "gs1_data.h"

#include <utility>

#include "gs1_conversion.h"

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
    ecc200_host::Gs1Conversion converted = ecc200_host::ConvertGs1(text, flags);
    switch (converted.status) {
        case ECC200_OK:
            return std::move(converted.text);
        case ECC200_ERR_GS1:
            throw ToolError(kExitUsage, "GS1 data: " + converted.message);
        case ECC200_ERR_DATA_TOO_LONG:
            throw ToolError(kExitSymbolFailed, "GS1 data: " + converted.message +
                                                   "; a symbol holds at most " +
                                                   std::to_string(ECC200_MAX_DATA_LENGTH));
        default:
            throw ToolError(kExitSymbolFailed, DescribeStatus(converted.status));
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
    return ecc200_host::ConvertGs1(elementString, ECC200_GS1_SKIP_RELATIONS | ECC200_GS1_BRACKETED)
        .text;
}

int32_t Gs1Option(const SymbolSettings& settings) {
    if (!settings.gs1) return ECC200_GS1_OFF;
    return settings.gs1Relations ? ECC200_GS1_CHECKED : ECC200_GS1_FIELDS_ONLY;
}

}  // namespace ecc200_cli

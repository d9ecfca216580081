// Gs1ElementString_ECC200: GS1 data in either form checked and written as the element string, the
// human-readable line or the bracketed form, with the reason of a refusal in the caller's message
// buffer.
#include <cstring>

#include "core/status.h"
#include "ecc200.h"
#include "gs1/element_string.h"

namespace ecc200 {
namespace {

using gs1::Verdict;

constexpr int32_t kKnownFlags =
    ECC200_GS1_SKIP_RELATIONS | ECC200_GS1_HUMAN_READABLE | ECC200_GS1_BRACKETED;
constexpr int32_t kBothForms = ECC200_GS1_HUMAN_READABLE | ECC200_GS1_BRACKETED;

int32_t StatusOf(Verdict verdict) {
    switch (verdict) {
        case Verdict::kValid:
            return kStatusOk;
        case Verdict::kTooLong:
            return kStatusDataTooLong;
        case Verdict::kBroken:
            break;
    }
    return kStatusGs1;
}

// The checked element string into elementString; its length into length.
Verdict CheckAndConvert(const char* text, bool relations, uint8_t* elementString, int32_t& length,
                        gs1::Message& message) {
    if (text[0] == '(') {
        return gs1::ConvertBracketed(text, relations, elementString, gs1::kMaxElementStringLength,
                                     length, message);
    }
    const std::string_view data(text);
    const Verdict verdict = gs1::CheckElementString(data, relations, message);
    if (verdict != Verdict::kValid) return verdict;
    length = static_cast<int32_t>(data.size());
    std::memcpy(elementString, data.data(), data.size());
    return verdict;
}

// Copies length bytes of result to out with a terminating zero where it fits.
int32_t Deliver(const char* result, int32_t length, uint8_t* out, int32_t outSize,
                gs1::Message& message) {
    if (length > outSize) {
        message.Text("output buffer of ").Number(outSize).Text(" bytes, ").Number(length);
        message.Text(" needed");
        return kStatusBadParameter;
    }
    std::memcpy(out, result, static_cast<std::size_t>(length));
    if (length < outSize) out[length] = 0;
    return kStatusOk;
}

int32_t ConvertGs1(const char* text, int32_t flags, uint8_t* out, int32_t outSize,
                   int32_t& outLength, gs1::Message& message) {
    uint8_t elementString[gs1::kMaxElementStringLength];
    int32_t length = 0;
    const bool relations = (flags & ECC200_GS1_SKIP_RELATIONS) == 0;
    const int32_t status =
        StatusOf(CheckAndConvert(text, relations, elementString, length, message));
    if (status != kStatusOk) return status;
    const std::string_view data(reinterpret_cast<const char*>(elementString),
                                static_cast<std::size_t>(length));
    if ((flags & (ECC200_GS1_HUMAN_READABLE | ECC200_GS1_BRACKETED)) == 0) {
        outLength = length;
        return Deliver(data.data(), length, out, outSize, message);
    }
    // Brackets, spaces and escapes at most triple the element string.
    char fields[3 * gs1::kMaxElementStringLength];
    const auto style = (flags & ECC200_GS1_HUMAN_READABLE) != 0 ? gs1::FieldStyle::kHumanReadable
                                                                : gs1::FieldStyle::kBracketed;
    outLength = gs1::WriteFields(data, style, fields, static_cast<int32_t>(sizeof fields));
    return Deliver(fields, outLength, out, outSize, message);
}

}  // namespace
}  // namespace ecc200

extern "C" ECC200_API int32_t ECC200_CALL Gs1ElementString_ECC200(const char* text, int32_t flags,
                                                                  uint8_t* out, int32_t outSize,
                                                                  int32_t* outLength, char* message,
                                                                  int32_t messageSize) {
    using namespace ecc200;
    gs1::Message reason(message, messageSize > 0 ? static_cast<std::size_t>(messageSize) : 0);
    int32_t length = 0;
    if (outLength != nullptr) *outLength = 0;
    if (text == nullptr || (flags & ~kKnownFlags) != 0 || (flags & kBothForms) == kBothForms ||
        outSize < 0 || messageSize < 0 || (out == nullptr && outSize > 0)) {
        reason.Text("invalid argument");
        return kStatusBadParameter;
    }
    const int32_t status = ConvertGs1(text, flags, out, outSize, length, reason);
    if (outLength != nullptr) *outLength = length;
    return status;
}

// Status codes the exports and the encode pipeline set themselves; the encoders' failures reach
// the caller as the negated results in encodation/encoder_cursor.h.
#pragma once

#include <cstdint>

namespace ecc200 {

enum StatusCode : int32_t {
    kStatusOk = 0,
    kStatusFixedSizeTooSmall = 1,
    kStatusDataTooLong = 2,
    kStatusBadParameter = 8,
    kStatusNoIdentity = 10,
    kStatusInternal = 18,
    kStatusUnreadable = 19,
    kStatusGs1 = 20,
};

// Texts stored in Symbol::message by the few failures that explain themselves.
inline constexpr const char kMessageBadParameters[] = "Bug of parameters";
inline constexpr const char kMessageTooLongText[] = "Too long text for all sizes";
inline constexpr const char kMessageSmallestEncodationFault[] =
    "Internal fault: the smallest encodation found no consistent stream";
inline constexpr const char kMessageTooLongProductId[] = "Too long ProductID string (>%i symbols)";
inline constexpr const char kMessageAppendIncomplete[] =
    "Structured append needs a position 1..count, a count 2..16 and a file identifier";
inline constexpr const char kMessageReaderProgramming[] =
    "Reader programming cannot be combined with GS1 or structured append";

}  // namespace ecc200

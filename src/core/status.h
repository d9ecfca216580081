// Status codes shared by the exports and the encode pipeline.
#pragma once

#include <cstdint>

namespace ecc200 {

enum StatusCode : int32_t {
    kStatusOk = 0,
    kStatusFixedSizeTooSmall = 1,
    kStatusDataTooLong = 2,
    kStatusEdifactByte = 4,
    kStatusX12Byte = 6,
    kStatusBadParameter = 8,
    kStatusNoIdentity = 10,
    kStatusBase256Empty = 17,
    kStatusInternal = 18,
};

// Texts stored in Symbol::message by the few failures that explain themselves.
inline constexpr const char kMessageBadParameters[] = "Bug of parameters";
inline constexpr const char kMessageTooLongText[] = "Too long text for all sizes";
inline constexpr const char kMessageTooLongProductId[] = "Too long ProductID string (>%i symbols)";

}  // namespace ecc200

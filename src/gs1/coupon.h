// The North American coupon structures carried by AIs (8110) and (8112): digits only, fields
// whose lengths follow from a length digit (VLI) in front of them.
#pragma once

#include <string_view>

namespace ecc200::gs1 {

// Null when text is a well-formed (8110) coupon code; otherwise what is wrong, in plain words.
const char* FailedCouponCode(std::string_view text);

// Null when text is a well-formed (8112) paperless coupon (positive offer file) code.
const char* FailedCouponPositiveOffer(std::string_view text);

}  // namespace ecc200::gs1

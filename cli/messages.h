// One-line explanations of the library's status codes in the user's terms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "encoder.h"

namespace ecc200_cli {

// What a status code means when nothing more is known about the failure.
std::string DescribeStatus(int32_t status);

// Why data of this many bytes cannot be encoded at all.
std::string DescribeTooMuchData(std::size_t length);

// Why a mark ("user mark" or "product mark") could not be switched on.
std::string DescribeMarkFailure(int32_t status, const std::string& markName);

// Why encoding data with settings failed with status; may ask the library again (for instance
// for the smallest size that would hold the data).
std::string DescribeEncodeFailure(int32_t status, const std::string& data,
                                  const SymbolSettings& settings);

}  // namespace ecc200_cli

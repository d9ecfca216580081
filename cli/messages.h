// One-line explanations of the library's status codes in the user's terms: the texts shared with
// the Python package (host/failure_messages.h), with the tool's way of probing and of naming a
// setting.
#pragma once

#include <cstdint>
#include <string>

#include "encoder.h"
#include "failure_messages.h"

namespace ecc200_cli {

using ecc200_host::DescribeMarkFailure;
using ecc200_host::DescribeStatus;
using ecc200_host::DescribeTooMuchData;

// Why encoding data with settings failed with status; may ask the library again (for instance
// for the smallest size that would hold the data).
std::string DescribeEncodeFailure(int32_t status, const std::string& data,
                                  const SymbolSettings& settings);

}  // namespace ecc200_cli

// The tool's side of the failure explanations: its probe and its hint for the automatic scheme.
#include "messages.h"

#include <optional>
#include <vector>

#include "gs1_data.h"

namespace ecc200_cli {
namespace {

// Encodes data with the settings' scheme and options and with size on a fresh symbol and returns
// the size that held it, or nothing when it failed. Marks are left off: they never change what
// fits. The shape stays square: the hints name square and rectangular sizes apart.
std::optional<int32_t> ProbeSize(const std::string& data, const SymbolSettings& settings,
                                 int32_t size) {
    SymbolHandle probe = CreateSymbol_ECC200();
    if (probe == nullptr) return std::nullopt;
    SetScheme_ECC200(probe, settings.scheme);
    SetOption_ECC200(probe, ECC200_OPTION_SIZE, size);
    SetOption_ECC200(probe, ECC200_OPTION_ENCODATION, settings.encodation);
    SetOption_ECC200(probe, ECC200_OPTION_GS1, Gs1Option(settings));
    SetOption_ECC200(probe, ECC200_OPTION_ECI, settings.eci);
    if (!data.empty()) {
        SetDataToEncoding_ECC200(probe, reinterpret_cast<const uint8_t*>(data.data()),
                                 static_cast<int32_t>(data.size()));
    }
    std::vector<uint8_t> buffer(ECC200_MAX_MODULES);
    std::optional<int32_t> used;
    if (WriteEncodedSymbolToBuf_ECC200(probe, buffer.data(), static_cast<int32_t>(buffer.size())) ==
        ECC200_OK) {
        used = GetDimension_ECC200(probe);
    }
    DeleteSymbol_ECC200(probe);
    return used;
}

}  // namespace

std::string DescribeEncodeFailure(int32_t status, const std::string& data,
                                  const SymbolSettings& settings) {
    const ecc200_host::FailedEncode failed{data,
                                           settings.scheme,
                                           settings.size,
                                           settings.gs1,
                                           "--scheme auto",
                                           [&](int32_t size) { return ProbeSize(data, settings, size); }};
    return ecc200_host::DescribeEncodeFailure(status, failed);
}

}  // namespace ecc200_cli

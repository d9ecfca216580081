#include "messages.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "catalogue.h"
#include "encodation/char_classes.h"
#include "gs1_data.h"

namespace ecc200_cli {
namespace {

constexpr const char kIdentityFile[] = "user.id";

std::string DescribeByte(unsigned char byte, std::size_t position) {
    char text[64];
    if (byte >= 32 && byte < 127) {
        std::snprintf(text, sizeof text, "'%c' (byte %u) at position %zu", byte, byte,
                      position + 1);
    } else {
        std::snprintf(text, sizeof text, "byte 0x%02X at position %zu", byte, position + 1);
    }
    return text;
}

template <typename Predicate>
std::optional<std::size_t> FirstByteOutside(const std::string& data, Predicate inSet) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (!inSet(static_cast<unsigned char>(data[i]))) return i;
    }
    return std::nullopt;
}

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

// The size that the library picks automatically for data, or nothing when no square size holds it.
std::optional<std::string> SmallestSquareSize(const std::string& data,
                                              const SymbolSettings& settings) {
    const std::optional<int32_t> index = ProbeSize(data, settings, ECC200_SIZE_AUTO);
    const SizeFacts* size = index ? FindSize(*index) : nullptr;
    if (size == nullptr) return std::nullopt;
    return size->name;
}

// The rectangle of least area that holds data; DMRE sizes only when withDmre. The ISO/IEC 16022
// rectangles grow in area as they grow in capacity, so among them the first that holds data wins.
std::optional<std::string> SmallestRectangle(const std::string& data,
                                             const SymbolSettings& settings, bool withDmre) {
    const SizeFacts* best = nullptr;
    for (const SizeFacts& size : AllSizes()) {
        if (size.square() || (size.dmre && !withDmre)) continue;
        if (best != nullptr && size.rows * size.cols >= best->rows * best->cols) continue;
        if (ProbeSize(data, settings, size.index)) best = &size;
    }
    if (best == nullptr) return std::nullopt;
    return best->name;
}

std::string LargestSizeName() {
    return std::to_string(ECC200_MAX_SIDE) + "x" + std::to_string(ECC200_MAX_SIDE);
}

std::string SchemeClause(int32_t scheme) {
    if (scheme == ECC200_SCHEME_AUTO) return "";
    return " in the " + std::string(FindScheme(scheme).name) + " scheme";
}

std::string DescribeSizeTooSmall(const std::string& data, const SymbolSettings& settings) {
    const SizeFacts* requested = FindSize(settings.size);
    std::string message = "the data does not fit " +
                          (requested ? requested->name : std::string("the size chosen")) +
                          SchemeClause(settings.scheme);
    if (requested && !requested->square()) {
        if (auto rectangle = SmallestRectangle(data, settings, requested->dmre)) {
            message += "; the smallest rectangular size that holds it is " + *rectangle;
        } else {
            message += "; no rectangular size holds it";
        }
    }
    if (auto square = SmallestSquareSize(data, settings)) {
        message += "; the smallest square size that holds it is " + *square;
    } else {
        message += "; it does not fit any size, not even " + LargestSizeName();
    }
    return message;
}

std::string DescribeDataTooLong(const SymbolSettings& settings) {
    std::string message = "the data is too long for every size" + SchemeClause(settings.scheme) +
                          ": even " + LargestSizeName() + " holds only " +
                          std::to_string(ECC200_MAX_DATA_CODEWORDS) + " data codewords";
    if (settings.scheme != ECC200_SCHEME_AUTO) message += "; --scheme auto may pack it tighter";
    return message;
}

std::string DescribeX12Failure(const std::string& data) {
    if (auto position = FirstByteOutside(data, ecc200::IsX12)) {
        return "the ANSI X12 scheme cannot encode " +
               DescribeByte(static_cast<unsigned char>(data[*position]), *position) +
               "; it takes only A-Z, 0-9, space, CR, '*' and '>'";
    }
    return "the ANSI X12 scheme cannot end this data cleanly; try --scheme auto";
}

std::string DescribeEdifactFailure(const std::string& data) {
    if (auto position = FirstByteOutside(data, ecc200::IsEdifact)) {
        return "the EDIFACT scheme cannot encode " +
               DescribeByte(static_cast<unsigned char>(data[*position]), *position) +
               "; it takes only the characters from space to '^' (bytes 32 to 94)";
    }
    return "the EDIFACT scheme cannot encode this data; try --scheme auto";
}

std::string DescribeLeftOver(const SymbolSettings& settings) {
    return "the " + std::string(FindScheme(settings.scheme).name) +
           " scheme cannot encode all of the data; try --scheme auto";
}

}  // namespace

std::string DescribeStatus(int32_t status) {
    switch (status) {
        case ECC200_OK:
            return "done";
        case ECC200_ERR_SIZE_TOO_SMALL:
            return "the data does not fit the size chosen";
        case ECC200_ERR_DATA_TOO_LONG:
            return "the data is too long for every size";
        case ECC200_ERR_EDIFACT_BYTE:
            return "the EDIFACT scheme cannot encode a byte of the data";
        case ECC200_ERR_X12_BYTE:
            return "the scheme chosen cannot encode all of the data";
        case ECC200_ERR_PARAMETER:
            return "the library refused a setting as invalid";
        case ECC200_ERR_NO_IDENTITY:
            return "the identity file user.id in the current directory is missing or unusable";
        case ECC200_ERR_BASE256_EMPTY:
            return "the Base 256 scheme has no data to encode";
        case ECC200_ERR_INTERNAL:
            return "the library failed (out of memory or an internal error)";
        case ECC200_ERR_GS1:
            return "the GS1 data breaks GS1's rules";
        default:
            return "the library reported the unknown status " + std::to_string(status);
    }
}

std::string DescribeTooMuchData(std::size_t length) {
    return "the data is " + std::to_string(length) + " bytes long; a symbol holds at most " +
           std::to_string(ECC200_MAX_DATA_LENGTH) + " bytes";
}

std::string DescribeMarkFailure(int32_t status, const std::string& markName) {
    std::error_code ignored;
    const std::filesystem::path directory = std::filesystem::current_path(ignored);
    if (status == ECC200_ERR_NO_IDENTITY) {
        if (!std::filesystem::exists(kIdentityFile, ignored)) {
            return "the " + markName +
                   " needs the identity file user.id in the current directory (" +
                   directory.string() + "), and there is none";
        }
        if (!std::filesystem::is_regular_file(kIdentityFile, ignored)) {
            return "the " + markName + " cannot use user.id in the current directory (" +
                   directory.string() + "): it is not a regular file";
        }
        return "the " + markName +
               " cannot use user.id in the current directory: its first word "
               "must be a prefix ending in the second '*', then 22 hex digits, one separator and "
               "22 hex digits (like ACME**00112233445566778899AA-0123456789abcdefABCDEF)";
    }
    if (status == ECC200_ERR_PARAMETER) {
        return "the product identifier must be 1 to " + std::to_string(ECC200_MAX_PRODUCT_ID) +
               " characters long";
    }
    return "the " + markName + " cannot be switched on: " + DescribeStatus(status);
}

std::string DescribeEncodeFailure(int32_t status, const std::string& data,
                                  const SymbolSettings& settings) {
    switch (status) {
        case ECC200_ERR_SIZE_TOO_SMALL:
            return DescribeSizeTooSmall(data, settings);
        case ECC200_ERR_DATA_TOO_LONG:
            if (data.size() > ECC200_MAX_DATA_LENGTH) return DescribeTooMuchData(data.size());
            return DescribeDataTooLong(settings);
        case ECC200_ERR_EDIFACT_BYTE:
            return DescribeEdifactFailure(data);
        case ECC200_ERR_X12_BYTE:
            if (settings.scheme == ECC200_SCHEME_X12) return DescribeX12Failure(data);
            return DescribeLeftOver(settings);
        case ECC200_ERR_BASE256_EMPTY:
            return "the Base 256 scheme needs at least one byte of data";
        default:
            return DescribeStatus(status);
    }
}

}  // namespace ecc200_cli

// The failure explanations shared by the tool and the Python package; see failure_messages.h.
#include "failure_messages.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include "ecc200.h"
#include "encodation/char_classes.h"
#include "geometry/size_table.h"

namespace ecc200_host {
namespace {

constexpr const char kIdentityFile[] = "user.id";

struct SchemeNaming {
    int32_t scheme;
    std::string_view name;
};
constexpr std::array<SchemeNaming, 7> kSchemeNames{{
    {ECC200_SCHEME_AUTO, "automatic"},
    {ECC200_SCHEME_ASCII, "ASCII"},
    {ECC200_SCHEME_C40, "C40"},
    {ECC200_SCHEME_TEXT, "Text"},
    {ECC200_SCHEME_X12, "ANSI X12"},
    {ECC200_SCHEME_EDIFACT, "EDIFACT"},
    {ECC200_SCHEME_BASE256, "Base 256"},
}};

// The library's size row of a size index, or nullptr.
const ecc200::SymbolSize* SizeOf(int32_t size) {
    if (size < 0 || size >= static_cast<int32_t>(ecc200::SymbolSizeTable.size())) return nullptr;
    return &ecc200::SymbolSizeTable[static_cast<std::size_t>(size)];
}

std::string SizeName(const ecc200::SymbolSize& size) {
    return std::to_string(size.symbolRows) + "x" + std::to_string(size.symbolCols);
}

bool IsDmre(int32_t size) {
    return size >= ECC200_SIZE_8X48;
}

std::string LargestSizeName() {
    return std::to_string(ECC200_MAX_SIDE) + "x" + std::to_string(ECC200_MAX_SIDE);
}

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
std::optional<std::size_t> FirstByteOutside(std::string_view data, Predicate inSet) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (!inSet(static_cast<unsigned char>(data[i]))) return i;
    }
    return std::nullopt;
}

std::string SchemeClause(int32_t scheme) {
    if (scheme == ECC200_SCHEME_AUTO) return "";
    return " in the " + std::string(SchemeName(scheme)) + " scheme";
}

// The rectangle of least area that holds the data; DMRE sizes only when withDmre.
std::optional<std::string> SmallestRectangle(const FailedEncode& failed, bool withDmre) {
    const ecc200::SymbolSize* best = nullptr;
    for (int32_t index = 0; index < static_cast<int32_t>(ecc200::SymbolSizeTable.size()); ++index) {
        const ecc200::SymbolSize& size = *SizeOf(index);
        if (size.symbolRows == size.symbolCols || (IsDmre(index) && !withDmre)) continue;
        const int32_t area = size.symbolRows * size.symbolCols;
        if (best != nullptr && area >= best->symbolRows * best->symbolCols) continue;
        if (failed.probe(index)) best = &size;
    }
    if (best == nullptr) return std::nullopt;
    return SizeName(*best);
}

std::string DescribeSizeTooSmall(const FailedEncode& failed) {
    const ecc200::SymbolSize* requested = SizeOf(failed.size);
    std::string message = "the data does not fit " +
                          (requested ? SizeName(*requested) : std::string("the size chosen")) +
                          SchemeClause(failed.scheme);
    if (requested && requested->symbolRows != requested->symbolCols) {
        if (auto rectangle = SmallestRectangle(failed, IsDmre(failed.size))) {
            message += "; the smallest rectangular size that holds it is " + *rectangle;
        } else {
            message += "; no rectangular size holds it";
        }
    }
    const std::optional<int32_t> square = failed.probe(ECC200_SIZE_AUTO);
    const ecc200::SymbolSize* squareSize = square ? SizeOf(*square) : nullptr;
    if (squareSize != nullptr) {
        message += "; the smallest square size that holds it is " + SizeName(*squareSize);
    } else {
        message += "; it does not fit any size, not even " + LargestSizeName();
    }
    return message;
}

std::string DescribeDataTooLong(const FailedEncode& failed) {
    if (failed.data.size() > ECC200_MAX_DATA_LENGTH) return DescribeTooMuchData(failed.data.size());
    std::string message = "the data is too long for every size" + SchemeClause(failed.scheme) +
                          ": even " + LargestSizeName() + " holds only " +
                          std::to_string(ECC200_MAX_DATA_CODEWORDS) + " data codewords";
    if (failed.scheme != ECC200_SCHEME_AUTO) {
        message += "; " + std::string(failed.schemeAutoHint) + " may pack it tighter";
    }
    return message;
}

std::string DescribeX12Failure(const FailedEncode& failed) {
    const std::string tryAuto = "; try " + std::string(failed.schemeAutoHint);
    if (failed.scheme != ECC200_SCHEME_X12) {
        return "the " + std::string(SchemeName(failed.scheme)) +
               " scheme cannot encode all of the data" + tryAuto;
    }
    if (auto position = FirstByteOutside(failed.data, ecc200::IsX12)) {
        return "the ANSI X12 scheme cannot encode " +
               DescribeByte(static_cast<unsigned char>(failed.data[*position]), *position) +
               "; it takes only A-Z, 0-9, space, CR, '*' and '>'";
    }
    return "the ANSI X12 scheme cannot end this data cleanly" + tryAuto;
}

std::string DescribeEdifactFailure(const FailedEncode& failed) {
    if (auto position = FirstByteOutside(failed.data, ecc200::IsEdifact)) {
        return "the EDIFACT scheme cannot encode " +
               DescribeByte(static_cast<unsigned char>(failed.data[*position]), *position) +
               "; it takes only the characters from space to '^' (bytes 32 to 94)";
    }
    return "the EDIFACT scheme cannot encode this data; try " + std::string(failed.schemeAutoHint);
}

std::string DescribeRefusal(const FailedEncode& failed) {
    if (failed.gs1 && !failed.data.empty() && failed.data.front() == '\x1d') {
        return "GS1 data cannot start with a GS byte (0x1D): the symbol's FNC1 already opens it";
    }
    return DescribeStatus(ECC200_ERR_PARAMETER);
}

}  // namespace

std::string_view SchemeName(int32_t scheme) {
    for (const auto& [id, name] : kSchemeNames) {
        if (id == scheme) return name;
    }
    return "unknown";
}

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

std::string DescribeMarkFailure(int32_t status, std::string_view markName) {
    const std::string mark(markName);
    std::error_code ignored;
    const std::filesystem::path directory = std::filesystem::current_path(ignored);
    if (status == ECC200_ERR_NO_IDENTITY) {
        if (!std::filesystem::exists(kIdentityFile, ignored)) {
            return "the " + mark + " needs the identity file user.id in the current directory (" +
                   directory.string() + "), and there is none";
        }
        if (!std::filesystem::is_regular_file(kIdentityFile, ignored)) {
            return "the " + mark + " cannot use user.id in the current directory (" +
                   directory.string() + "): it is not a regular file";
        }
        return "the " + mark +
               " cannot use user.id in the current directory: its first word "
               "must be a prefix ending in the second '*', then 22 hex digits, one separator and "
               "22 hex digits (like ACME**00112233445566778899AA-0123456789abcdefABCDEF)";
    }
    if (status == ECC200_ERR_PARAMETER) {
        return "the product identifier must be 1 to " + std::to_string(ECC200_MAX_PRODUCT_ID) +
               " characters long";
    }
    return "the " + mark + " cannot be switched on: " + DescribeStatus(status);
}

std::string DescribeEncodeFailure(int32_t status, const FailedEncode& failed) {
    switch (status) {
        case ECC200_ERR_SIZE_TOO_SMALL:
            return DescribeSizeTooSmall(failed);
        case ECC200_ERR_DATA_TOO_LONG:
            return DescribeDataTooLong(failed);
        case ECC200_ERR_EDIFACT_BYTE:
            return DescribeEdifactFailure(failed);
        case ECC200_ERR_X12_BYTE:
            return DescribeX12Failure(failed);
        case ECC200_ERR_PARAMETER:
            return DescribeRefusal(failed);
        case ECC200_ERR_BASE256_EMPTY:
            return "the Base 256 scheme needs at least one byte of data";
        default:
            return DescribeStatus(status);
    }
}

}  // namespace ecc200_host

// The reports of `ecc200 read` and `ecc200 verify`, built from the library's reading record.
#include "reading_report.h"

#include <cstdio>

#include "ecc200.h"
#include "gs1_data.h"

namespace ecc200_cli {

namespace {

std::string DataOf(const ECC200_Reading& r) {
    return {reinterpret_cast<const char*>(r.data), static_cast<std::size_t>(r.dataLength)};
}

std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        hex += kDigits[c >> 4];
        hex += kDigits[c & 15];
    }
    return hex;
}

// A JSON string; the text must be UTF-8 (file names that are not get their stray bytes
// replaced).
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    const bool utf8 = IsUtf8(text);
    for (char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else if (c >= 0x80 && !utf8) {
            out += "\\ufffd";
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string SizeText(const ecc200_imaging::ImageReading& reading) {
    if (reading.status == ECC200_OK) {
        return std::to_string(reading.reading.rows) + "x" + std::to_string(reading.reading.cols);
    }
    if (reading.symbol) {
        return std::to_string(reading.symbol->grid.rows) + "x" +
               std::to_string(reading.symbol->grid.cols);
    }
    return {};
}

std::string Hri(const ECC200_Reading& r) {
    return r.gs1 != 0 ? Gs1BracketedOrEmpty(DataOf(r)) : std::string();
}

std::string ErrorsList(const ECC200_Reading& r, const char* separator) {
    std::string list;
    for (int32_t b = 0; b < r.blockCount && b < ECC200_MAX_BLOCKS; ++b) {
        if (b > 0) list += separator;
        list += std::to_string(r.errors[b]);
    }
    return list;
}

// Why a file gave no reading, for the text report and the JSON "error" key.
std::string Unreadable(const FileReading& outcome) {
    if (!outcome.problem.empty()) return outcome.problem;
    switch (outcome.reading.status) {
        case ECC200_ERR_NO_IDENTITY:
            return "the identity file cannot be used for the product mark";
        case ECC200_ERR_PARAMETER:
            return "the product identifier is empty or too long";
        default:
            break;
    }
    if (!outcome.reading.symbol) return "no symbol found";
    return "symbol found (" + SizeText(outcome.reading) + ") but it does not decode" +
           (outcome.productGiven ? " with this product identifier and identity" : "");
}

}  // namespace

const char* UserMarkName(int32_t verdict) {
    switch (verdict) {
        case ECC200_MARK_VALID:
            return "valid";
        case ECC200_MARK_PARTIAL:
            return "partial";
        case ECC200_MARK_ABSENT:
            return "absent";
        default:
            return "unchecked";
    }
}

std::string Escaped(const std::string& bytes) {
    std::string out;
    for (char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
        }
    }
    return out;
}

bool IsUtf8(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t follow = 0;
        uint32_t code = 0, least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            follow = 1, code = c & 0x1Fu, least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            follow = 2, code = c & 0x0Fu, least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            follow = 3, code = c & 0x07u, least = 0x10000;
        } else {
            return false;
        }
        if (i + follow >= bytes.size()) return false;
        for (std::size_t k = 1; k <= follow; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += follow + 1;
    }
    return true;
}

std::string TextReport(const FileReading& outcome) {
    if (!outcome.ok()) return outcome.file + ": unreadable: " + Unreadable(outcome) + "\n";
    const ECC200_Reading& r = outcome.reading.reading;
    std::string out =
        outcome.file + ": " + SizeText(outcome.reading) + " \"" + Escaped(DataOf(r)) + "\"\n";
    const std::string hri = Hri(r);
    if (r.gs1 != 0)
        out += "  GS1: " + (hri.empty() ? std::string("(not a known AI layout)") : hri) + "\n";
    if (r.eci >= 0) out += "  ECI: " + std::to_string(r.eci) + "\n";
    out += "  corrected errors per block: " + ErrorsList(r, " ") + "\n";
    out += std::string("  user mark: ") + UserMarkName(r.userMark);
    if (r.userMark != ECC200_MARK_UNCHECKED) {
        out += " (" + std::to_string(r.userMarkBlocks) + " of " + std::to_string(r.blockCount) +
               " blocks)";
    }
    out += "\n";
    if (r.productMarkLifted != 0) out += "  product mark: lifted\n";
    return out;
}

std::string JsonReport(const FileReading& outcome) {
    std::string out = "{\"file\":" + JsonString(outcome.file);
    if (!outcome.ok()) {
        const std::string size = SizeText(outcome.reading);
        return out + ",\"status\":\"unreadable\",\"size\":" +
               (size.empty() ? std::string("null") : JsonString(size)) +
               ",\"data_hex\":null,\"text\":null,\"gs1\":false,\"hri\":null,\"eci\":null,"
               "\"errors\":[],\"user_mark\":\"unchecked\",\"user_mark_blocks\":[0,0],"
               "\"error\":" +
               JsonString(Unreadable(outcome)) + "}\n";
    }
    const ECC200_Reading& r = outcome.reading.reading;
    const std::string data = DataOf(r), hri = Hri(r);
    out += ",\"status\":\"ok\",\"size\":" + JsonString(SizeText(outcome.reading));
    out += ",\"data_hex\":\"" + Hex(data) + "\"";
    out += ",\"text\":" + (IsUtf8(data) ? JsonString(data) : std::string("null"));
    out += std::string(",\"gs1\":") + (r.gs1 != 0 ? "true" : "false");
    out += ",\"hri\":" + (hri.empty() ? std::string("null") : JsonString(hri));
    out += ",\"eci\":" + (r.eci >= 0 ? std::to_string(r.eci) : std::string("null"));
    out += ",\"errors\":[" + ErrorsList(r, ",") + "]";
    out += std::string(",\"user_mark\":\"") + UserMarkName(r.userMark) + "\"";
    out += ",\"user_mark_blocks\":[" + std::to_string(r.userMarkBlocks) + "," +
           std::to_string(r.blockCount) + "]";
    out += ",\"symbology_id\":" + JsonString(r.symbologyId);
    out += std::string(",\"product_mark\":") + (r.productMarkLifted != 0 ? "\"lifted\"" : "null");
    out += std::string(",\"reader_programming\":") + (r.readerProgramming != 0 ? "true" : "false");
    out += ",\"macro\":" + (r.macro != 0 ? std::to_string(r.macro) : std::string("null"));
    out += ",\"structured_append\":";
    out += r.appendPosition > 0
               ? "[" + std::to_string(r.appendPosition) + "," + std::to_string(r.appendCount) +
                     "," + std::to_string(r.appendFileId) + "]"
               : std::string("null");
    out += std::string(",\"located_by\":\"") +
           ecc200_imaging::LocatorName(outcome.reading.symbol ? outcome.reading.symbol->locator
                                                              : ecc200_imaging::Locator::kNone) +
           "\"";
    return out + "}\n";
}

std::string VerifyFailure(const FileReading& outcome) {
    if (!outcome.ok()) return "unreadable: " + Unreadable(outcome);
    const ECC200_Reading& r = outcome.reading.reading;
    if (outcome.productGiven && r.productMarkLifted == 0) return "the product mark was not lifted";
    switch (r.userMark) {
        case ECC200_MARK_VALID:
            return {};
        case ECC200_MARK_UNCHECKED:
            return "no identity to check the user mark against";
        case ECC200_MARK_ABSENT:
            return "no user mark of this identity";
        default:
            return "user mark partial: " + std::to_string(r.userMarkBlocks) + " of " +
                   std::to_string(r.blockCount) + " blocks show it";
    }
}

}  // namespace ecc200_cli

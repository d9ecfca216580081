// The GS1 application identifiers the tool accepts, with the format of each one's value.
//
// A value is one to three parts. A part is a run of digits, or of characters from one of the GS1
// character sets, of fixed or bounded length; only the last part may vary in length. A family of
// AIs (310n with a decimal-point position, 7030..7039 with an index ...) is one row whose first
// and last AI bound each digit.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ecc200_cli::gs1 {

enum class Charset : uint8_t {
    kDigits,  // 0-9
    kDate,    // six digits YYMMDD; day 00 means the whole month
    kCset82,  // the 82 characters GS1 allows in alphanumeric fields
    kCset39,  // # - / 0-9 A-Z
    kCset64,  // A-Z a-z 0-9 - _ and = as padding (file-safe base64)
    kMinus,   // '-' alone
};

struct Part {
    Charset charset = Charset::kDigits;
    uint8_t minLength = 0;  // 0 only for an optional last part
    uint8_t maxLength = 0;  // 0: the part does not exist
};

struct AiFormat {
    std::string_view ai;    // two to four digits: the AI, or the first of a family
    std::string_view last;  // empty, or the last AI of the family: same length, each digit >= ai's
    std::array<Part, 3> parts{};
    bool checkDigit = false;  // the first part ends in a GS1 mod-10 check digit
};

constexpr Part N(int length) {
    return {Charset::kDigits, static_cast<uint8_t>(length), static_cast<uint8_t>(length)};
}
constexpr Part NUpTo(int length, int minLength = 1) {
    return {Charset::kDigits, static_cast<uint8_t>(minLength), static_cast<uint8_t>(length)};
}
constexpr Part Date() {
    return {Charset::kDate, 6, 6};
}
constexpr Part X(int length) {
    return {Charset::kCset82, static_cast<uint8_t>(length), static_cast<uint8_t>(length)};
}
constexpr Part XUpTo(int length, int minLength = 1) {
    return {Charset::kCset82, static_cast<uint8_t>(minLength), static_cast<uint8_t>(length)};
}
constexpr Part YUpTo(int length) {
    return {Charset::kCset39, 1, static_cast<uint8_t>(length)};
}
constexpr Part ZUpTo(int length) {
    return {Charset::kCset64, 1, static_cast<uint8_t>(length)};
}

constexpr Part MinusSign() {
    return {Charset::kMinus, 0, 1};
}

constexpr bool kCheck = true;

// clang-format off
inline constexpr AiFormat kAiFormats[] = {
    {"00", {}, {N(18)}, kCheck},                   // SSCC
    {"01", {}, {N(14)}, kCheck},                   // GTIN
    {"02", {}, {N(14)}, kCheck},                   // GTIN of contained trade items
    {"10", {}, {XUpTo(20)}},                       // batch or lot
    {"11", {}, {Date()}},                          // production date
    {"12", {}, {Date()}},                          // due date
    {"13", {}, {Date()}},                          // packaging date
    {"15", {}, {Date()}},                          // best before
    {"16", {}, {Date()}},                          // sell by
    {"17", {}, {Date()}},                          // expiration date
    {"20", {}, {N(2)}},                            // variant
    {"21", {}, {XUpTo(20)}},                       // serial number
    {"22", {}, {XUpTo(20)}},                       // consumer product variant
    {"235", {}, {XUpTo(28)}},                      // third-party serial extension
    {"240", {}, {XUpTo(30)}},
    {"241", {}, {XUpTo(30)}},
    {"242", {}, {NUpTo(6)}},
    {"243", {}, {XUpTo(20)}},
    {"250", {}, {XUpTo(30)}},
    {"251", {}, {XUpTo(30)}},
    {"253", {}, {N(13), XUpTo(17, 0)}, kCheck},    // GDTI
    {"254", {}, {XUpTo(20)}},
    {"255", {}, {N(13), NUpTo(12, 0)}, kCheck},    // GCN
    {"30", {}, {NUpTo(8)}},
    {"3100", "3166", {N(6)}},                           // 310n..316n measures
    {"3200", "3296", {N(6)}},                           // 320n..329n
    {"3300", "3376", {N(6)}},                           // 330n..337n
    {"3400", "3496", {N(6)}},
    {"3500", "3576", {N(6)}},
    {"3600", "3696", {N(6)}},
    {"37", {}, {NUpTo(8)}},                        // count of trade items
    {"3900", "3909", {NUpTo(15)}},                     // amount payable
    {"3910", "3919", {N(3), NUpTo(15)}},               // amount with ISO currency
    {"3920", "3929", {NUpTo(15)}},
    {"3930", "3939", {N(3), NUpTo(15)}},
    {"3940", "3944", {N(4)}},
    {"3950", "3956", {N(6)}},
    {"400", {}, {XUpTo(30)}},
    {"401", {}, {XUpTo(30)}},                      // GINC
    {"402", {}, {N(17)}, kCheck},                  // GSIN
    {"403", {}, {XUpTo(30)}},
    {"410", "417", {N(13)}, kCheck},                  // 410..417 GLNs
    {"420", {}, {XUpTo(20)}},
    {"421", {}, {N(3), XUpTo(9)}},
    {"422", {}, {N(3)}},
    {"423", {}, {N(3), NUpTo(12, 0)}},
    {"424", {}, {N(3)}},
    {"425", {}, {N(3), NUpTo(12, 0)}},
    {"426", {}, {N(3)}},
    {"427", {}, {XUpTo(3)}},
    {"4300", "4301", {XUpTo(35)}},                     // ship-to company, contact
    {"4302", "4306", {XUpTo(70)}},                     // ship-to address lines ... region
    {"4307", {}, {X(2)}},                              // ship-to country code
    {"4308", {}, {XUpTo(30)}},                         // ship-to telephone
    {"4309", {}, {N(20)}},                             // ship-to geolocation
    {"4310", "4311", {XUpTo(35)}},                     // return-to company, contact
    {"4312", "4316", {XUpTo(70)}},
    {"4317", {}, {X(2)}},
    {"4318", {}, {XUpTo(20)}},
    {"4319", {}, {XUpTo(30)}},
    {"4320", {}, {XUpTo(35)}},
    {"4321", {}, {N(1)}},
    {"4322", {}, {N(1)}},
    {"4323", {}, {N(1)}},
    {"4324", {}, {N(10)}},
    {"4325", {}, {N(10)}},
    {"4326", {}, {Date()}},
    {"4330", "4333", {N(6), MinusSign()}},             // temperatures, '-' when below zero
    {"7001", {}, {N(13)}},
    {"7002", {}, {XUpTo(30)}},
    {"7003", {}, {N(10)}},
    {"7004", {}, {NUpTo(4)}},
    {"7005", {}, {XUpTo(12)}},
    {"7006", {}, {Date()}},
    {"7007", {}, {N(6), NUpTo(6, 0)}},
    {"7008", {}, {XUpTo(3)}},
    {"7009", {}, {XUpTo(10)}},
    {"7010", {}, {XUpTo(2)}},
    {"7011", {}, {N(6), NUpTo(4, 0)}},
    {"7020", {}, {XUpTo(20)}},
    {"7021", {}, {XUpTo(20)}},
    {"7022", {}, {XUpTo(20)}},
    {"7023", {}, {XUpTo(30)}},
    {"7030", "7039", {N(3), XUpTo(27)}},               // 7030..7039 processors
    {"7040", {}, {N(1), X(3)}},
    {"7041", {}, {XUpTo(4)}},
    {"710", {}, {XUpTo(20)}},                      // national healthcare reimbursement numbers
    {"711", {}, {XUpTo(20)}},
    {"712", {}, {XUpTo(20)}},
    {"713", {}, {XUpTo(20)}},
    {"714", {}, {XUpTo(20)}},
    {"715", {}, {XUpTo(20)}},
    {"716", {}, {XUpTo(20)}},
    {"7230", "7239", {X(2), XUpTo(28)}},               // 7230..7239 certification references
    {"7240", {}, {XUpTo(20)}},
    {"7241", {}, {N(2)}},
    {"7242", {}, {XUpTo(25)}},
    {"7250", {}, {N(8)}},
    {"7251", {}, {N(12)}},
    {"7252", {}, {N(1)}},
    {"7253", {}, {XUpTo(40)}},
    {"7254", {}, {XUpTo(40)}},
    {"7255", {}, {XUpTo(10)}},
    {"7256", {}, {XUpTo(90)}},
    {"7257", {}, {XUpTo(70)}},
    {"7258", {}, {N(1), X(1), N(1)}},
    {"7259", {}, {XUpTo(40)}},
    {"8001", {}, {N(14)}},
    {"8002", {}, {XUpTo(20)}},
    {"8003", {}, {N(14), XUpTo(16, 0)}},           // GRAI
    {"8004", {}, {XUpTo(30)}},                     // GIAI
    {"8005", {}, {N(6)}},
    {"8006", {}, {N(14), N(2), N(2)}, kCheck},     // ITIP
    {"8007", {}, {XUpTo(34)}},                     // IBAN
    {"8008", {}, {N(8), NUpTo(4, 0)}},
    {"8009", {}, {XUpTo(50)}},
    {"8010", {}, {YUpTo(30)}},                     // CPID
    {"8011", {}, {NUpTo(12)}},
    {"8012", {}, {XUpTo(20)}},
    {"8013", {}, {XUpTo(25)}},                     // GMN
    {"8017", {}, {N(18)}, kCheck},                 // GSRN
    {"8018", {}, {N(18)}, kCheck},
    {"8019", {}, {NUpTo(10)}},
    {"8020", {}, {XUpTo(25)}},
    {"8026", {}, {N(14), N(2), N(2)}, kCheck},
    {"8030", {}, {ZUpTo(90)}},                     // digital signature
    {"8110", {}, {XUpTo(70)}},
    {"8111", {}, {N(4)}},
    {"8112", {}, {XUpTo(70)}},
    {"8200", {}, {XUpTo(70)}},                     // product URL
    {"90", {}, {XUpTo(30)}},
    {"91", "99", {XUpTo(90)}},                       // company internal
};
// clang-format on

// The AIs whose value length the first two digits fix for every reader: no separator follows
// them. Every other element that is not the last is ended by FNC1, even one of fixed length.
inline constexpr std::string_view kPredefinedLengthPrefixes[] = {
    "00", "01", "02", "03", "04", "11", "12", "13", "14", "15", "16",
    "17", "18", "19", "20", "31", "32", "33", "34", "35", "36", "41",
};

}  // namespace ecc200_cli::gs1

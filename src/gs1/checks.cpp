// The character sets and checks of GS1 AI values. Each check takes the text of one component,
// already known to be of the component's length and character set, and says what is wrong.
#include "gs1/checks.h"

#include <cstdint>

#include "gs1/ai_table.h"
#include "gs1/coupon.h"
#include "gs1/text_rules.h"

namespace ecc200::gs1 {
namespace {

// GS1's 82-character set in ascending order; a character's index is its value in the
// alphanumeric check pair.
constexpr std::string_view kCset82 =
    "!\"%&'()*+,-./0123456789:;<=>?ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kCheckPairCharacters = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr int kPrimes[] = {2,  3,  5,  7,  11, 13, 17, 19, 23, 29, 31, 37, 41,
                           43, 47, 53, 59, 61, 67, 71, 73, 79, 83, 89, 97};

bool InCset39(char c) {
    return IsDigit(c) || IsUpper(c) || c == '#' || c == '-' || c == '/';
}

bool InCset64(char c) {
    return IsDigit(c) || IsUpper(c) || IsLower(c) || c == '-' || c == '_';
}

bool InCset(Cset cset, char c) {
    switch (cset) {
        case Cset::kNumeric:
            return IsDigit(c);
        case Cset::kCset82:
            return kCset82.find(c) != std::string_view::npos;
        case Cset::kCset39:
            return InCset39(c);
        case Cset::kCset64:
            return InCset64(c);
    }
    return false;
}

// The GS1 mod-10 check digit: weights 3, 1, 3, ... from the digit before it, leftwards.
bool CheckDigitHolds(std::string_view digits) {
    if (digits.size() < 2) return false;
    int sum = 0;
    int weight = 3;
    for (std::size_t i = digits.size() - 1; i-- > 0;) {
        sum += weight * (digits[i] - '0');
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10 == digits.back() - '0';
}

// The alphanumeric check pair: characters valued by their place in the 82-character set,
// weighted by the primes from the right, the sum modulo 1021 written in base 32.
bool CheckPairHolds(std::string_view text) {
    if (text.size() < 2 || text.size() - 2 > std::size(kPrimes)) return false;
    const std::string_view body = Slice(text, 0, text.size() - 2);
    int sum = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const std::size_t value = kCset82.find(body[body.size() - 1 - i]);
        if (value == std::string_view::npos) return false;
        sum += static_cast<int>(value) * kPrimes[i];
    }
    sum %= 1021;
    return text[text.size() - 2] == kCheckPairCharacters[static_cast<std::size_t>(sum >> 5)] &&
           text.back() == kCheckPairCharacters[static_cast<std::size_t>(sum & 31)];
}

// At least four digits (the shortest GS1 Company Prefix) from the 0-based position first.
bool CompanyPrefixAt(std::string_view text, std::size_t first) {
    return text.size() >= first + 4 && AllDigits(Slice(text, first, 4));
}

int DaysInMonth(int year, int month, bool twoDigitYear) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month != 2) return kDays[month - 1];
    const bool leap =
        twoDigitYear ? year % 4 == 0 : (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return leap ? 29 : 28;
}

// A date YYMMDD or YYYYMMDD; a day 00 (the whole month) where dayZero allows it.
bool IsDate(std::string_view text, std::size_t yearDigits, bool dayZero) {
    if (text.size() != yearDigits + 4 || !AllDigits(text)) return false;
    const int year = NumberOf(Slice(text, 0, yearDigits));
    const int month = NumberOf(Slice(text, yearDigits, 2));
    const int day = NumberOf(Slice(text, yearDigits + 2, 2));
    if (month < 1 || month > 12) return false;
    if (day == 0) return dayZero;
    return day <= DaysInMonth(year, month, yearDigits == 2);
}

bool IsNumberUpTo(std::string_view text, std::size_t length, int64_t limit) {
    return text.size() == length && AllDigits(text) && NumberOf64(text) <= limit;
}

bool IsTime(std::string_view text) {
    return text.size() == 4 && IsNumberUpTo(Slice(text, 0, 2), 2, 23) &&
           IsNumberUpTo(Slice(text, 2), 2, 59);
}

bool PieceOfTotal(std::string_view text) {
    if (text.size() % 2 != 0 || text.empty() || !AllDigits(text)) return false;
    const int64_t piece = NumberOf64(Slice(text, 0, text.size() / 2));
    const int64_t total = NumberOf64(Slice(text, text.size() / 2));
    return piece >= 1 && total >= 1 && piece <= total;
}

// A positive number written without a leading zero.
bool IsCount(std::string_view text) {
    return !text.empty() && text.size() <= 9 && AllDigits(text) && text[0] != '0';
}

bool PositionInSequence(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return false;
    const std::string_view position = Slice(text, 0, slash);
    const std::string_view end = Slice(text, slash + 1);
    return IsCount(position) && IsCount(end) && NumberOf(position) <= NumberOf(end);
}

bool PercentEncoded(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (i + 2 >= text.size() || !IsHexDigit(text[i + 1]) || !IsHexDigit(text[i + 2])) {
            return false;
        }
        i += 2;
    }
    return true;
}

// An IBAN: an upper-case country code of ISO 3166, two check digits, then digits and upper-case
// letters; moved behind the rest and with letters as 10..35, the whole is 1 modulo 97.
bool IsIban(std::string_view text) {
    if (text.size() < 4 || !IsUpper(text[0]) || !IsUpper(text[1]) || !IsDigit(text[2]) ||
        !IsDigit(text[3]) || !InCodeList(kIso3166alpha2Codes, Slice(text, 0, 2))) {
        return false;
    }
    int remainder = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[(k + 4) % text.size()];
        if (IsDigit(c)) {
            remainder = (remainder * 10 + (c - '0')) % 97;
        } else if (IsUpper(c)) {
            remainder = (remainder * 100 + (c - 'A' + 10)) % 97;
        } else {
            return false;
        }
    }
    return remainder == 1;
}

bool AllAre(std::string_view text, char c) {
    return !text.empty() && text.find_first_not_of(c) == std::string_view::npos;
}

bool OneOf(std::string_view text, std::string_view values) {
    return text.size() == 1 && values.find(text[0]) != std::string_view::npos;
}

const char* Unless(bool holds, const char* rule) {
    return holds ? nullptr : rule;
}

}  // namespace

std::size_t FirstOutsideCset(Cset cset, std::string_view value) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        const bool padding = cset == Cset::kCset64 && value[i] == '=' && i + 1 == value.size();
        if (!padding && !InCset(cset, value[i])) return i;
    }
    return value.size();
}

const char* CsetName(Cset cset) {
    switch (cset) {
        case Cset::kNumeric:
            return "digits only";
        case Cset::kCset82:
            return "GS1's 82 characters (A-Z a-z 0-9 !\"%&'()*+,-./:;<=>?_)";
        case Cset::kCset39:
            return "GS1's 39 characters (A-Z 0-9 # - /)";
        case Cset::kCset64:
            return "base64url (A-Z a-z 0-9 - _, one '=' at the end)";
    }
    return "";
}

const char* FailedCheck(Check check, std::string_view v) {
    switch (check) {
        case Check::kNone:
            return nullptr;
        case Check::kCsum:
            return Unless(AllDigits(v) && CheckDigitHolds(v), "wrong check digit");
        case Check::kCsumalpha:
            return Unless(CheckPairHolds(v), "wrong check character pair");
        case Check::kGcppos1:
            return Unless(CompanyPrefixAt(v, 0), "must start with a GS1 Company Prefix (4 digits)");
        case Check::kGcppos2:
            return Unless(CompanyPrefixAt(v, 1),
                          "must have a GS1 Company Prefix (4 digits) from position 2");
        case Check::kYymmdd:
            return Unless(IsDate(v, 2, false), "not a real date YYMMDD");
        case Check::kYymmd0:
            return Unless(IsDate(v, 2, true), "not a real date YYMMDD (day 00: whole month)");
        case Check::kYyyymmdd:
            return Unless(IsDate(v, 4, false), "not a real date YYYYMMDD");
        case Check::kYyyymmd0:
            return Unless(IsDate(v, 4, true), "not a real date YYYYMMDD (day 00: whole month)");
        case Check::kHh:
            return Unless(IsNumberUpTo(v, 2, 23), "hour must be 00 to 23");
        case Check::kMi:
            return Unless(IsNumberUpTo(v, 2, 59), "minute must be 00 to 59");
        case Check::kSs:
            return Unless(IsNumberUpTo(v, 2, 59), "second must be 00 to 59");
        case Check::kHhmi:
            return Unless(IsTime(v), "not a time HHMM from 0000 to 2359");
        case Check::kIso3166:
            return Unless(InCodeList(kIso3166Codes, v), "not an ISO 3166 numeric country code");
        case Check::kIso3166999:
            return Unless(v == "999" || InCodeList(kIso3166Codes, v),
                          "not an ISO 3166 numeric country code or 999");
        case Check::kIso3166alpha2:
            return Unless(InCodeList(kIso3166alpha2Codes, v),
                          "not an ISO 3166 two-letter country code");
        case Check::kIso4217:
            return Unless(InCodeList(kIso4217Codes, v), "not an ISO 4217 numeric currency code");
        case Check::kIso5218:
            return Unless(OneOf(v, "0129"), "sex must be 0, 1, 2 or 9 (ISO/IEC 5218)");
        case Check::kMediatype:
            return Unless(InCodeList(kMediatypeCodes, v), "not a GS1 AIDC media type");
        case Check::kPackagetype:
            return Unless(InCodeList(kPackagetypeCodes, v), "not a package type code");
        case Check::kImporteridx:
            return Unless(InCodeList(kImporteridxCodes, v), "not an importer index character");
        case Check::kYesno:
            return Unless(OneOf(v, "01"), "must be 0 (no) or 1 (yes)");
        case Check::kWinding:
            return Unless(OneOf(v, "019"), "winding direction must be 0, 1 or 9");
        case Check::kZero:
            return Unless(AllAre(v, '0'), "must be 0");
        case Check::kNonzero:
            return Unless(!AllAre(v, '0'), "must not be zero");
        case Check::kNozeroprefix:
            return Unless(!v.empty() && v[0] != '0', "must not start with 0");
        case Check::kHasnondigit:
            return Unless(!AllDigits(v), "must contain a character that is not a digit");
        case Check::kHyphen:
            return Unless(AllAre(v, '-'), "must be '-'");
        case Check::kPieceoftotal:
            return Unless(PieceOfTotal(v), "must be piece and total, 1 <= piece <= total");
        case Check::kPosinseqslash:
            return Unless(PositionInSequence(v),
                          "must be position/count, 1 <= position <= count, no leading 0");
        case Check::kPcenc:
            return Unless(PercentEncoded(v), "every '%' must start an escape %hh (hex digits)");
        case Check::kIban:
            return Unless(IsIban(v), "not a valid IBAN");
        case Check::kLatitude:
            return Unless(IsNumberUpTo(v, 10, 1800000000), "latitude above 1800000000");
        case Check::kLongitude:
            return Unless(IsNumberUpTo(v, 10, 3600000000), "longitude above 3600000000");
        case Check::kCouponcode:
            return FailedCouponCode(v);
        case Check::kCouponposoffer:
            return FailedCouponPositiveOffer(v);
    }
    return "unknown check";
}

}  // namespace ecc200::gs1

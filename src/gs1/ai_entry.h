// The shape of the GS1 AI table (gs1/ai_table.h, generated from GS1's Barcode Syntax Dictionary):
// the character sets and checks a component of an AI's value may name, the components, the
// formats and the rows. Plain aggregates, so the whole table is a compile-time constant.
#pragma once

#include <cstdint>

namespace ecc200::gs1 {

// The character set of a component: digits, GS1's 82-character set, its 39-character set, and
// the 64 characters of base64url (with '=' as padding).
enum class Cset : uint8_t { kNumeric, kCset82, kCset39, kCset64 };

// The checks ("linters") that the dictionary names, one enumerator each, named after it.
enum class Check : uint8_t {
    kNone,
    kCsum,
    kCsumalpha,
    kGcppos1,
    kGcppos2,
    kYymmdd,
    kYymmd0,
    kYyyymmdd,
    kYyyymmd0,
    kHh,
    kMi,
    kSs,
    kHhmi,
    kIso3166,
    kIso3166999,
    kIso3166alpha2,
    kIso4217,
    kIso5218,
    kMediatype,
    kPackagetype,
    kImporteridx,
    kYesno,
    kWinding,
    kZero,
    kNonzero,
    kNozeroprefix,
    kHasnondigit,
    kHyphen,
    kPieceoftotal,
    kPosinseqslash,
    kPcenc,
    kIban,
    kLatitude,
    kLongitude,
    kCouponcode,
    kCouponposoffer,
};

inline constexpr int kMaxChecks = 3;
inline constexpr int kMaxComponents = 5;

// One component of a value: its character set, its length (equal bounds for a fixed length),
// whether it may be left out at the end of the value, and its checks (unused slots kNone).
struct Component {
    Cset cset;
    uint8_t minLength;
    uint8_t maxLength;
    bool optional;
    Check checks[kMaxChecks];
};

// A value's components in order; only the last may vary in length.
struct Format {
    uint8_t count;
    Component components[kMaxComponents];
};

// One AI. required: each space-separated requirement must hold; a requirement is a list of
// alternatives separated by ',', an alternative is AIs joined by '+', all of which must be
// present. excluded: AIs separated by ','. In both, 'n' stands for any digit.
struct AiEntry {
    char ai[5];
    uint8_t format;   // index into kFormats
    bool predefined;  // fixed length known from the AI: no separator follows it
    const char* required;
    const char* excluded;
    const char* title;
};

}  // namespace ecc200::gs1

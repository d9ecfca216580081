// Every check GS1's dictionary names, on values that pass and values that fail.
#include <gtest/gtest.h>

#include "gs1/checks.h"

namespace ecc200::gs1 {
namespace {

struct Case {
    Check check;
    const char* value;
    bool passes;
};

const Case kCases[] = {
    {Check::kCsum, "09501101530003", true},
    {Check::kCsum, "09501101530004", false},
    {Check::kCsum, "0950110153007", true},
    {Check::kCsumalpha, "1987654Ad4X4bL5ttr2310c2K", true},
    {Check::kCsumalpha, "1987654Ad4X4bL5ttr2310c2L", false},
    {Check::kCsumalpha, "1987654Ad4X4bL5ttr2310c1K", false},
    {Check::kCsumalpha, "K", false},
    {Check::kGcppos1, "1234ABC", true},
    {Check::kGcppos1, "123ABC", false},
    {Check::kGcppos1, "123", false},
    {Check::kGcppos2, "A1234", true},
    {Check::kGcppos2, "1A234", false},
    {Check::kYymmdd, "250101", true},
    {Check::kYymmdd, "250229", false},
    {Check::kYymmdd, "240229", true},
    {Check::kYymmdd, "000229", true},
    {Check::kYymmdd, "960229", true},
    {Check::kYymmdd, "970229", false},
    {Check::kYymmdd, "251301", false},
    {Check::kYymmdd, "250431", false},
    {Check::kYymmdd, "250100", false},
    {Check::kYymmdd, "250001", false},
    {Check::kYymmd0, "250100", true},
    {Check::kYymmd0, "251300", false},
    {Check::kYymmd0, "250230", false},
    {Check::kYyyymmdd, "20000229", true},
    {Check::kYyyymmdd, "19000229", false},
    {Check::kYyyymmdd, "21000229", false},
    {Check::kYyyymmdd, "20240229", true},
    {Check::kYyyymmd0, "20250200", true},
    {Check::kHh, "23", true},
    {Check::kHh, "24", false},
    {Check::kMi, "59", true},
    {Check::kMi, "60", false},
    {Check::kSs, "00", true},
    {Check::kSs, "61", false},
    {Check::kHhmi, "2359", true},
    {Check::kHhmi, "2400", false},
    {Check::kHhmi, "1260", false},
    {Check::kIso3166, "250", true},
    {Check::kIso3166, "999", false},
    {Check::kIso3166, "001", false},
    {Check::kIso3166999, "999", true},
    {Check::kIso3166999, "998", false},
    {Check::kIso3166alpha2, "DE", true},
    {Check::kIso3166alpha2, "de", false},
    {Check::kIso3166alpha2, "XX", false},
    {Check::kIso4217, "978", true},
    {Check::kIso4217, "000", false},
    {Check::kIso4217, "123", false},
    {Check::kIso5218, "9", true},
    {Check::kIso5218, "3", false},
    {Check::kMediatype, "10", true},
    {Check::kMediatype, "11", false},
    {Check::kPackagetype, "1A", true},
    {Check::kPackagetype, "X20", true},
    {Check::kPackagetype, "ZZZ", false},
    {Check::kImporteridx, "_", true},
    {Check::kImporteridx, "!", false},
    {Check::kYesno, "1", true},
    {Check::kYesno, "2", false},
    {Check::kWinding, "9", true},
    {Check::kWinding, "2", false},
    {Check::kZero, "0", true},
    {Check::kZero, "1", false},
    {Check::kNonzero, "0001", true},
    {Check::kNonzero, "0000", false},
    {Check::kNozeroprefix, "10", true},
    {Check::kNozeroprefix, "0", false},
    {Check::kNozeroprefix, "01", false},
    {Check::kHasnondigit, "12A", true},
    {Check::kHasnondigit, "123", false},
    {Check::kHyphen, "-", true},
    {Check::kHyphen, "+", false},
    {Check::kPieceoftotal, "0102", true},
    {Check::kPieceoftotal, "0202", true},
    {Check::kPieceoftotal, "0201", false},
    {Check::kPieceoftotal, "0000", false},
    {Check::kPieceoftotal, "0001", false},
    {Check::kPieceoftotal, "012", false},
    {Check::kPosinseqslash, "1/2", true},
    {Check::kPosinseqslash, "2/2", true},
    {Check::kPosinseqslash, "3/2", false},
    {Check::kPosinseqslash, "0/2", false},
    {Check::kPosinseqslash, "1/0", false},
    {Check::kPosinseqslash, "12/", false},
    {Check::kPosinseqslash, "1-2", false},
    {Check::kPosinseqslash, "1/2/", false},
    {Check::kPcenc, "A%20B%2f", true},
    {Check::kPcenc, "100%", false},
    {Check::kPcenc, "%2", false},
    {Check::kPcenc, "%G0", false},
    {Check::kIban, "DE89370400440532013000", true},
    {Check::kIban, "GB82WEST12345698765432", true},
    {Check::kIban, "DE89370400440532013001", false},
    {Check::kIban, "XX89370400440532013000", false},
    {Check::kIban, "de89370400440532013000", false},
    {Check::kIban, "GB82west12345698765432", false},
    {Check::kLatitude, "1800000000", true},
    {Check::kLatitude, "1800000001", false},
    {Check::kLongitude, "3600000000", true},
    {Check::kLongitude, "3600000001", false},
    // (8110): prefix 0 (6 digits), offer, save value 1, requirement 1, code, family; then optional
    // fields 1 (second purchase), 3 (expiry), 4 (start), 5, 6, 9.
    {Check::kCouponcode, "012345612345611112123", true},
    {Check::kCouponcode, "0123456123456111121233251231", true},
    {Check::kCouponcode, "01234561234561111212332512314250101", true},
    {Check::kCouponcode, "01234561234561111212342512313250101", false},  // out of order
    {Check::kCouponcode, "01234561234561111212332501014251231", false},  // start after expiry
    {Check::kCouponcode, "0123456123456111121233251301", false},         // bad expiry
    {Check::kCouponcode, "012345612345611112123101121239", true},        // second purchase
    {Check::kCouponcode, "01234561234561111212310112123712345", false},  // prefix VLI 7
    {Check::kCouponcode, "01234561234561111212351123456", false},        // serial cut short
    {Check::kCouponcode, "01234561234561111212350123456", true},
    {Check::kCouponcode, "01234561234561111212391001", true},
    {Check::kCouponcode, "01234561234561111212393001", false},  // save value code 3
    {Check::kCouponcode, "0123456123456111121237", false},      // unknown indicator
    {Check::kCouponcode, "712345612345611112123", false},       // prefix VLI 7
    {Check::kCouponcode, "012345612345601112123", false},       // save value VLI 0
    {Check::kCouponcode, "012345612345611115123", false},       // requirement code 5
    {Check::kCouponcode, "01234561234561111212", false},        // family cut short
    {Check::kCouponcode, "0123456A2345611112123", false},
    {Check::kCouponposoffer, "0112345679999990666666", true},
    {Check::kCouponposoffer, "1012345699999911234567", true},
    {Check::kCouponposoffer, "2112345679999990666666", false},
    {Check::kCouponposoffer, "0712345679999990666666", false},
    {Check::kCouponposoffer, "01123456799999906666667", false},
    {Check::kCouponposoffer, "011234567999999066666", false},
};

TEST(Gs1Checks, PassAndFailAsGs1Defines) {
    for (const Case& c : kCases) {
        const char* rule = FailedCheck(c.check, c.value);
        EXPECT_EQ(rule == nullptr, c.passes)
            << static_cast<int>(c.check) << " " << c.value << " " << (rule ? rule : "");
    }
}

TEST(Gs1Checks, CharacterSets) {
    const struct {
        Cset cset;
        const char* value;
        std::size_t firstBad;
    } cases[] = {
        {Cset::kNumeric, "0123456789", 10},
        {Cset::kNumeric, "12A", 2},
        {Cset::kCset82, "!\"%&'()*+,-./:;<=>?_azAZ09", 26},
        {Cset::kCset82, "AB CD", 2},
        {Cset::kCset82, "A#", 1},
        {Cset::kCset82, "A\xC3\xA9", 1},
        {Cset::kCset39, "#-/AZ09", 7},
        {Cset::kCset39, "Aa", 1},
        {Cset::kCset64, "AB=", 3},
        {Cset::kCset64, "A=B", 1},
        {Cset::kCset64, "AB==", 2},
        {Cset::kCset64, "a-_Z9", 5},
        {Cset::kCset64, "a+", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstOutsideCset(c.cset, c.value), c.firstBad) << c.value;
    }
}

}  // namespace
}  // namespace ecc200::gs1

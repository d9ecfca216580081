// Every check GS1's dictionary names, on values that pass and values that fail.
#include <gtest/gtest.h>

#include <vector>

#include "gs1/checks.h"

namespace ecc200::gs1 {
namespace {

// A check, values it passes and values it fails.
struct Case {
    Check check;
    std::vector<const char*> passing, failing;
};

const Case kCases[] = {
    {Check::kCsum, {"09501101530003", "0950110153007"}, {}},
    {Check::kCsumalpha, {"1987654Ad4X4bL5ttr2310c2K"}, {"1987654Ad4X4bL5ttr2310c2L", "K"}},
    {Check::kGcppos1, {"1234ABC"}, {"123ABC"}},
    {Check::kGcppos2, {"A1234"}, {"1A234"}},
    {Check::kYymmdd, {"240229", "000229"}, {"250229", "970229", "251301", "250431", "250100"}},
    {Check::kYymmd0, {"250100"}, {"250230"}},
    {Check::kYyyymmdd, {"20000229"}, {"19000229", "21000229"}},
    {Check::kYyyymmd0, {"20250200"}, {}},
    {Check::kHh, {"23"}, {"24"}},
    {Check::kMi, {"59"}, {"60"}},
    {Check::kSs, {"00"}, {"61"}},
    {Check::kHhmi, {"2359"}, {"1260"}},
    {Check::kIso3166, {"250"}, {"999"}},
    {Check::kIso3166999, {"999"}, {"998"}},
    {Check::kIso3166alpha2, {"DE"}, {"XX"}},
    {Check::kIso4217, {"978"}, {"123"}},
    {Check::kIso5218, {"9"}, {"3"}},
    {Check::kMediatype, {"10"}, {"11"}},
    {Check::kPackagetype, {"X20"}, {"ZZZ"}},
    {Check::kImporteridx, {"_"}, {"!"}},
    {Check::kYesno, {"1"}, {"2"}},
    {Check::kWinding, {"9"}, {"2"}},
    {Check::kZero, {"0"}, {"1"}},
    {Check::kNonzero, {"0001"}, {"0000"}},
    {Check::kNozeroprefix, {"10"}, {"01"}},
    {Check::kHasnondigit, {"12A"}, {"123"}},
    {Check::kHyphen, {"-"}, {"+"}},
    {Check::kPieceoftotal, {"0102"}, {"0201", "0001"}},
    {Check::kPosinseqslash, {"1/2"}, {"3/2", "1-2"}},
    {Check::kPcenc, {"A%20B%2f"}, {"100%", "%G0"}},
    {Check::kIban,
     {"DE89370400440532013000"},
     {"DE89370400440532013001", "XX89370400440532013000", "GB82west12345698765432"}},
    {Check::kLatitude, {"1800000000"}, {"1800000001"}},
    {Check::kLongitude, {"3600000000"}, {"3600000001"}},
    // (8110): prefix 0 (6 digits), offer, save value 1, requirement 1, code, family; then optional
    // fields 1 (second purchase), 3 (expiry), 4 (start), 5, 6, 9.
    {Check::kCouponcode, {"012345612345611112123"}, {}},
    {Check::kCouponcode, {"01234561234561111212332512314250101"}, {}},
    {Check::kCouponcode, {}, {"01234561234561111212342512313250101"}},  // out of order
    {Check::kCouponcode, {}, {"01234561234561111212332501014251231"}},  // start after expiry
    {Check::kCouponcode, {"012345612345611112123101121239"}, {}},       // second purchase
    {Check::kCouponcode, {}, {"01234561234561111212351123456"}},        // serial cut short
    {Check::kCouponcode, {}, {"01234561234561111212393001"}},           // save value code 3
    {Check::kCouponcode, {}, {"0123456123456111121237"}},               // unknown indicator
    {Check::kCouponcode, {}, {"712345612345611112123"}},                // prefix VLI 7
    {Check::kCouponcode, {}, {"01234561234561111212"}},                 // family cut short
    {Check::kCouponposoffer, {"0112345679999990666666"}, {}},
    {Check::kCouponposoffer, {}, {"2112345679999990666666"}},
    {Check::kCouponposoffer, {}, {"0712345679999990666666"}},
    {Check::kCouponposoffer, {}, {"01123456799999906666667"}},
};

TEST(Gs1Checks, PassAndFailAsGs1Defines) {
    for (const Case& c : kCases) {
        for (const bool passes : {true, false}) {
            for (const char* value : passes ? c.passing : c.failing) {
                const char* rule = FailedCheck(c.check, value);
                EXPECT_EQ(rule == nullptr, passes)
                    << static_cast<int>(c.check) << " " << value << " " << (rule ? rule : "");
            }
        }
    }
}

TEST(Gs1Checks, CharacterSets) {
    const struct {
        Cset cset;
        const char* value;
        std::size_t firstBad;
    } cases[] = {
        {Cset::kNumeric, "12A", 2}, {Cset::kCset82, "!\"%&'()*+,-./:;<=>?_azAZ09", 26},
        {Cset::kCset82, "A#", 1},   {Cset::kCset82, "A\xC3\xA9", 1},
        {Cset::kCset39, "Aa", 1},   {Cset::kCset64, "A=B", 1},
        {Cset::kCset64, "AB==", 2}, {Cset::kCset64, "a-_Z9", 5},
        {Cset::kCset64, "a+", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstOutsideCset(c.cset, c.value), c.firstBad) << c.value;
    }
}

}  // namespace
}  // namespace ecc200::gs1

// The (8110) coupon code and the (8112) positive offer coupon: a reader that walks the digits
// field by field and names the first field that is missing, cut short or out of range.
//
// (8110): company prefix (VLI 0-6, 6+VLI digits), offer code (6), save value (VLI 1-5), primary
// purchase requirement (VLI 1-5), its code (0-4 or 9) and family code (3), then optional fields,
// each once and in ascending order of their indicator: 1 second purchase (rules code 0-3,
// requirement VLI 1-5, code 0-4/9, family 3, company prefix VLI 0-6 or 9 = none), 2 third purchase
// (requirement, code, family, company prefix as in 1), 3 expiration date and 4 start date (YYMMDD,
// the start not after the expiration), 5 serial number (VLI 0-9, 6+VLI digits), 6 retailer (VLI
// 1-7, 6+VLI digits), 9 miscellaneous (save value code 0/1/2/5/6, applies-to item 0-2, store
// coupon flag, don't-multiply flag 0-1).
// (8112): format code 0-1, funder (VLI 0-6, 6+VLI digits), offer code (6), serial number (VLI 0-9,
// 6+VLI digits), nothing after.
#include "gs1/coupon.h"

#include "gs1/checks.h"
#include "gs1/text_rules.h"

namespace ecc200::gs1 {
namespace {

class CouponReader {
  public:
    explicit CouponReader(std::string_view text) : rest_(text) {}

    bool AtEnd() const { return rest_.empty() || failure_ != nullptr; }
    const char* failure() const { return failure_; }

    // One digit that must be one of allowed.
    int Digit(std::string_view allowed, const char* missing, const char* invalid) {
        if (failure_ != nullptr) return 0;
        if (rest_.empty()) return Fail(missing);
        const char c = rest_[0];
        if (allowed.find(c) == std::string_view::npos) return Fail(invalid);
        rest_.remove_prefix(1);
        return c - '0';
    }

    // count digits.
    std::string_view Digits(int count, const char* truncated) {
        if (failure_ != nullptr) return {};
        if (rest_.size() < static_cast<std::size_t>(count)) {
            Fail(truncated);
            return {};
        }
        const std::string_view field = Slice(rest_, 0, static_cast<std::size_t>(count));
        rest_.remove_prefix(static_cast<std::size_t>(count));
        return field;
    }

    // A length digit from allowed, then that many digits plus extra.
    void VariableField(std::string_view allowed, int extra, const char* name) {
        const int vli = Digit(allowed, name, name);
        Digits(vli + extra, name);
    }

    int Fail(const char* failure) {
        if (failure_ == nullptr) failure_ = failure;
        return 0;
    }

  private:
    std::string_view rest_;
    const char* failure_ = nullptr;
};

constexpr std::string_view kRequirementCodes = "012349";
constexpr std::string_view kAnyDigit = "0123456789";

void PurchaseRequirement(CouponReader& r, const char* name) {
    r.VariableField("12345", 0, name);
    r.Digit(kRequirementCodes, name, "coupon purchase requirement code must be 0-4 or 9");
    r.Digits(3, "coupon purchase family code cut short");
}

void AdditionalCompanyPrefix(CouponReader& r) {
    const int vli = r.Digit("01234569", "coupon purchase company prefix missing",
                            "coupon purchase company prefix length must be 0-6 or 9");
    if (vli != 9) r.Digits(vli + 6, "coupon purchase company prefix cut short");
}

// The optional field of indicator; expiration and start dates are kept for their comparison.
void OptionalField(CouponReader& r, int indicator, std::string_view& expiration,
                   std::string_view& start) {
    switch (indicator) {
        case 1:
            r.Digit("0123", "coupon additional purchase rules code missing",
                    "coupon additional purchase rules code must be 0-3");
            PurchaseRequirement(r, "coupon second purchase requirement invalid");
            AdditionalCompanyPrefix(r);
            return;
        case 2:
            PurchaseRequirement(r, "coupon third purchase requirement invalid");
            AdditionalCompanyPrefix(r);
            return;
        case 3:
            expiration = r.Digits(6, "coupon expiration date cut short");
            if (!expiration.empty() && FailedCheck(Check::kYymmdd, expiration) != nullptr) {
                r.Fail("coupon expiration date invalid");
            }
            return;
        case 4:
            start = r.Digits(6, "coupon start date cut short");
            if (!start.empty() && FailedCheck(Check::kYymmdd, start) != nullptr) {
                r.Fail("coupon start date invalid");
            }
            return;
        case 5:
            r.VariableField(kAnyDigit, 6, "coupon serial number missing or cut short");
            return;
        case 6:
            r.VariableField("1234567", 6, "coupon retailer company prefix or GLN invalid");
            return;
        case 9:
            r.Digit("01256", "coupon save value code missing", "coupon save value code invalid");
            r.Digit("012", "coupon save value applies-to missing",
                    "coupon save value applies-to must be 0-2");
            r.Digit(kAnyDigit, "coupon store coupon flag missing", "");
            r.Digit("01", "coupon don't-multiply flag missing",
                    "coupon don't-multiply flag must be 0 or 1");
            return;
        default:
            r.Fail("unknown coupon optional field indicator");
    }
}

}  // namespace

const char* FailedCouponCode(std::string_view text) {
    if (!AllDigits(text)) return "coupon code must be digits only";
    CouponReader r(text);
    r.VariableField("0123456", 6, "coupon company prefix invalid or cut short");
    r.Digits(6, "coupon offer code cut short");
    r.VariableField("12345", 0, "coupon save value invalid or cut short");
    PurchaseRequirement(r, "coupon primary purchase requirement invalid or cut short");
    std::string_view expiration;
    std::string_view start;
    int last = 0;
    while (!r.AtEnd()) {
        const int indicator = r.Digit(kAnyDigit, "", "");
        if (indicator <= last)
            return "coupon optional fields must be in ascending order, once each";
        last = indicator;
        OptionalField(r, indicator, expiration, start);
    }
    if (r.failure() != nullptr) return r.failure();
    if (!expiration.empty() && !start.empty() && start > expiration) {
        return "coupon start date after its expiration date";
    }
    return nullptr;
}

const char* FailedCouponPositiveOffer(std::string_view text) {
    if (!AllDigits(text)) return "coupon code must be digits only";
    CouponReader r(text);
    r.Digit("01", "coupon format code missing", "coupon format code must be 0 or 1");
    r.VariableField("0123456", 6, "coupon funder ID invalid or cut short");
    r.Digits(6, "coupon offer code cut short");
    r.VariableField(kAnyDigit, 6, "coupon serial number invalid or cut short");
    if (r.failure() != nullptr) return r.failure();
    if (!r.AtEnd()) return "coupon code has data after its serial number";
    return nullptr;
}

}  // namespace ecc200::gs1

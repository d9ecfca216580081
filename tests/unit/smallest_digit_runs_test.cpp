// The smallest encodation's shortcut through long digit runs (whole periods of the run skipped
// at once) gives the same needed capacity as searching every digit: twelve digits more in the
// middle of a long run cost exactly six codewords more (six digit pairs), wherever the run stands
// and whatever surrounds it, for every run length from below the first skip on.
#include <gtest/gtest.h>

#include <string>

#include "encodation/smallest.h"

namespace ecc200 {
namespace {

int32_t Needed(const std::string& data) {
    return SmallestNeededCapacity(reinterpret_cast<const uint8_t*>(data.data()),
                                  static_cast<int32_t>(data.size()), false, 0);
}

TEST(SmallestDigitRuns, TwelveDigitsMoreCostSixCodewords) {
    const std::string neighbours[] = {"", "A", "a", "*", "!", "\xE9", "AB", "ab", "\xE9\xE9"};
    for (const std::string& head : neighbours) {
        for (const std::string& tail : neighbours) {
            for (std::size_t digits = 6; digits < 64; ++digits) {
                const std::string run(digits, '7');
                const std::string longer(digits + 12, '7');
                EXPECT_EQ(Needed(head + longer + tail), Needed(head + run + tail) + 6)
                    << "'" << head << "' + " << digits << " digits + '" << tail << "'";
                EXPECT_EQ(Needed(head + longer + tail + run + head),
                          Needed(head + run + tail + run + head) + 6)
                    << "two runs of " << digits << " between '" << head << "' and '" << tail << "'";
            }
        }
    }
}

}  // namespace
}  // namespace ecc200

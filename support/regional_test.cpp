#include "support/regional.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "support/services.h"

namespace lumaro {
namespace {

const Regional kGerman{',', '.'};
const Regional kEnglish{'.', ','};

TEST(FormatAmount, ShowsTwoDecimalsRoundedHalfAwayFromZeroOverTheWholeRange) {
    EXPECT_EQ(formatAmount(12345000, kGerman), "1234,50");  // no grouping
    EXPECT_EQ(formatAmount(49, kGerman), "0,00");
    EXPECT_EQ(formatAmount(150, kGerman), "0,02");
    EXPECT_EQ(formatAmount(250, kGerman), "0,03");  // not to the even neighbour
    EXPECT_EQ(formatAmount(9950, kGerman), "1,00");
    EXPECT_EQ(formatAmount(-250, kGerman), "-0,03");
    EXPECT_EQ(formatAmount(12345000, kEnglish), "1234.50");
    EXPECT_EQ(formatAmount(std::numeric_limits<std::int64_t>::max(), kGerman),
              "922337203685477,58");
    EXPECT_EQ(formatAmount(std::numeric_limits<std::int64_t>::min(), kGerman),
              "-922337203685477,58");
}

TEST(FormatShortest, WritesTheDecimalValueWithNoMoreDigitsThanItNeeds) {
    EXPECT_EQ(formatShortest(7, kGerman), "7");
    EXPECT_EQ(formatShortest(-13.75, kGerman), "-13,75");
    EXPECT_EQ(formatShortest(-0.0, kGerman), "0");
    EXPECT_EQ(formatShortest(2.5, kEnglish), "2.5");
    EXPECT_EQ(formatShortest(12.3 + 4.5, kGerman), "16,8");  // binary noise
    EXPECT_EQ(formatShortest(0.1 + 0.2, kGerman), "0,3");
    EXPECT_EQ(formatShortest(1.0 / 3.0, kGerman), "0,333333333333333");
    // only extreme values use an exponent
    EXPECT_EQ(formatShortest(123456789012345.0, kGerman), "123456789012345");
    EXPECT_EQ(formatShortest(1e15, kGerman), "1E+15");
    EXPECT_EQ(formatShortest(0.0001, kGerman), "0,0001");
    EXPECT_EQ(formatShortest(1.5e-7, kGerman), "1,5E-07");
}

}  // namespace
}  // namespace lumaro

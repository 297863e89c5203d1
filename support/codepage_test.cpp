#include "support/codepage.h"

#include <gtest/gtest.h>

namespace lumaro {
namespace {

TEST(Codepage, EveryByteSurvivesTheRoundTripAndWhatTheCodePageLacksBecomesAQuestionMark) {
    EXPECT_EQ(fromUtf8("für €"), std::string("f\xFCr \x80"));
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(fromUtf8(toUtf8(all)), all);
    EXPECT_EQ(fromUtf8("α"), "?");
    EXPECT_EQ(fromUtf8("a\xC3"), "a?");  // cut-off sequence
    EXPECT_EQ(fromUtf8("\xFF"
                       "b"),
              "?b");                        // no UTF-8 lead byte
    EXPECT_EQ(fromUtf8("\xC3\x28"), "?(");  // bad continuation byte
}

}  // namespace
}  // namespace lumaro

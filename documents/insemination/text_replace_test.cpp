#include "documents/insemination/text_replace.h"

#include <gtest/gtest.h>

#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

TEST(ReplaceAllTest, ReplacesEveryOccurrenceWithoutRescanningReplacedText) {
    EXPECT_EQ(replaceAll("<a></a>-<a></a>", "<a></a>", "<a>1</a>", 100), "<a>1</a>-<a>1</a>");
    EXPECT_EQ(replaceAll("aaa", "aa", "b", 100), "ba");
    EXPECT_EQ(replaceAll("xx", "x", "xx", 100), "xxxx");
    EXPECT_EQ(replaceAll("abc", "d", "e", 100), "abc");
    EXPECT_EQ(replaceAll("abc", "b", "", 100), "ac");
}

TEST(ReplaceAllTest, AResultBeyondTheLimitIsRefusedBeforeItIsBuilt) {
    EXPECT_EQ(replaceAll("ab", "b", "cd", 3), "acd");
    EXPECT_EQ(testing::errorOf([] { replaceAll("abb", "b", "cd", 4); }), 7);
}

}  // namespace
}  // namespace lumaro

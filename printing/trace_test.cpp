#include "printing/trace.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

TEST(JsonText, EscapesControlsAndRoundsNumbersToFourDecimals) {
    EXPECT_EQ(jsonString("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(jsonString(std::string("x\r\n\t\x01\x1f\x7f", 7)),
              R"("x\u000d\u000a\u0009\u0001\u001f\u007f")");

    EXPECT_EQ(jsonNumber(-2.0 / 3.0), "-0.6667");
    EXPECT_EQ(jsonNumber(-0.00001), "0");
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL})
        EXPECT_EQ(jsonNumber(bad), "0") << bad;
    EXPECT_EQ(jsonNumber(1e300), "1e+300");  // huge but finite: still a JSON number
}

TEST(TraceWriter, AFileThatCannotBeMadeDropsEvents) {
    testing::TempFolder folder;
    TraceWriter unwritable(folder.file("fehlt") + "/trace.jsonl");
    EXPECT_FALSE(unwritable.isOpen());
    unwritable.newPage(1, 2);
}

}  // namespace
}  // namespace lumaro

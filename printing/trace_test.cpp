#include "printing/trace.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/codepage.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::w;

TEST(JsonText, EscapesControlsAndRoundsNumbersToFourDecimals) {
    EXPECT_EQ(jsonString("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(jsonString(std::string("x\r\n\t\x01\x1f\x7f", 7)),
              R"("x\u000d\u000a\u0009\u0001\u001f\u007f")");
    // Every other character of the code page passes as its UTF-8 bytes.
    EXPECT_EQ(jsonString(toUtf8(w("äöü€„“"))), "\"" + std::string("äöü€„“") + "\"");

    EXPECT_EQ(jsonNumber(210), "210");
    EXPECT_EQ(jsonNumber(12.5), "12.5");
    EXPECT_EQ(jsonNumber(-2.0 / 3.0), "-0.6667");
    EXPECT_EQ(jsonNumber(-0.00001), "0");
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL})
        EXPECT_EQ(jsonNumber(bad), "0") << bad;
    EXPECT_EQ(jsonNumber(1e300), "1e+300");  // huge but finite: still a JSON number
}

TEST(TraceWriter, WritesEachEventAsOneFlushedLine) {
    testing::TempFolder folder;
    folder.write("trace.jsonl", "old content that must go\n");
    TraceWriter trace(folder.file("trace.jsonl"));
    ASSERT_TRUE(trace.isOpen());
    trace.message(w("Datei fehlt!"), w("Im Ordner\r\nä"), MessageIcon::Stop);
    trace.box(3, 2, 1, 2, 3, 4.25, true, 255);
    trace.text(1, 1, 20, 30, 12.34567, 4, w("Grüße"), FontState{"Veranda", 10, true, false, true},
               0xFF);

    // Read while the writer is still open: a run that dies keeps its lines.
    EXPECT_EQ(*folder.read("trace.jsonl"),
              R"({"ev":"message","title":"Datei fehlt!","text":"Im Ordner\u000d\u000aä",)"
              R"("icon":"stop"})"
              "\n"
              R"({"ev":"box","job":3,"page":2,"x1":1,"y1":2,"x2":3,"y2":4.25,"filled":true,)"
              R"("color":255})"
              "\n"
              R"({"ev":"text","job":1,"page":1,"x":20,"y":30,"w":12.3457,"h":4,"text":"Grüße",)"
              R"("font":"Veranda","size":10,"bold":true,"italic":false,"underline":true,)"
              R"("color":255})"
              "\n");
}

TEST(TraceWriter, WithoutAFileDropsEvents) {
    TraceWriter none;
    EXPECT_FALSE(none.isOpen());
    none.endDoc(1, 1);  // must simply do nothing

    testing::TempFolder folder;
    TraceWriter unwritable(folder.file("fehlt") + "/trace.jsonl");
    EXPECT_FALSE(unwritable.isOpen());
    unwritable.newPage(1, 2);
}

}  // namespace
}  // namespace lumaro

#include "printing/drawing.h"

#include <gtest/gtest.h>

#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::DrawCall;
using testing::TestWorld;
using testing::w;

constexpr double kTolerance = 0.01;

// TextDrucken with the arguments most tests leave at their usual values.
// The fake surface makes a character size/10 wide and a line size*0.4 high.
struct TextCall {
    double x = 50, y = 100;
    std::string text;
    std::int16_t align = 0, size = 10, bold = kFalse, italic = kFalse;
    double maxWidth = 0;
    std::int32_t color = 0;
    std::int16_t lines = 0, underline = kFalse, measureOnly = kFalse;
    double spacing = 0;

    double run(Context& c) const {
        return TextDrucken(c, x, y, text, align, size, bold, italic, maxWidth, color, lines,
                           underline, measureOnly, spacing);
    }
};

class TextDruckenTest : public ::testing::Test {
  protected:
    TestWorld world;
    Context& c = world.context;
    testing::FakeSurface& surface = world.surface;

    std::vector<DrawCall> texts() const { return surface.texts(); }
    std::vector<std::string> printed() const {
        std::vector<std::string> out;
        for (const auto& t : surface.texts())
            out.push_back(t.text);
        return out;
    }
};

TEST_F(TextDruckenTest, AlignmentCodesPlaceTheFirstLine) {
    c.bounds.intLinkerRand = 20;
    c.bounds.intRechterRand = 190;
    struct Case {
        std::int16_t code;
        double expectedX;
    };
    // "abcd" is 4 units wide; code 21 centres in the box 50 .. 80; 3 is unknown.
    for (const Case k :
         {Case{0, 50}, Case{1, 46}, Case{-1, 46}, Case{2, 103}, Case{21, 63}, Case{3, 50}}) {
        surface.calls.clear();
        TextCall t;
        t.text = "abcd";
        t.align = k.code;
        t.maxWidth = 30;
        EXPECT_NEAR(t.run(c), 4.0, kTolerance) << k.code;
        ASSERT_EQ(texts().size(), 1u) << k.code;
        EXPECT_NEAR(texts()[0].x, k.expectedX, kTolerance) << k.code;
        EXPECT_NEAR(texts()[0].y, 100, kTolerance) << k.code;
    }
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              w("ungültiger Wert in FunktionenDrucker.General.TextDrucken: 3"));
    EXPECT_EQ(world.messages.shown[0].title, "Fehler");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Stop);
}

TEST_F(TextDruckenTest, StyleFlagsCountOnlyWhenTrueAndColourBelowOneIsBlack) {
    TextCall t;
    t.text = "Text";
    t.size = 12;
    t.bold = kTrue;
    t.italic = 1;
    t.underline = kTrue;
    t.color = -1;
    surface.setForeColor(0x123456);
    t.run(c);
    t.color = 0xC0C0C0;
    t.size = 0;  // keeps the size
    t.run(c);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[0].size, 12);
    EXPECT_TRUE(texts()[0].bold);
    EXPECT_FALSE(texts()[0].italic);
    EXPECT_TRUE(texts()[0].underline);
    EXPECT_EQ(texts()[0].color, 0);
    EXPECT_EQ(texts()[1].color, 0xC0C0C0);
    EXPECT_EQ(texts()[1].size, 12);
}

TEST_F(TextDruckenTest, BlankTextChangesNothing) {
    surface.setCurrentX(7);
    surface.setFontSize(11);
    surface.setForeColor(255);
    TextCall t;
    t.text = "   ";
    t.size = 20;
    EXPECT_EQ(t.run(c), 0);
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_EQ(surface.currentX(), 7);
    EXPECT_EQ(surface.fontSize(), 11);
    EXPECT_EQ(surface.foreColor(), 255);
}

TEST_F(TextDruckenTest, SingleLineIsCutWithDotsButPlacedByItsUncutWidth) {
    TextCall t;
    t.text = "abcdefghij";  // 10 units
    t.align = 1;
    t.x = 100;
    for (const double width : {7.5, 6.0, 10.0}) {
        t.maxWidth = width;
        t.run(c);
    }
    // "abc..." of exactly 6 fits; a text of exactly its width is not cut.
    EXPECT_EQ(printed(), (std::vector<std::string>{"abcd...", "abc...", "abcdefghij"}));
    EXPECT_NEAR(texts()[0].x, 90, kTolerance);
    EXPECT_NEAR(texts()[0].x2, 97, kTolerance);  // ends left of x
    t.maxWidth = 2.5;                            // not even "..." fits
    EXPECT_EQ(t.run(c), 0);
    EXPECT_EQ(texts().size(), 3u);
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(TextDruckenTest, WrapsAtTheLastBlankThatIsBelowTheWidth) {
    TextCall t;
    t.text = "aaa bbb ccc";  // "aaa bbb " is 8 units
    t.lines = -1;
    t.maxWidth = 8.5;
    EXPECT_NEAR(t.run(c), 8.0, kTolerance);  // 2 lines of pitch 4
    EXPECT_EQ(printed(), (std::vector<std::string>{"aaa bbb ", "ccc"}));
    EXPECT_NEAR(texts()[0].y, 100, kTolerance);
    EXPECT_NEAR(texts()[1].x, 50, kTolerance);
    EXPECT_NEAR(texts()[1].y, 104, kTolerance);

    surface.calls.clear();
    t.maxWidth = 8;  // exactly 8 is not below 8
    t.run(c);
    t.text = "aaaaa bb";  // nor is a whole text of exactly the width
    t.run(c);
    EXPECT_EQ(printed(), (std::vector<std::string>{"aaa ", "bbb ccc", "aaaaa ", "bb"}));
}

TEST_F(TextDruckenTest, LineSpacingAndLaterLinesAtX) {
    TextCall t;
    t.text = "aaa bbb ccc";
    t.maxWidth = 8.5;
    t.lines = -1;
    t.spacing = 0.5;
    t.align = 1;
    t.x = 100;
    EXPECT_NEAR(t.run(c), 10.0, kTolerance);  // pitch 4 + 2 * 0.5
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_NEAR(texts()[0].x, 89, kTolerance);  // by the width of the whole text
    EXPECT_NEAR(texts()[1].x, 100, kTolerance);
    EXPECT_NEAR(texts()[1].y, 105, kTolerance);
    t.maxWidth = 0;
    t.lines = 0;
    EXPECT_NEAR(t.run(c), 4.5, kTolerance);  // one line: the spacing once
}

TEST_F(TextDruckenTest, ShrinksUntilTheTextFitsTheLines) {
    // 3 lines at 10 and at 9 points, 2 lines at 8 points.
    TextCall t;
    t.text = "aaaa bbbb cccc";
    t.maxWidth = 8.05;
    t.lines = 2;
    EXPECT_NEAR(t.run(c), 2 * 3.2, kTolerance);
    EXPECT_EQ(printed(), (std::vector<std::string>{"aaaa bbbb ", "cccc"}));
    EXPECT_EQ(texts()[0].size, 8);
    EXPECT_NEAR(texts()[1].y, 103.2, kTolerance);
}

TEST_F(TextDruckenTest, ShrinkingStopsAtFourPointsAndLosesNothing) {
    TextCall t;
    for (int i = 0; i < 12; ++i)
        t.text += "Wort" + std::to_string(i) + " ";
    t.text += "Ende";
    t.maxWidth = 7;  // every word fits at 9 points; 17 characters a line at 4 points
    t.lines = 2;
    t.size = 9;
    const double height = t.run(c);
    ASSERT_GT(texts().size(), 2u);
    std::string joined;
    for (const auto& line : texts()) {
        EXPECT_EQ(line.size, 4);
        joined += line.text;
    }
    EXPECT_EQ(joined, t.text);
    EXPECT_NEAR(height, 1.6 * static_cast<double>(texts().size()), kTolerance);
}

TEST_F(TextDruckenTest, WrapWithoutWidth) {
    // With the fitting it cannot fit into no width: nothing, not even the message.
    TextCall t;
    t.text = "aaa bbb ccc";
    t.lines = 2;
    EXPECT_EQ(t.run(c), 0);
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_TRUE(world.messages.shown.empty());
    // Without it: the message, then one line.
    t.size = 0;
    EXPECT_NEAR(t.run(c), 4.0, kTolerance);
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              "Im Modul 'TextDrucken' fehlt die Breite des Textes. Bitte informieren Sie den "
              "Programmierer!");
    EXPECT_EQ(world.messages.shown[0].title, w("Funktion nicht vollständig"));
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(printed(), (std::vector<std::string>{"aaa bbb ccc"}));
}

TEST_F(TextDruckenTest, FaultsStopQuietlyAndKeepWhatWasPrinted) {
    TextCall t;
    t.text = "aa bb cccccccccccc dd";
    t.maxWidth = 6.5;
    t.lines = 1;
    t.size = 0;  // no fitting, so the word too wide shows only while printing
    surface.setFontSize(10);
    EXPECT_EQ(t.run(c), 0);
    EXPECT_EQ(printed(), (std::vector<std::string>{"aa bb "}));

    surface.calls.clear();
    surface.minFontSize = 6;  // the device refuses the size the fitting asks for
    t.text = "aaaa bbbb cccc dddd";
    t.maxWidth = 5.5;
    t.size = 9;
    EXPECT_EQ(t.run(c), 0);
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(TextDruckenTest, MeasuringLeavesThePositionPrintingWould) {
    for (const std::int16_t lines : {std::int16_t{0}, std::int16_t{3}}) {
        TextCall t;
        t.text = "aaa bbb ccc ddd";
        t.maxWidth = lines ? 8.5 : 9;  // wrapped, or cut with "..."
        t.lines = lines;
        t.align = 21;
        t.measureOnly = kTrue;
        const double measured = t.run(c);
        const double x = surface.currentX(), y = surface.currentY();
        EXPECT_TRUE(surface.calls.empty());
        t.measureOnly = kFalse;
        EXPECT_NEAR(t.run(c), measured, kTolerance);
        EXPECT_FALSE(surface.calls.empty());
        EXPECT_NEAR(surface.currentX(), x, kTolerance) << lines;
        EXPECT_NEAR(surface.currentY(), y, kTolerance) << lines;
        surface.calls.clear();
    }
}

TEST_F(TextDruckenTest, OnlyTheFirstThousandCharactersArePrinted) {
    TextCall t;
    t.text = std::string(1500, 'x');
    t.run(c);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text.size(), 1000u);
}

TEST(TextBreite, MeasuresInTheGivenFontAndLeavesItSet) {
    TestWorld world;
    const double at8 = TextBreite(world.context, "Menge", 8, 1, 0);
    EXPECT_TRUE(world.surface.fontBold());  // any value but 0 is on here
    const double at10 = TextBreite(world.context, "Menge", 10, kFalse, kTrue);
    EXPECT_NEAR(at8, 4.0, kTolerance);
    EXPECT_NEAR(at10 / at8, 10.0 / 8.0, 1e-9);
    EXPECT_EQ(world.surface.fontSize(), 10);
    EXPECT_FALSE(world.surface.fontBold());
    EXPECT_TRUE(world.surface.fontItalic());
}

}  // namespace
}  // namespace lumaro

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
};

TEST_F(TextDruckenTest, AlignmentCodesPlaceTheFirstLine) {
    world.context.bounds.intLinkerRand = 20;
    world.context.bounds.intRechterRand = 190;
    struct Case {
        std::int16_t code;
        double expectedX;
    };
    // "abcd" at 10 points is 4 units wide.
    for (const Case k : {Case{0, 50}, Case{1, 46}, Case{-1, 46}, Case{2, 103}, Case{21, 63}}) {
        surface.calls.clear();
        TextCall t;
        t.text = "abcd";
        t.align = k.code;
        t.maxWidth = 30;  // the box of code 21: 50 .. 80
        EXPECT_NEAR(t.run(c), 4.0, kTolerance) << k.code;
        ASSERT_EQ(texts().size(), 1u) << k.code;
        EXPECT_NEAR(texts()[0].x, k.expectedX, kTolerance) << k.code;
        EXPECT_NEAR(texts()[0].y, 100, kTolerance) << k.code;
    }
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(TextDruckenTest, UnknownAlignmentCodeIsReportedAndPrintedLeft) {
    TextCall t;
    t.text = "abcd";
    t.align = 3;
    EXPECT_NEAR(t.run(c), 4.0, kTolerance);
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              w("ungültiger Wert in FunktionenDrucker.General.TextDrucken: 3"));
    EXPECT_EQ(world.messages.shown[0].title, "Fehler");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Stop);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_NEAR(texts()[0].x, 50, kTolerance);
}

TEST_F(TextDruckenTest, FontColourAndStyleFlags) {
    TextCall t;
    t.text = "Text";
    t.size = 12;
    t.bold = kTrue;
    t.italic = 1;  // only -1 counts as set
    t.underline = kTrue;
    t.color = -1;
    surface.setForeColor(0x123456);
    t.run(c);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].size, 12);
    EXPECT_TRUE(texts()[0].bold);
    EXPECT_FALSE(texts()[0].italic);
    EXPECT_TRUE(texts()[0].underline);
    EXPECT_EQ(texts()[0].color, 0);

    t.color = 0xC0C0C0;
    t.size = 0;  // keeps the size
    t.run(c);
    EXPECT_EQ(texts()[1].color, 0xC0C0C0);
    EXPECT_EQ(texts()[1].size, 12);
}

TEST_F(TextDruckenTest, BlankTextDoesNothing) {
    surface.setCurrentX(7);
    surface.setCurrentY(8);
    surface.setFontSize(11);
    surface.setForeColor(255);
    TextCall t;
    t.text = "   ";
    t.size = 20;
    t.color = 0;
    EXPECT_EQ(t.run(c), 0);
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_EQ(surface.currentX(), 7);
    EXPECT_EQ(surface.currentY(), 8);
    EXPECT_EQ(surface.fontSize(), 11);
    EXPECT_EQ(surface.foreColor(), 255);
}

TEST_F(TextDruckenTest, TooLongSingleLineIsCutWithDots) {
    TextCall t;
    t.text = "abcdefghij";  // 10 units
    t.maxWidth = 7.5;
    EXPECT_NEAR(t.run(c), 4.0, kTolerance);
    t.maxWidth = 6.9;
    t.run(c);
    t.maxWidth = 10;  // exactly as wide as the text: printed whole
    t.run(c);
    t.maxWidth = 6;  // "abc..." is exactly 6: allowed here
    t.run(c);
    ASSERT_EQ(texts().size(), 4u);
    EXPECT_EQ(texts()[0].text, "abcd...");
    EXPECT_EQ(texts()[1].text, "abc...");
    EXPECT_EQ(texts()[2].text, "abcdefghij");
    EXPECT_EQ(texts()[3].text, "abc...");
}

TEST_F(TextDruckenTest, RightAlignedCutTextIsPlacedByItsUncutWidth) {
    TextCall t;
    t.text = "abcdefghij";
    t.align = 1;
    t.x = 100;
    t.maxWidth = 6;
    t.run(c);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_NEAR(texts()[0].x, 90, kTolerance);
    EXPECT_NEAR(texts()[0].x2, 96, kTolerance);  // ends left of x
}

TEST_F(TextDruckenTest, DotsThatDoNotFitAloneStopQuietly) {
    TextCall t;
    t.text = "abcdefghij";
    t.maxWidth = 2.5;
    EXPECT_EQ(t.run(c), 0);
    EXPECT_TRUE(texts().empty());
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(TextDruckenTest, ThreeWordsWrapAfterTheSecond) {
    TextCall t;
    t.text = "aaa bbb ccc";  // 11 units; "aaa bbb " is 8
    t.maxWidth = 8.5;
    t.lines = 1;
    t.size = 0;  // no fitting
    surface.setFontSize(10);
    EXPECT_NEAR(t.run(c), 8.0, kTolerance);  // 2 lines of pitch 4
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[0].text, "aaa bbb ");
    EXPECT_NEAR(texts()[0].x, 50, kTolerance);
    EXPECT_NEAR(texts()[0].y, 100, kTolerance);
    EXPECT_EQ(texts()[1].text, "ccc");
    EXPECT_NEAR(texts()[1].x, 50, kTolerance);
    EXPECT_NEAR(texts()[1].y, 104, kTolerance);
}

TEST_F(TextDruckenTest, ExactWidthDoesNotFitWhenWrapping) {
    TextCall t;
    t.text = "aaa bbb ccc";
    t.maxWidth = 8;  // "aaa bbb " is not below 8
    t.lines = -1;
    EXPECT_NEAR(t.run(c), 8.0, kTolerance);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[0].text, "aaa ");
    EXPECT_EQ(texts()[1].text, "bbb ccc");
    // Nor does a whole text of exactly the width.
    t.text = "aaaaa bb";
    surface.calls.clear();
    EXPECT_NEAR(t.run(c), 8.0, kTolerance);
    EXPECT_EQ(texts().size(), 2u);
}

TEST_F(TextDruckenTest, LineSpacingIsAddedTwiceBetweenLinesAndOnceForOneLine) {
    TextCall t;
    t.text = "aaa bbb ccc";
    t.maxWidth = 8.5;
    t.lines = -1;
    t.spacing = 0.5;
    EXPECT_NEAR(t.run(c), 10.0, kTolerance);  // pitch 4 + 2 * 0.5
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_NEAR(texts()[1].y, 105, kTolerance);
    t.maxWidth = 0;
    t.lines = 0;
    EXPECT_NEAR(t.run(c), 4.5, kTolerance);
}

TEST_F(TextDruckenTest, LaterLinesStartAtXWhateverTheAlignment) {
    TextCall t;
    t.text = "aaa bbb ccc";
    t.maxWidth = 8.5;
    t.lines = -1;
    t.align = 1;
    t.x = 100;
    t.run(c);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_NEAR(texts()[0].x, 89, kTolerance);  // by the width of the whole text
    EXPECT_NEAR(texts()[1].x, 100, kTolerance);
}

TEST_F(TextDruckenTest, ShrinksUntilTheTextFitsTheLines) {
    // 3 lines at 10 and at 9 points, 2 lines at 8 points.
    TextCall t;
    t.text = "aaaa bbbb cccc";
    t.maxWidth = 8.05;
    t.lines = 2;
    t.size = 10;
    EXPECT_NEAR(t.run(c), 2 * 3.2, kTolerance);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[0].text, "aaaa bbbb ");
    EXPECT_EQ(texts()[0].size, 8);
    EXPECT_EQ(texts()[1].text, "cccc");
    EXPECT_NEAR(texts()[1].y, 103.2, kTolerance);
}

TEST_F(TextDruckenTest, ShrinkingStopsAtFourPointsAndLosesNothing) {
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "Wort" + std::to_string(i) + " ";
    TextCall t;
    t.text = text + "Ende";
    t.maxWidth = 7;  // every word fits at 9 points; 17 characters a line at 4 points
    t.lines = 2;
    t.size = 9;
    const double height = t.run(c);
    const auto printed = texts();
    ASSERT_GT(printed.size(), 2u);
    std::string joined;
    for (const auto& line : printed) {
        EXPECT_EQ(line.size, 4);
        joined += line.text;
    }
    EXPECT_EQ(joined, t.text);
    EXPECT_NEAR(height, 1.6 * static_cast<double>(printed.size()), kTolerance);
}

TEST_F(TextDruckenTest, FittingIntoNoWidthStopsBeforeTheMessage) {
    TextCall t;
    t.text = "aaa bbb";
    t.lines = 2;
    EXPECT_EQ(t.run(c), 0);
    EXPECT_TRUE(texts().empty());
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(TextDruckenTest, WrapWithoutWidthIsReportedAndPrintedAsOneLine) {
    TextCall t;
    t.text = "aaa bbb ccc";
    t.lines = 3;
    t.size = 0;
    EXPECT_NEAR(t.run(c), 3.6, kTolerance);  // the fake starts at 9 points
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              "Im Modul 'TextDrucken' fehlt die Breite des Textes. Bitte informieren Sie den "
              "Programmierer!");
    EXPECT_EQ(world.messages.shown[0].title, w("Funktion nicht vollständig"));
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Information);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text, "aaa bbb ccc");
}

TEST_F(TextDruckenTest, WordWiderThanTheWidthStopsAfterThePrintedLines) {
    TextCall t;
    t.text = "aa bb cccccccccccc dd";
    t.maxWidth = 6.5;
    t.lines = 1;
    t.size = 0;  // no fitting, so the fault shows only while printing
    surface.setFontSize(10);
    EXPECT_EQ(t.run(c), 0);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text, "aa bb ");
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(TextDruckenTest, MeasuringLeavesThePositionPrintingWould) {
    for (const std::int16_t lines : {std::int16_t{0}, std::int16_t{3}}) {
        TextCall t;
        t.text = "aaa bbb ccc ddd";
        t.maxWidth = lines ? 8.5 : 9;
        t.lines = lines;
        t.align = 21;
        t.measureOnly = kTrue;
        const double measured = t.run(c);
        const double x = surface.currentX(), y = surface.currentY();
        const double size = surface.fontSize();
        EXPECT_TRUE(surface.calls.empty());
        t.measureOnly = kFalse;
        EXPECT_NEAR(t.run(c), measured, kTolerance);
        EXPECT_FALSE(surface.calls.empty());
        EXPECT_NEAR(surface.currentX(), x, kTolerance) << lines;
        EXPECT_NEAR(surface.currentY(), y, kTolerance) << lines;
        EXPECT_EQ(surface.fontSize(), size);
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

TEST_F(TextDruckenTest, RefusedFontSizeStopsQuietly) {
    surface.minFontSize = 6;
    TextCall t;
    t.text = "aaaa bbbb cccc dddd";
    t.maxWidth = 5.5;
    t.lines = 1;
    t.size = 9;
    EXPECT_EQ(t.run(c), 0);
    EXPECT_TRUE(texts().empty());
}

TEST(TextBreite, MeasuresInTheGivenFontAndLeavesItSet) {
    TestWorld world;
    const double at8 = TextBreite(world.context, "Menge", 8, 1, 0);
    EXPECT_TRUE(world.surface.fontBold());  // any value but 0 is on here
    EXPECT_FALSE(world.surface.fontItalic());
    const double at10 = TextBreite(world.context, "Menge", 10, kFalse, kTrue);
    EXPECT_NEAR(at8, 4.0, kTolerance);
    EXPECT_NEAR(at10 / at8, 10.0 / 8.0, 1e-9);
    EXPECT_EQ(world.surface.fontSize(), 10);
    EXPECT_FALSE(world.surface.fontBold());
    EXPECT_TRUE(world.surface.fontItalic());
}

}  // namespace
}  // namespace lumaro

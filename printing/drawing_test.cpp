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
    std::string text{};
    std::int16_t align = 0, size = 10, bold = kFalse, italic = kFalse;
    double maxWidth = 0;
    std::int32_t color = 0;
    std::int16_t lines = 0, underline = kFalse, measureOnly = kFalse;
    double spacing = 0;

    double run(Context& c) const {
        return TextDrucken(c, {.x = x,
                               .y = y,
                               .text = text,
                               .align = align,
                               .size = size,
                               .bold = bold,
                               .italic = italic,
                               .underline = underline,
                               .maxWidth = maxWidth,
                               .color = color,
                               .lines = lines,
                               .measureOnly = measureOnly,
                               .lineSpacing = spacing});
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
        EXPECT_NEAR((TextCall{.text = "abcd", .align = k.code, .maxWidth = 30}.run(c)), 4.0,
                    kTolerance)
            << k.code;
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
    TextCall t{.text = "Text", .size = 12, .bold = kTrue, .italic = 1, .color = -1};
    t.underline = kTrue;
    surface.setForeColor(0x123456);
    t.run(c);
    t.color = 0xC0C0C0;
    t.size = 0;  // keeps the size
    t.run(c);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_TRUE(texts()[0].bold && texts()[0].underline);
    EXPECT_FALSE(texts()[0].italic);
    EXPECT_EQ(texts()[0].color, 0);
    EXPECT_EQ(texts()[1].color, 0xC0C0C0);
    EXPECT_EQ(texts()[1].size, 12);
}

TEST_F(TextDruckenTest, BlankTextChangesNothing) {
    surface.setCurrentX(7);
    surface.setFontSize(11);
    EXPECT_EQ((TextCall{.text = "   ", .size = 20}.run(c)), 0);
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_EQ(surface.currentX(), 7);
    EXPECT_EQ(surface.fontSize(), 11);
}

TEST_F(TextDruckenTest, SingleLineIsCutWithDotsButPlacedByItsUncutWidth) {
    TextCall t{.x = 100, .text = "abcdefghij", .align = 1};  // 10 units
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
    TextCall t{.text = "aaa bbb ccc", .maxWidth = 8.5, .lines = -1};  // "aaa bbb " is 8 units
    EXPECT_NEAR(t.run(c), 8.0, kTolerance);                           // 2 lines of pitch 4
    EXPECT_EQ(printed(), (std::vector<std::string>{"aaa bbb ", "ccc"}));
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
    TextCall t{.x = 100, .text = "aaa bbb ccc", .align = 1, .maxWidth = 8.5, .lines = -1};
    t.spacing = 0.5;
    EXPECT_NEAR(t.run(c), 10.0, kTolerance);  // pitch 4 + 2 * 0.5
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_NEAR(texts()[0].x, 89, kTolerance);  // by the width of the whole text
    EXPECT_NEAR(texts()[1].x, 100, kTolerance);
    EXPECT_NEAR(texts()[1].y, 105, kTolerance);
    t.maxWidth = 0;
    t.lines = 0;
    EXPECT_NEAR(t.run(c), 4.5, kTolerance);  // one line: the spacing once
}

TEST_F(TextDruckenTest, ShrinksUntilTheTextFitsTheLinesButNotBelowFourPoints) {
    // 3 lines at 10 and at 9 points, 2 lines at 8 points.
    EXPECT_NEAR((TextCall{.text = "aaaa bbbb cccc", .maxWidth = 8.05, .lines = 2}.run(c)), 2 * 3.2,
                kTolerance);
    EXPECT_EQ(printed(), (std::vector<std::string>{"aaaa bbbb ", "cccc"}));
    EXPECT_EQ(texts()[0].size, 8);
    EXPECT_NEAR(texts()[1].y, 103.2, kTolerance);

    // Every word fits at 9 points; 17 characters a line at 4 points: nothing is lost.
    surface.calls.clear();
    TextCall t{.size = 9, .maxWidth = 7, .lines = 2};
    for (int i = 0; i < 12; ++i)
        t.text += "Wort" + std::to_string(i) + " ";
    t.text += "Ende";
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
    TextCall t{.text = "aaa bbb ccc", .lines = 2};
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
    // No fitting, so the word too wide shows only while printing.
    surface.setFontSize(10);
    EXPECT_EQ(
        (TextCall{.text = "aa bb cccccccccccc dd", .size = 0, .maxWidth = 6.5, .lines = 1}.run(c)),
        0);
    EXPECT_EQ(printed(), (std::vector<std::string>{"aa bb "}));

    surface.calls.clear();
    surface.fakeDevice().failBelowPoints = 6;  // the device fails at the size the fitting asks for
    EXPECT_EQ(
        (TextCall{.text = "aaaa bbbb cccc dddd", .size = 9, .maxWidth = 5.5, .lines = 1}.run(c)),
        0);
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(TextDruckenTest, MeasuringLeavesThePositionPrintingWould) {
    for (const std::int16_t lines : {std::int16_t{0}, std::int16_t{3}}) {
        // wrapped, or cut with "..."
        TextCall t{.text = "aaa bbb ccc ddd", .align = 21, .maxWidth = lines ? 8.5 : 9};
        t.lines = lines;
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
    TextCall{.text = std::string(1500, 'x')}.run(c);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text.size(), 1000u);
}

}  // namespace
}  // namespace lumaro

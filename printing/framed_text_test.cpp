#include <gtest/gtest.h>

#include "printing/drawing.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::TestWorld;
using testing::w;

constexpr double kTolerance = 0.01;

class FramedTextTest : public ::testing::Test {
  protected:
    TestWorld world;
    testing::FakeSurface& surface = world.surface;

    double frame(const std::string& text, std::int16_t align, double maxWidth, std::int16_t lines,
                 std::int16_t size = 10) {
        return TextInRahmenDrucken(world.context, {.x = 10,
                                                   .y = 20,
                                                   .text = text,
                                                   .align = align,
                                                   .size = size,
                                                   .maxWidth = maxWidth,
                                                   .lines = lines});
    }
};

TEST_F(FramedTextTest, EveryLineIsCentredOnItsOwnWidth) {
    // Lines "aaaaaa " (7), "bb " (3) and "cccccc" (6) in a box 7.5 wide at x 10.
    EXPECT_NEAR(frame("aaaaaa bb cccccc", 21, 7.5, 5), 12.0, kTolerance);
    const auto lines = surface.texts();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].text, "bb ");
    const double expectedX[] = {10.25, 12.25, 10.75};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(lines[i].x, expectedX[i], kTolerance) << i;
        EXPECT_NEAR(lines[i].y, 20 + 4.0 * static_cast<double>(i), kTolerance) << i;
    }
    // Right-aligned, every line ends at x.
    surface.calls.clear();
    frame("aaaaaa bb cccccc", 1, 7.5, 5);
    ASSERT_EQ(surface.texts().size(), 3u);
    for (const auto& line : surface.texts())
        EXPECT_NEAR(line.x2, 10, kTolerance) << line.text;
    // A cut line is centred by its cut width.
    surface.calls.clear();
    EXPECT_NEAR(frame("abcdefghij", 21, 7.5, 0), 4.0, kTolerance);
    ASSERT_EQ(surface.texts().size(), 1u);
    EXPECT_EQ(surface.texts()[0].text, "abcd...");
    EXPECT_NEAR(surface.texts()[0].x, 10 + (7.5 - 7) / 2, kTolerance);
}

TEST_F(FramedTextTest, WordWiderThanTheBoxIsShrunkAndKeepsTheSmallSize) {
    // 21 characters: 10.5 units at 5 points, so only 4 points are narrower than 10.
    EXPECT_NEAR(frame("Donaudampfschifffahrt", 21, 10, 1), 4.0, kTolerance);
    const auto lines = surface.texts();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size, 4);
    EXPECT_NEAR(lines[0].x, 10 + (10 - 8.4) / 2, kTolerance);
    EXPECT_EQ(surface.fontSize(), 4);

    // It stops lowering at 4 points even when the word is still too wide.
    surface.calls.clear();
    frame("Donaudampfschifffahrt", 0, 5, 1);
    ASSERT_EQ(surface.texts().size(), 1u);
    EXPECT_EQ(surface.texts()[0].size, 4);
}

TEST_F(FramedTextTest, UnbreakableRestGetsALineOfItsOwnAndIsCounted) {
    EXPECT_NEAR(frame("ab Donaudampfschifffahrt", 0, 10, 5), 8.0, kTolerance);
    const auto lines = surface.texts();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "ab ");
    EXPECT_EQ(lines[1].text, "Donaudampfschifffahrt");
    EXPECT_NEAR(lines[1].y, 24, kTolerance);
    EXPECT_EQ(lines[1].size, 4);

    // The fitting counts it too: 2 lines down to 5 points, so with 1 line
    // allowed the whole text goes on one line at 4 points (9.6 units).
    surface.calls.clear();
    EXPECT_NEAR(frame("ab Donaudampfschifffahrt", 0, 10, 1), 1.6, kTolerance);
    ASSERT_EQ(surface.texts().size(), 1u);
    EXPECT_EQ(surface.texts()[0].text, "ab Donaudampfschifffahrt");
    EXPECT_EQ(surface.texts()[0].size, 4);

    // Before other words it stops the frame quietly.
    surface.calls.clear();
    EXPECT_EQ(frame("Donaudampfschifffahrt ab", 0, 10, -1), 0);
    EXPECT_TRUE(surface.texts().empty());
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(FramedTextTest, UnknownCodeIsReportedForEveryLine) {
    frame("aaaaaa bb cccccc", 4, 7.5, -1);
    const auto lines = surface.texts();
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& line : lines)
        EXPECT_NEAR(line.x, 10, kTolerance);
    ASSERT_EQ(world.messages.shown.size(), 3u);
    EXPECT_EQ(world.messages.shown[0].text,
              w("ungültiger Wert in FunktionenDrucker.General.TextInRahmenDrucken: 4\r\n\r\n"
                "Bitte informieren Sie den Programmierer!"));
    EXPECT_EQ(world.messages.shown[0].title, "Fehler");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Stop);
}

TEST_F(FramedTextTest, WrapWithoutWidthIsReportedAndPrintedAsOneLine) {
    EXPECT_NEAR(frame("aa bb", 0, 0, -1), 4.0, kTolerance);
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              "Im Modul 'TextInRahmenDrucken' fehlt die Breite des Textes. Bitte informieren "
              "Sie den Programmierer!");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Information);
    ASSERT_EQ(surface.texts().size(), 1u);
    EXPECT_EQ(surface.texts()[0].text, "aa bb");
}

TEST_F(FramedTextTest, LongTextsAreNotCutToAThousandCharacters) {
    frame(std::string(1500, 'x'), 0, 0, 0);
    ASSERT_EQ(surface.texts().size(), 1u);
    EXPECT_EQ(surface.texts()[0].text.size(), 1500u);
    EXPECT_EQ(frame("  ", 0, 0, 0), 0);
    EXPECT_EQ(surface.texts().size(), 1u);
}

}  // namespace
}  // namespace lumaro

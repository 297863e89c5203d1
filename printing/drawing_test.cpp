// TextDrucken and TextInRahmenDrucken in the cases no example's trace
// reaches. On the fake device a character is size/10 units wide and a line
// size * 0.4 high, so every position below is worked out by hand.
#include "printing/drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::w;

// The height, then each text drawn as "text@x,y/size".
std::string drawn(double height, const testing::FakeSurface& s) {
    char out[64];
    std::snprintf(out, sizeof out, "%g", std::round(height * 100) / 100);
    std::string all = out;
    for (const auto& t : s.texts()) {
        std::snprintf(out, sizeof out, "@%g,%g/%g", std::round(t.x * 100) / 100,
                      std::round(t.y * 100) / 100, t.size);
        all += " " + t.text + out;
    }
    return all;
}

TEST(TextDrucken, PlacesCutsWrapsAndShrinksAndReportsBadArguments) {
    const std::string badCode = w("Fehler: ungültiger Wert in FunktionenDrucker.General.");
    const std::string noWidth = w("Funktion nicht vollständig: Im Modul '");
    const std::string noWidthEnd =
        "' fehlt die Breite des Textes. Bitte informieren Sie den Programmierer!";
    struct Case {
        bool framed;
        TextSpec spec;  // at (50, 100), framed at (10, 20), in 10 points
        std::string expected;
        std::string message = {};
        std::size_t messages = 0;
    };
    const std::vector<Case> cases = {
        // Alignment codes; 21 centres in the box, 2 between the page's bounds 20 .. 190.
        {false, {.text = "abcd", .align = -1, .maxWidth = 30}, "4 abcd@46,100/10"},
        {false, {.text = "abcd", .align = 2, .maxWidth = 30}, "4 abcd@103,100/10"},
        {false, {.text = "abcd", .align = 21, .maxWidth = 30}, "4 abcd@63,100/10"},
        {false, {.text = "abcd", .align = 3}, "4 abcd@50,100/10", badCode + "TextDrucken: 3", 1},
        // One line is cut with dots but placed by its uncut width; exactly the width is not cut.
        {false, {.x = 100, .text = "abcdefghij", .align = 1, .maxWidth = 6}, "4 abc...@90,100/10"},
        {false,
         {.x = 100, .text = "abcdefghij", .align = 1, .maxWidth = 10},
         "4 abcdefghij@90,100/10"},
        {false, {.x = 100, .text = "abcdefghij", .align = 1, .maxWidth = 2.5}, "0"},
        {false, {.text = "   ", .size = 20}, "0"},
        // Wrapped at the last blank whose piece is below the width (not equal to it).
        {false,
         {.text = "aaa bbb ccc", .maxWidth = 8, .lines = -1},
         "8 aaa @50,100/10 bbb ccc@50,104/10"},
        {false,
         {.text = "aaaaa bb", .maxWidth = 8, .lines = -1},
         "8 aaaaa @50,100/10 bb@50,104/10"},
        // Aligned by the whole text's width; later lines start at x.
        {false,
         {.x = 100, .text = "aaa bbb ccc", .align = 1, .maxWidth = 8.5, .lines = -1},
         "8 aaa bbb @89,100/10 ccc@100,104/10"},
        // Shrunk until the lines suffice: 3 lines at 10 and 9 points, 2 at 8.
        {false,
         {.text = "aaaa bbbb cccc", .size = 10, .maxWidth = 8.05, .lines = 2},
         "6.4 aaaa bbbb @50,100/8 cccc@50,103.2/8"},
        // Without a width: nothing when it must fit, else one line and the message.
        {false, {.text = "aaa bbb ccc", .size = 10, .lines = 2}, "0"},
        {false,
         {.text = "aaa bbb ccc", .lines = 2},
         "4 aaa bbb ccc@50,100/10",
         noWidth + "TextDrucken" + noWidthEnd,
         1},
        // A word too wide, found while printing: what was printed stays.
        {false,
         {.text = "aa bb cccccccccccc dd", .maxWidth = 6.5, .lines = 1},
         "0 aa bb @50,100/10"},
        // Framed: every line aligned on its own width, a cut line on its cut width.
        {true,
         {.text = "aaaaaa bb cccccc", .align = 21, .maxWidth = 7.5, .lines = 5},
         "12 aaaaaa @10.25,20/10 bb @12.25,24/10 cccccc@10.75,28/10"},
        {true, {.text = "abcdefghij", .align = 21, .maxWidth = 7.5}, "4 abcd...@10.25,20/10"},
        // A word wider than the box shrinks, but not below 4 points.
        {true,
         {.text = "Donaudampfschifffahrt", .align = 21, .size = 10, .maxWidth = 10, .lines = 1},
         "4 Donaudampfschifffahrt@10.8,20/4"},
        // Its unbreakable rest gets a line of its own and is counted by the fitting.
        {true,
         {.text = "ab Donaudampfschifffahrt", .size = 10, .maxWidth = 10, .lines = 5},
         "8 ab @10,20/10 Donaudampfschifffahrt@10,24/4"},
        {true,
         {.text = "ab Donaudampfschifffahrt", .size = 10, .maxWidth = 10, .lines = 1},
         "1.6 ab Donaudampfschifffahrt@10,20/4"},
        {true, {.text = "Donaudampfschifffahrt ab", .size = 10, .maxWidth = 10, .lines = -1}, "0"},
        {true,
         {.text = "aaaaaa bb cccccc", .align = 4, .maxWidth = 7.5, .lines = -1},
         "12 aaaaaa @10,20/10 bb @10,24/10 cccccc@10,28/10",
         badCode + "TextInRahmenDrucken: 4\r\n\r\nBitte informieren Sie den Programmierer!",
         3},
        {true,
         {.text = "aa bb", .lines = -1},
         "4 aa bb@10,20/10",
         noWidth + "TextInRahmenDrucken" + noWidthEnd,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        testing::TestWorld world;
        world.context.bounds.intLinkerRand = 20;
        world.context.bounds.intRechterRand = 190;
        world.surface.setFontSize(10);
        TextSpec spec = c.spec;
        spec.x = spec.x ? spec.x : (c.framed ? 10 : 50);
        spec.y = c.framed ? 20 : 100;
        const double height =
            c.framed ? TextInRahmenDrucken(world.context, spec) : TextDrucken(world.context, spec);
        EXPECT_EQ(drawn(height, world.surface), c.expected);
        ASSERT_EQ(world.messages.shown.size(), c.messages);
        for (const auto& m : world.messages.shown)
            EXPECT_EQ(m.title + ": " + m.text, c.message);
    }
}

TEST(TextDrucken, ShrinkingStopsAtFourPointsAndLosesNoWord) {
    testing::TestWorld world;
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "Wort" + std::to_string(i) + " ";
    text += "Ende";
    const double height =
        TextDrucken(world.context, {.text = text, .size = 9, .maxWidth = 7, .lines = 2});
    const auto lines = world.surface.texts();
    ASSERT_GT(lines.size(), 2u);
    std::string joined;
    for (const auto& line : lines) {
        EXPECT_EQ(line.size, 4);
        joined += line.text;
    }
    EXPECT_EQ(joined, text);
    EXPECT_NEAR(height, 1.6 * static_cast<double>(lines.size()), 0.01);

    // A device failing at the size the fitting asks for stops it quietly.
    testing::TestWorld failing;
    failing.surface.fakeDevice().failBelowPoints = 6;
    EXPECT_EQ(TextDrucken(failing.context,
                          {.text = "aaaa bbbb cccc dddd", .size = 9, .maxWidth = 5.5, .lines = 1}),
              0);
    EXPECT_TRUE(failing.surface.calls.empty());
    EXPECT_TRUE(failing.messages.shown.empty());

    // Only TextDrucken cuts a text to its first 1000 characters.
    world.surface.calls.clear();
    const std::string longText(1500, 'x');
    TextDrucken(world.context, {.text = longText});
    TextInRahmenDrucken(world.context, {.text = longText});
    ASSERT_EQ(world.surface.texts().size(), 2u);
    EXPECT_EQ(world.surface.texts()[0].text.size(), 1000u);
    EXPECT_EQ(world.surface.texts()[1].text.size(), 1500u);
}

}  // namespace
}  // namespace lumaro

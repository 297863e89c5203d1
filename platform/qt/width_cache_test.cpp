#include "platform/qt/width_cache.h"

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/qt_print_surface.h"
#include "support/codepage.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

// The surface test at the end varies font, size, bold, italic and text; here
// the rest of the key: underline, and a name and text that join to the same bytes.
TEST(WidthCache, MeasuresEachFontAndTextOnceAndTellsEveryStyleApart) {
    const std::string arial = "Arial", ari = "Ari";
    WidthCache cache;
    cache.useDevice("Lumaro PDF", false, 1, 1200, 1200);
    auto widthOf = [&](const FontSpec& font, const std::string& text, double width) {
        return cache.advance(font, text, [&] { return width; });
    };
    for (double answer : {0.0, 99.0}) {  // asked again: the first answer, not measured
        EXPECT_EQ(widthOf({arial, 9, false, false, false}, "Menge", answer + 1), 1);
        EXPECT_EQ(widthOf({arial, 9, false, false, true}, "Menge", answer + 2), 2);
        EXPECT_EQ(widthOf({ari, 9, false, false, false}, "alMenge", answer + 3), 3);
    }
}

TEST(WidthCache, ForgetsWidthsWhenTheDeviceChangesButNotForAnIdenticalOne) {
    WidthCache cache;
    const std::string arial = "Arial";
    auto widthOf = [&](double width) {
        return cache.advance(FontSpec{arial, 10, false, false, false}, "x", [&] { return width; });
    };
    cache.useDevice("Lumaro PDF", false, 1, 1200, 1200);
    EXPECT_EQ(widthOf(1), 1);
    cache.useDevice("Lumaro PDF", false, 1, 1200, 1200);  // the next job's device, built alike
    EXPECT_EQ(widthOf(2), 1);
    cache.useDevice("Lumaro PDF", false, 2, 1200, 1200);  // landscape
    EXPECT_EQ(widthOf(3), 3);
    cache.useDevice("Lumaro PDF", true, 2, 1200, 1200);  // a spooler's own device
    EXPECT_EQ(widthOf(4), 4);
    cache.useDevice("Lumaro PDF", true, 2, 600, 1200);
    EXPECT_EQ(widthOf(5), 5);
    cache.useDevice("Lumaro PDF", true, 2, 600, 600);
    EXPECT_EQ(widthOf(6), 6);
    cache.useDevice("Etiketten", true, 2, 600, 600);
    EXPECT_EQ(widthOf(7), 7);
}

TEST(WidthCache, StaysWithinItsBoundAndStillAnswersRight) {
    WidthCache cache(100);
    const std::string arial = "Arial";
    for (int i = 0; i < 1000; ++i) {
        const std::string text = std::to_string(i % 250);
        const double width = cache.advance(FontSpec{arial, 10, false, false, false}, text,
                                           [&] { return static_cast<double>(i % 250); });
        ASSERT_EQ(width, i % 250);
        ASSERT_LE(cache.size(), 100u);
    }
}

// On the real surface, widths measured after others in similar fonts are
// exactly those a fresh surface measures first: the cache never hands back
// another font's or another text's width. Each case differs from the first in
// one thing only, and in a font where that thing changes the width.
TEST(WidthCache, TheSurfaceMeasuresExactlyAsWithoutIt) {
    struct Case {
        const char* font;
        double size;
        bool bold, italic;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"Times New Roman", 11, false, false, "Wartezeiten in Tagen"},
        {"Times New Roman", 11, false, true, "Wartezeiten in Tagen"},
        {"Times New Roman", 11, true, false, "Wartezeiten in Tagen"},
        {"Times New Roman", 11.5, false, false, "Wartezeiten in Tagen"},
        {"Arial", 11, false, false, "Wartezeiten in Tagen"},
        {"Times New Roman", 11, false, false, "Wartezeiten in Tagen "},
        {"Times New Roman", 11, false, false, "Identität:"},
    };
    lumaro::testing::TempFolder folder;
    lumaro::testing::FixedClock clock;
    TraceWriter trace;
    QtPictureLoader pictures;
    auto measure = [&](QtPrintSurface& s, const Case& c) {
        s.setFontName(ansi(c.font));
        s.setFontSize(c.size);
        s.setFontBold(c.bold);
        s.setFontItalic(c.italic);
        return s.textWidth(ansi(c.text));
    };
    auto newSurface = [&] {
        auto s = std::make_unique<QtPrintSurface>(trace, pictures, clock);
        s->usePdfPrinter(QString::fromStdString(folder.file("pdf")));
        s->setScaleMode(6);
        return s;
    };
    std::vector<double> expected;
    for (const Case& c : cases) {
        expected.push_back(measure(*newSurface(), c));
        ASSERT_TRUE(expected.size() == 1 || expected.back() != expected.front()) << c.text;
    }
    const auto warm = newSurface();
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const std::size_t k = round == 0 ? i : cases.size() - 1 - i;
            EXPECT_EQ(measure(*warm, cases[k]), expected[k]) << k;
        }
    }
}

}  // namespace
}  // namespace lumaro::platform

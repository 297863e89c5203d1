#include "printing/width_cache.h"

#include <gtest/gtest.h>

#include <string>

namespace lumaro {
namespace {

// Every part of the key tells fonts apart, also a name and text that join to
// the same bytes.
TEST(WidthCache, MeasuresEachFontAndTextOnceAndTellsEveryStyleApart) {
    WidthCache cache;
    const int device = 0;
    cache.useDevice(&device, 1);
    auto widthOf = [&](const FontState& font, const std::string& text, double width) {
        return cache.advance(font, text, [&] { return width; });
    };
    for (double answer : {0.0, 99.0}) {  // asked again: the first answer, not measured
        EXPECT_EQ(widthOf({"Arial", 9, false, false, false}, "Menge", answer + 1), 1);
        EXPECT_EQ(widthOf({"Arial", 9, false, false, true}, "Menge", answer + 2), 2);
        EXPECT_EQ(widthOf({"Arial", 9, false, true, false}, "Menge", answer + 3), 3);
        EXPECT_EQ(widthOf({"Arial", 9, true, false, false}, "Menge", answer + 4), 4);
        EXPECT_EQ(widthOf({"Arial", 9.5, false, false, false}, "Menge", answer + 5), 5);
        EXPECT_EQ(widthOf({"Ari", 9, false, false, false}, "alMenge", answer + 6), 6);
    }
}

TEST(WidthCache, ForgetsWidthsWhenTheDeviceOrOrientationChanges) {
    WidthCache cache;
    auto widthOf = [&](double width) {
        return cache.advance(FontState{"Arial", 10, false, false, false}, "x",
                             [&] { return width; });
    };
    const int pdf = 0, label = 0;
    cache.useDevice(&pdf, 1);
    EXPECT_EQ(widthOf(1), 1);
    cache.useDevice(&pdf, 1);  // the same device again: widths still hold
    EXPECT_EQ(widthOf(2), 1);
    cache.useDevice(&pdf, 2);
    EXPECT_EQ(widthOf(3), 3);
    cache.useDevice(&label, 2);
    EXPECT_EQ(widthOf(4), 4);
}

TEST(WidthCache, StaysWithinItsBoundAndStillAnswersRight) {
    WidthCache cache(100);
    for (int i = 0; i < 1000; ++i) {
        const std::string text = std::to_string(i % 250);
        const double width = cache.advance(FontState{"Arial", 10, false, false, false}, text,
                                           [&] { return static_cast<double>(i % 250); });
        ASSERT_EQ(width, i % 250);
        ASSERT_LE(cache.size(), 100u);
    }
}

}  // namespace
}  // namespace lumaro

#include "printing/width_cache.h"

#include <gtest/gtest.h>

#include <string>

namespace lumaro {
namespace {

TEST(WidthCache, AnswersEachFontAndTextOnceForItsDeviceAndOrientationWithinItsBound) {
    WidthCache cache;
    const int pdf = 0, label = 0;
    cache.useDevice(&pdf, 1);
    auto widthOf = [&](const FontState& font, const std::string& text, double width) {
        return cache.advance(font, text, [&] { return width; });
    };
    // Every part of the key tells fonts apart, also a name and text that join
    // to the same bytes; asked again, the first answer comes back unmeasured.
    const FontState arial{"Arial", 9, false, false, false};
    for (double answer : {0.0, 99.0}) {
        EXPECT_EQ(widthOf(arial, "Menge", answer + 1), 1);
        EXPECT_EQ(widthOf({"Arial", 9, false, false, true}, "Menge", answer + 2), 2);
        EXPECT_EQ(widthOf({"Arial", 9, false, true, false}, "Menge", answer + 3), 3);
        EXPECT_EQ(widthOf({"Arial", 9, true, false, false}, "Menge", answer + 4), 4);
        EXPECT_EQ(widthOf({"Arial", 9.5, false, false, false}, "Menge", answer + 5), 5);
        EXPECT_EQ(widthOf({"Ari", 9, false, false, false}, "alMenge", answer + 6), 6);
    }
    cache.useDevice(&pdf, 1);  // the same device again: widths still hold
    EXPECT_EQ(widthOf(arial, "Menge", 7), 1);
    cache.useDevice(&pdf, 2);
    EXPECT_EQ(widthOf(arial, "Menge", 8), 8);
    cache.useDevice(&label, 2);
    EXPECT_EQ(widthOf(arial, "Menge", 9), 9);

    WidthCache small(100);
    for (int i = 0; i < 1000; ++i) {
        const double width = i % 250;
        ASSERT_EQ(small.advance(arial, std::to_string(i % 250), [&] { return width; }), width);
        ASSERT_LE(small.size(), 100u);
    }
}

}  // namespace
}  // namespace lumaro

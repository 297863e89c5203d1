#include "printing/width_search.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

// The cuts as the routines describe them: one character at a time.
std::optional<std::size_t> naivePiece(PrintSurface& s, const std::string& rest, double maxWidth) {
    std::string piece = rest;
    for (;;) {
        if (piece.empty())
            return std::nullopt;
        piece.pop_back();
        if (!piece.empty() && piece.back() == ' ' && fitsBelow(s.textWidth(piece), maxWidth))
            return piece.size();
    }
}

std::optional<std::size_t> naiveEllipsis(PrintSurface& s, const std::string& text,
                                         double maxWidth) {
    std::string kept = text;
    while (exceeds(s.textWidth(kept + "..."), maxWidth)) {
        if (kept.empty())
            return std::nullopt;
        kept.pop_back();
    }
    return kept.size();
}

std::string randomText(std::mt19937& random) {
    static const std::string letters = "aeinrstlmWMhcdu.\xE4\xF6\xFC\xDF";
    std::string text;
    if (random() % 5 == 0)
        text += "  ";
    const int words = 1 + static_cast<int>(random() % 40);
    for (int i = 0; i < words; ++i) {
        const int length = 1 + static_cast<int>(random() % (random() % 6 == 0 ? 25 : 9));
        for (int k = 0; k < length; ++k)
            text += letters[random() % letters.size()];
        text += std::string(1 + (random() % 7 == 0 ? random() % 3 : 0), ' ');
    }
    if (random() % 2 == 0)
        text.pop_back();  // most texts end with a word
    return text;
}

TEST(WidthSearch, FastCutsEqualOneCharacterAtATime) {
    std::mt19937 random(5122026);
    testing::ProportionalSurface surface;
    testing::FakeSurface even;  // every character alike: the first guess is nearly exact
    for (int round = 0; round < 4000; ++round) {
        PrintSurface& s = round % 4 == 0 ? static_cast<PrintSurface&>(even) : surface;
        s.setFontSize(4 + static_cast<double>(random() % 9));
        const std::string text = randomText(random);
        const double maxWidth = 0.2 + static_cast<double>(random() % 6000) / 100.0;
        const double width = s.textWidth(text);
        SCOPED_TRACE("text '" + text + "' width " + std::to_string(maxWidth) + " size " +
                     std::to_string(s.fontSize()));
        ASSERT_EQ(wrapPieceLength(s, text, width, maxWidth), naivePiece(s, text, maxWidth));
        ASSERT_EQ(ellipsisKeepLength(s, text, width, maxWidth), naiveEllipsis(s, text, maxWidth));
    }
}

TEST(WidthSearch, WidthsAreComparedInSinglePrecision) {
    EXPECT_FALSE(fitsBelow(0.3 - 1e-12, 0.3));
    EXPECT_FALSE(exceeds(0.1 + 0.2, 0.3));  // 0.30000000000000004 in double
    EXPECT_TRUE(fitsBelow(0.29, 0.3));
    EXPECT_TRUE(exceeds(0.31, 0.3));
}

}  // namespace
}  // namespace lumaro

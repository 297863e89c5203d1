// Sheet set-up, head, foot and sheet change of the two-halves layout, on the
// fake surface (a character is size/10 wide, a line size*0.4 high).
#include "documents/two_halves/half_sheet.h"

#include <gtest/gtest.h>

#include "documents/two_halves/two_halves_test_support.h"

namespace lumaro::testing {
namespace {

struct Segment {
    double x1, x2, y;
};

std::vector<Segment> lines(const std::vector<DrawCall>& calls) {
    std::vector<Segment> out;
    for (const DrawCall& c : ofKind(calls, DrawCall::Line))
        out.push_back({c.x, c.x2, c.y});
    return out;
}

bool hasLine(const std::vector<DrawCall>& calls, double x1, double x2, double y) {
    for (const Segment& s : lines(calls)) {
        if (s.x1 == x1 && s.x2 == x2 && s.y == y)
            return true;
    }
    return false;
}

TEST(HalfSheet, FirstSheetSetsLandscapeBoundsOwnerLinesAndRules) {
    TestWorld t;
    const double head =
        Kopf2xA5Drucken(t.context, "", "Eigentum der Tierarztpraxis", "Dr. Berger, Linz", false);

    EXPECT_EQ(t.surface.orientation(), 2);
    EXPECT_EQ(t.surface.scaleWidth(), 297);
    EXPECT_EQ(t.surface.scaleHeight(), 210);
    const PageBounds& b = t.context.bounds;
    EXPECT_EQ(b.intLinkerRand, 10);
    EXPECT_EQ(b.intRechterRand, 287);
    EXPECT_EQ(b.intObererRand, 30);
    EXPECT_EQ(b.intUntererRand, 200);
    EXPECT_EQ(b.intMitteLinks, 138);
    EXPECT_EQ(b.intMitteRechts, 158);

    // Centred in 158..287, 10 points bold, and nothing of them in the left half.
    const auto owner1 = textsEqual(t.surface.calls, "Eigentum der Tierarztpraxis");
    ASSERT_EQ(owner1.size(), 1u);
    EXPECT_DOUBLE_EQ(owner1[0].x, 158 + (129 - 27 * 1.0) / 2);
    EXPECT_EQ(owner1[0].y, 11);
    EXPECT_TRUE(owner1[0].bold);
    EXPECT_EQ(owner1[0].size, 10);
    const auto owner2 = textsEqual(t.surface.calls, "Dr. Berger, Linz");
    ASSERT_EQ(owner2.size(), 1u);
    EXPECT_DOUBLE_EQ(owner2[0].x, 158 + (129 - 16 * 1.0) / 2);
    EXPECT_EQ(owner2[0].y, 15);

    EXPECT_TRUE(hasLine(t.surface.calls, 10, 138, 30));
    EXPECT_TRUE(hasLine(t.surface.calls, 158, 287, 30));
    // Without templates the content starts below the rules.
    EXPECT_EQ(head, 30);
}

TEST(HalfSheet, MarkerNarrowsTheRightHalfAfterTheOwnerLines) {
    TestWorld t;
    Kopf2xA5Drucken(t.context, "", "Eigentum der Tierarztpraxis", "", true);

    EXPECT_TRUE(hasLine(t.surface.calls, 148, 272, 30));
    EXPECT_FALSE(hasLine(t.surface.calls, 158, 287, 30));
    EXPECT_EQ(t.context.bounds.intMitteRechts, 148);
    EXPECT_EQ(t.context.bounds.intRechterRand, 272);
    // The owner line was centred before the narrowing.
    EXPECT_DOUBLE_EQ(textsEqual(t.surface.calls, "Eigentum der Tierarztpraxis")[0].x,
                     158 + (129 - 27.0) / 2);
}

TEST(HalfSheet, HeadTemplatesPushTheContentDownOnlyBelowTheRules) {
    TestWorld t;
    // A 10-point text is 4 high on the fake surface.
    EXPECT_EQ(Kopf2xA5Drucken(t.context, w(textEntry(40, 12, "Praxis")), "", "", false), 44);
    TestWorld u;
    EXPECT_EQ(Kopf2xA5Drucken(u.context, w(textEntry(12, 12, "Praxis")), "", "", false), 30);
    // A foot entry is not part of the head.
    TestWorld v;
    Kopf2xA5Drucken(v.context, w(textEntry(190, 12, "Fusszeile")), "", "", false);
    EXPECT_TRUE(textsEqual(v.surface.calls, "Fusszeile").empty());
}

TEST(HalfSheet, SheetChangeRestoresTheHalvesAndDrawsTheContinuationHead) {
    TestWorld t;
    Kopf2xA5Drucken(t.context, "", "", "", true);
    // A later sheet must keep whatever orientation the job has.
    t.surface.setOrientation(1);
    t.surface.calls.clear();

    double y = 150;
    EXPECT_EQ(Seitenwechsel2xA5(t.context, 1, "1234567", y), 2);
    EXPECT_EQ(y, 12);
    EXPECT_EQ(t.surface.orientation(), 1);
    ASSERT_FALSE(t.surface.calls.empty());
    EXPECT_EQ(t.surface.calls[0].kind, DrawCall::NewPage);
    EXPECT_EQ(t.context.bounds.intMitteRechts, 158);
    EXPECT_EQ(t.context.bounds.intRechterRand, 287);

    const auto pages = textsEqual(t.surface.calls, "Seite 2");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_DOUBLE_EQ(pages[0].x2, 138);
    EXPECT_DOUBLE_EQ(pages[1].x2, 287);
    EXPECT_EQ(pages[0].y, 7);
    const auto farm = textsEqual(t.surface.calls, "LFBIS: 1234567");
    ASSERT_EQ(farm.size(), 2u);
    EXPECT_DOUBLE_EQ(farm[0].x, 10 + (128 - 14 * 0.8) / 2);
    EXPECT_DOUBLE_EQ(farm[1].x, 158 + (129 - 14 * 0.8) / 2);
    EXPECT_TRUE(hasLine(t.surface.calls, 10, 138, 12));
    EXPECT_TRUE(hasLine(t.surface.calls, 158, 287, 12));
}

TEST(HalfSheet, FootDrawsRulesAtTheBottomAndCaptionsBelow) {
    TestWorld t;
    Kopf2xA5Drucken(t.context, "", "", "", true);
    t.surface.calls.clear();
    Fuss2xA5Drucken(t.context, 3, "99");

    // On the first sheet the narrowed right half holds.
    EXPECT_TRUE(hasLine(t.surface.calls, 10, 138, 200));
    EXPECT_TRUE(hasLine(t.surface.calls, 148, 272, 200));
    const auto pages = textsEqual(t.surface.calls, "Seite 3");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].y, 202);
    EXPECT_DOUBLE_EQ(pages[1].x2, 272);
    EXPECT_EQ(pages[1].size, 8);
    EXPECT_EQ(textsEqual(t.surface.calls, "LFBIS: 99").size(), 2u);
}

}  // namespace
}  // namespace lumaro::testing

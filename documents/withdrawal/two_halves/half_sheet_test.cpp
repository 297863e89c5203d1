// Sheet set-up, head, foot and sheet change of the two-halves layout, on the
// fake surface (a character is size/10 wide, a line size*0.4 high).
#include "documents/withdrawal/two_halves/half_sheet.h"

#include <gtest/gtest.h>

#include "documents/withdrawal/two_halves/two_halves_test_support.h"

namespace lumaro::testing {
namespace {

TEST(HalfSheet, FirstSheetSetsLandscapeBoundsOwnerLinesAndRules) {
    TestWorld t;
    const double head = Kopf2xA5Drucken(t.context, "", "Eigentum der Praxis", "Dr. Berger", false);

    EXPECT_EQ(t.surface.orientation(), 2);
    EXPECT_EQ(t.surface.scaleWidth(), 297);
    const PageBounds& b = t.context.bounds;
    EXPECT_EQ((std::vector<int>{b.intLinkerRand, b.intRechterRand, b.intObererRand,
                                b.intUntererRand, b.intMitteLinks, b.intMitteRechts}),
              (std::vector<int>{10, 287, 30, 200, 138, 158}));
    // Centred in 158..287 (129 wide), 10 points bold, nothing in the left half.
    const auto owner1 = texts(t.surface.calls, "Eigentum der Praxis");
    const auto owner2 = texts(t.surface.calls, "Dr. Berger");
    ASSERT_EQ(owner1.size() + owner2.size(), 2u);
    EXPECT_DOUBLE_EQ(owner1[0].x, 158 + (129 - 19.0) / 2);
    EXPECT_EQ(owner2[0].y, 15);
    EXPECT_TRUE(hasLine(t.surface.calls, 10, 138, 30));
    EXPECT_TRUE(hasLine(t.surface.calls, 158, 287, 30));
    EXPECT_EQ(head, 30);  // without templates the content starts below the rules
}

TEST(HalfSheet, HeadTemplatesPushTheContentDownOnlyBelowTheRules) {
    TestWorld t, u;
    // A 10-point text is 4 high on the fake surface.
    EXPECT_EQ(Kopf2xA5Drucken(t.context, w(textEntry(40, 12, "Praxis")), "", "", false), 44);
    EXPECT_EQ(
        Kopf2xA5Drucken(u.context, w(textEntry(12, 12, "Praxis") + textEntry(190, 12, "Fuss")), "",
                        "", false),
        30);
    EXPECT_TRUE(texts(u.surface.calls, "Fuss").empty());
}

TEST(HalfSheet, FootAndSheetChangeWithTheNarrowRightHalf) {
    TestWorld t;
    Kopf2xA5Drucken(t.context, "", "", "", true);
    t.surface.setOrientation(1);  // a later sheet keeps the job's orientation
    t.surface.calls.clear();
    Fuss2xA5Drucken(t.context, 1, "1234567");
    // The foot of the first sheet keeps its narrow right half.
    EXPECT_TRUE(hasLine(t.surface.calls, 10, 138, 200));
    EXPECT_TRUE(hasLine(t.surface.calls, 148, 272, 200));
    const auto foot = texts(t.surface.calls, "Seite 1");
    ASSERT_EQ(foot.size(), 2u);
    EXPECT_EQ(foot[0].y, 202);
    EXPECT_DOUBLE_EQ(foot[1].x2, 272);

    t.surface.calls.clear();
    double y = 150;
    EXPECT_EQ(Seitenwechsel2xA5(t.context, 1, "1234567", y), 2);
    EXPECT_EQ(y, 12);
    EXPECT_EQ(t.surface.orientation(), 1);
    EXPECT_EQ(t.surface.calls.at(0).kind, DrawCall::NewPage);
    const auto pages = texts(t.surface.calls, "Seite 2");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_DOUBLE_EQ(pages[1].x2, 287) << "the later sheet has the whole right half";
    EXPECT_TRUE(hasLine(t.surface.calls, 10, 138, 12));
    EXPECT_TRUE(hasLine(t.surface.calls, 158, 287, 12));
}

}  // namespace
}  // namespace lumaro::testing

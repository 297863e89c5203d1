#include <gtest/gtest.h>

#include <utility>

#include "printing/drawing.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::DrawCall;
using testing::errorOf;
using testing::TestWorld;

constexpr double kTolerance = 0.01;

std::vector<DrawCall> ofKind(const testing::FakeSurface& s, DrawCall::Kind kind) {
    std::vector<DrawCall> out;
    for (const auto& call : s.calls) {
        if (call.kind == kind)
            out.push_back(call);
    }
    return out;
}

TEST(LinieDrucken, DashesAreOneUnitWithOneUnitGapsAndSolidUnlessTheFlagIsTrue) {
    TestWorld world;
    LinieDrucken(world.context, 10, 20, 50, kTrue);
    const auto dashes = ofKind(world.surface, DrawCall::Line);
    ASSERT_EQ(dashes.size(), 5u);
    for (std::size_t i = 0; i < dashes.size(); ++i) {
        EXPECT_NEAR(dashes[i].x, 10 + 2.0 * static_cast<double>(i), kTolerance);
        EXPECT_NEAR(dashes[i].x2, dashes[i].x + 1, kTolerance);
        EXPECT_NEAR(dashes[i].y, 50, kTolerance);
        EXPECT_NEAR(dashes[i].y2, 50, kTolerance);
    }
    // A short dashed rule still gets its first dash; a flag of 1 draws solid.
    for (const auto& [x2, dashed] : {std::pair{11.0, kTrue}, std::pair{20.0, std::int16_t{1}}}) {
        world.surface.calls.clear();
        LinieDrucken(world.context, 10, x2, 50, dashed);
        const auto lines = ofKind(world.surface, DrawCall::Line);
        ASSERT_EQ(lines.size(), 1u) << dashed;
        EXPECT_NEAR(lines[0].x, 10, kTolerance);
        EXPECT_NEAR(lines[0].x2, x2, kTolerance);
    }
    // An absurd length ends: a long one within the sheet's reach after a
    // bounded number of dashes, one beyond it at once with the surface's
    // overflow, as on the real printer.
    world.surface.calls.clear();
    LinieDrucken(world.context, 10, 1e6, 50, kTrue);
    EXPECT_EQ(world.surface.calls.size(), 100000u);
    EXPECT_EQ(errorOf([&] { LinieDrucken(world.context, 1e17, 2e17, 50, kTrue); }), err::kOverflow);
}

TEST(KastenDrucken, OutlineOrFilledLabelRightAndCrossInside) {
    TestWorld world;
    world.surface.setForeColor(0x00FF00);
    KastenDrucken(world.context, 10, 20, 30, 4, "", 0, kFalse, 0);
    KastenDrucken(world.context, 10, 30, 30, 3.5, "", 0, kFalse, 0xC0C0C0);
    const auto outlines = ofKind(world.surface, DrawCall::Box);
    const auto filled = ofKind(world.surface, DrawCall::FilledBox);
    ASSERT_EQ(outlines.size(), 1u);
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(outlines[0].color, 0x00FF00);
    EXPECT_NEAR(outlines[0].x2, 40, kTolerance);
    EXPECT_NEAR(outlines[0].y2, 24, kTolerance);
    EXPECT_EQ(filled[0].color, 0xC0C0C0);
    EXPECT_NEAR(filled[0].y, 30, kTolerance);
    EXPECT_NEAR(filled[0].y2, 33.5, kTolerance);

    // The label stands right of the box, the cross inside.
    world.surface.calls.clear();
    KastenDrucken(world.context, 10, 20, 3, 3, "ja", 8, kTrue, 0);
    const auto texts = world.surface.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "ja");
    EXPECT_NEAR(texts[0].x, 14, kTolerance);
    EXPECT_NEAR(texts[0].y, 20, kTolerance);
    EXPECT_EQ(texts[0].size, 8);
    EXPECT_EQ(texts[1].text, "X");
    EXPECT_NEAR(texts[1].x, 10.4, kTolerance);
    EXPECT_NEAR(texts[1].y, 19.6, kTolerance);
    EXPECT_EQ(texts[1].size, 10);  // the 3 x 3 check box
    EXPECT_TRUE(texts[1].bold);
    EXPECT_EQ(world.surface.fontSize(), 8);
    EXPECT_FALSE(world.surface.fontBold());

    // Other boxes keep the size for the cross; a flag of 1 draws none.
    world.surface.calls.clear();
    KastenDrucken(world.context, 10, 20, 4, 3, "", 7, kTrue, 0);
    KastenDrucken(world.context, 10, 20, 3, 3, "", 7, 1, 0);
    const auto more = world.surface.texts();
    ASSERT_EQ(more.size(), 3u);
    EXPECT_EQ(more[1].text, "X");
    EXPECT_EQ(more[1].size, 7);
    EXPECT_EQ(more[2].text, "");
}

TEST(PrintPicture, ScaledNaturalOrSkipped) {
    TestWorld world;
    const Picture logo = world.pictures.load("logo.bmp");
    PrintPicture(world.context, logo, 10, 20, 40, 25);
    PrintPicture(world.context, logo, 10, 20, 0, 99);        // natural size, whatever the height
    PrintPicture(world.context, Picture{}, 10, 20, 40, 25);  // nothing loaded: nothing drawn
    const auto pictures = ofKind(world.surface, DrawCall::Picture);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_NEAR(pictures[0].x2, 50, kTolerance);
    EXPECT_NEAR(pictures[0].y2, 45, kTolerance);
    EXPECT_NEAR(pictures[1].x2, 10 + 30, kTolerance);  // 300 x 200 pixels at 254 dpi
    EXPECT_NEAR(pictures[1].y2, 20 + 20, kTolerance);
    EXPECT_EQ(pictures[1].text, "logo.bmp");
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST(PrintPicture, DeviceFaultIsLoggedAndShownThenTheCallerGoesOn) {
    TestWorld world;
    world.surface.fakeDevice().ready = false;
    const std::string expected =
        "Fehler 482 (Druckerfehler) in Prozedur PrintPicture im Modul FunktionenDrucker";
    EXPECT_NO_THROW(PrintPicture(world.context, world.pictures.load("a.bmp"), 0, 0, 0, 0));
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text, expected);
    EXPECT_EQ(world.messages.shown[0].title, "");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(world.log(), "14:03:27      " + expected + "\r\n");
}

}  // namespace
}  // namespace lumaro

#include <gtest/gtest.h>

#include "printing/drawing.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::DrawCall;
using testing::errorOf;
using testing::TestWorld;

TEST(LinieDrucken, DashesAreOneUnitWithOneUnitGapsAndEndOnAbsurdLengths) {
    TestWorld world;
    auto& calls = world.surface.calls;
    LinieDrucken(world.context, 10, 20, 50, kTrue);
    ASSERT_EQ(calls.size(), 5u);
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].kind, DrawCall::Line);
        EXPECT_NEAR(calls[i].x, 10 + 2.0 * static_cast<double>(i), 0.01);
        EXPECT_NEAR(calls[i].x2, calls[i].x + 1, 0.01);
        EXPECT_NEAR(calls[i].y2, 50, 0.01);
    }
    // A short dashed rule still gets its first dash; a flag of 1 draws solid.
    for (const auto& [x2, dashed] : {std::pair{11.0, kTrue}, std::pair{20.0, std::int16_t{1}}}) {
        calls.clear();
        LinieDrucken(world.context, 10, x2, 50, dashed);
        ASSERT_EQ(calls.size(), 1u) << dashed;
        EXPECT_NEAR(calls[0].x2, x2, 0.01);
    }
    // Within the sheet's reach after a bounded number of dashes, beyond it at
    // once with the surface's overflow.
    calls.clear();
    LinieDrucken(world.context, 10, 1e6, 50, kTrue);
    EXPECT_EQ(calls.size(), 100000u);
    EXPECT_EQ(errorOf([&] { LinieDrucken(world.context, 1e17, 2e17, 50, kTrue); }), err::kOverflow);
}

TEST(PrintPicture, NaturalOrSkippedAndADeviceFaultIsLoggedAndShown) {
    TestWorld world;
    const Picture logo = world.pictures.load("logo.bmp");  // 300 x 200 pixels at 254 dpi
    // A given size is pinned by the examples' traces.
    PrintPicture(world.context, logo, 10, 20, 0, 99);        // natural size, whatever the height
    PrintPicture(world.context, Picture{}, 10, 20, 40, 25);  // nothing loaded: nothing drawn
    auto& calls = world.surface.calls;
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NEAR(calls[0].x2, 40, 0.01);
    EXPECT_NEAR(calls[0].y2, 40, 0.01);
    EXPECT_TRUE(world.messages.shown.empty());

    TestWorld failing;
    failing.surface.fakeDevice().ready = false;
    const std::string expected =
        "Fehler 482 (Druckerfehler) in Prozedur PrintPicture im Modul FunktionenDrucker";
    EXPECT_NO_THROW(PrintPicture(failing.context, logo, 0, 0, 0, 0));
    ASSERT_EQ(failing.messages.shown.size(), 1u);
    EXPECT_EQ(failing.messages.shown[0].text, expected);
    EXPECT_EQ(failing.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(failing.log(), "14:03:27      " + expected + "\r\n");
}

}  // namespace
}  // namespace lumaro

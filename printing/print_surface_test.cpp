#include "printing/print_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::errorOf;
using testing::FakeDevice;
using testing::FakeSurface;

// The fake device's sheet is 2100 x 2970 device units for 210 x 297 scale
// units: a unit is 10 device units, a 10-point line 40 high with its baseline
// 30 below the top.
TEST(PrintSurface, AJobReachesItsDeviceWholeWhenItEndsInDeviceUnits) {
    FakeSurface s;
    FakeDevice& device = s.fakeDevice();
    s.setFontName("Veranda");
    s.setFontSize(10);
    s.setFontBold(true);
    s.setForeColor(0xFF);
    s.setCurrentX(20);
    s.setCurrentY(30);
    s.print("abc");
    EXPECT_DOUBLE_EQ(s.currentX(), 23);
    EXPECT_EQ(s.currentY(), 30);
    s.line(10, 50, 200, 50);
    s.newPage();
    EXPECT_EQ(s.currentX(), 0);
    s.filledBox(10, 60, 40, 60, 0xC0C0C0);  // no height: a hairline still shows
    s.boxOutline(40, 80, 10, 70);           // corners either way round
    EXPECT_TRUE(device.played.empty()) << "nothing may reach the device before the end";

    s.endDoc();
    EXPECT_EQ(device.played,
              (std::vector<std::string>{"begin 1 1", "text 200 330 abc [DejaVu Sans 10 bold] 255",
                                        "line 100 500 2000 500 1 255", "newpage",
                                        "fill 100 600 300 1 12632256",
                                        "outline 100 700 300 100 1 255", "end"}));
    s.endDoc();  // the run's own end after the renderer's: no second job
    EXPECT_EQ(device.jobsDelivered, 1);
    EXPECT_EQ(s.jobsEnded, 1);
    ASSERT_EQ(s.calls.size(), 6u);
    EXPECT_EQ(s.calls[0].font, "Veranda") << "the trace keeps the name as asked";
    EXPECT_EQ(s.calls[5].page, 2);
}

TEST(PrintSurface, AnUnendedJobNeverReachesTheDevice) {
    auto device = std::make_shared<FakeDevice>();
    {
        FakeSurface s;
        s.useDevice(device);
        s.print("halb");
        s.newPage();
        s.abort();
        EXPECT_EQ(s.jobCount(), 1);
        s.print("zweiter Auftrag");
        s.endDoc();
        s.print("endet mit der Fläche");
    }
    EXPECT_EQ(device->jobsDelivered, 1);
    EXPECT_EQ(device->played.front(), "begin 2 1") << "the aborted job is not played";
    EXPECT_EQ(device->played.size(), 3u);
}

TEST(PrintSurface, OrientationAndPrinterChosenDuringAJobApplyToTheNextOne) {
    FakeSurface s;
    auto label = std::make_shared<FakeDevice>("Etiketten");
    s.print("hoch");
    s.setOrientation(2);
    s.useDevice(label);
    EXPECT_EQ(s.deviceName(), "Etiketten");
    EXPECT_DOUBLE_EQ(s.textWidth("abcd"), 3.6) << "still measured on the running job's sheet";
    s.setScaleMode(6);  // the running job's sheet: still portrait
    EXPECT_DOUBLE_EQ(s.scaleWidth(), 210);
    s.endDoc();
    EXPECT_EQ(s.fakeDevice().played.front(), "begin 1 1");
    EXPECT_TRUE(label->played.empty());

    s.setScaleMode(6);
    EXPECT_DOUBLE_EQ(s.scaleWidth(), 297);
    EXPECT_DOUBLE_EQ(s.scaleHeight(), 210);
    s.print("quer");
    s.endDoc();
    EXPECT_EQ(label->played.front(), "begin 2 2");
}

TEST(PrintSurface, RefusedValuesRaise380AndKeepTheOldOnesWithoutStartingAJob) {
    FakeSurface s;
    s.setFontSize(9.75);
    for (double bad : {0.5, -3.0, 2049.0, std::nan("")})
        EXPECT_EQ(errorOf([&] { s.setFontSize(bad); }), err::kInvalidProperty) << bad;
    EXPECT_EQ(s.fontSize(), 9.75);
    EXPECT_EQ(errorOf([&] { s.setFontSize(1); }), 0);
    EXPECT_EQ(errorOf([&] { s.setFontSize(2048); }), 0);
    for (double bad : {0.0, std::nan(""), HUGE_VAL}) {
        EXPECT_EQ(errorOf([&] { s.setScaleWidth(bad); }), err::kInvalidProperty) << bad;
        EXPECT_EQ(errorOf([&] { s.setScaleHeight(bad); }), err::kInvalidProperty) << bad;
    }
    EXPECT_EQ(s.scaleWidth(), 210);
    EXPECT_EQ(errorOf([&] { s.setOrientation(3); }), err::kInvalidProperty);
    EXPECT_EQ(errorOf([&] { s.setScaleMode(8); }), err::kInvalidProperty);
    EXPECT_EQ(errorOf([&] { s.setScaleMode(-1); }), err::kInvalidProperty);
    EXPECT_EQ(s.orientation(), 1);
    EXPECT_EQ(errorOf([&] {
                  s.paintPicture(Picture{42, "weg.bmp", nullptr}, 0, 0);
              }),
              err::kInvalidPicture);
    // Far beyond any sheet: a broken layout, not a drawing.
    EXPECT_EQ(errorOf([&] { s.line(0, 0, 1e12, 0); }), err::kOverflow);
    s.setCurrentX(HUGE_VAL);
    EXPECT_EQ(errorOf([&] { s.print("x"); }), err::kOverflow);
    EXPECT_EQ(s.jobCount(), 0);
    EXPECT_TRUE(s.calls.empty());
}

TEST(PrintSurface, ScaleModesGiveThePrintableAreaInTheirUnitAndMapEveryLaterCall) {
    FakeSurface s;  // 2100 x 2970 device units at 254 dpi: 210 x 297 mm
    struct Case {
        int mode;
        double width, height;
    };
    for (const Case& c : std::vector<Case>{{1, 210 / 25.4 * 1440, 297 / 25.4 * 1440},
                                           {2, 210 / 25.4 * 72, 297 / 25.4 * 72},
                                           {3, 2100, 2970},
                                           {4, 210 / 25.4 * 12, 297 / 25.4 * 6},
                                           {5, 210 / 25.4, 297 / 25.4},
                                           {6, 210, 297},
                                           {7, 21, 29.7}}) {
        s.setScaleMode(c.mode);
        EXPECT_NEAR(s.scaleWidth(), c.width, 1e-9) << c.mode;
        EXPECT_NEAR(s.scaleHeight(), c.height, 1e-9) << c.mode;
    }
    s.setScaleMode(0);  // the user scale keeps what was there
    EXPECT_NEAR(s.scaleWidth(), 21, 1e-9);
    s.setScaleMode(6);
    s.setFontSize(10);
    s.filledBox(100, 200, 120, 220, 0);
    s.setScaleWidth(105);  // during the job: a unit is now 2 mm wide, for texts too
    EXPECT_DOUBLE_EQ(s.textWidth("abcd"), 2);
    s.filledBox(25, 40, 30, 50, 0);
    s.setOrientation(2);  // a user scale stays through a new orientation
    EXPECT_EQ(s.scaleWidth(), 105);
    s.endDoc();
    EXPECT_EQ(s.fakeDevice().played[1], "fill 1000 2000 200 200 0");
    EXPECT_EQ(s.fakeDevice().played[2], "fill 500 400 100 100 0");
}

TEST(PrintSurface, ADeviceThatCannotPrintIsAPrinterErrorAndTheJobIsOver) {
    FakeSurface s;
    FakeDevice& device = s.fakeDevice();
    device.ready = false;
    EXPECT_GT(s.textWidth("abc"), 0) << "it still measures";
    EXPECT_EQ(errorOf([&] { s.print("abc"); }), err::kPrinterError);
    EXPECT_EQ(s.jobCount(), 0) << "a job that could not begin is no job";
    EXPECT_TRUE(s.calls.empty());
    // A handler may go on after the refusal; the document's end still fails,
    // as nothing of it is on paper. The next end is an ordinary one.
    EXPECT_EQ(errorOf([&] { s.endDoc(); }), err::kPrinterError);
    EXPECT_EQ(errorOf([&] { s.endDoc(); }), 0);

    // Failing while the finished job is handed over: the device drops it, the
    // error reaches the document, and nothing of the job is left.
    device.ready = true;
    device.failAtCall = 1;
    s.print("eins");
    s.line(0, 0, 10, 0);
    s.newPage();
    EXPECT_EQ(errorOf([&] { s.endDoc(); }), err::kPrinterError);
    EXPECT_EQ(device.jobsCancelled, 1);
    EXPECT_EQ(device.played.back(), "cancel");
    EXPECT_EQ(s.jobsEnded, 0);
    EXPECT_EQ(s.jobsAborted, 1) << "the trace learns that the job was discarded";
    device.failAtCall = -1;
    s.endDoc();
    EXPECT_EQ(device.jobsDelivered, 0);
    s.print("zwei");
    s.endDoc();
    EXPECT_EQ(device.jobsDelivered, 1);
    EXPECT_EQ(s.jobCount(), 2);

    const testing::FixedClock clock;
    PrintSurface none(FontTable::standIns(), clock);
    EXPECT_EQ(errorOf([&] { none.textWidth("abc"); }), err::kPrinterError);
    EXPECT_EQ(none.deviceName(), "");
}

TEST(FontTable, NamesBecomeTheSystemsFamiliesWithoutRegardToCaseOrBlanks) {
    struct Case {
        const char *asked, *standIn, *windows;
    };
    for (const Case& c :
         std::vector<Case>{{"Arial", "Liberation Sans", "Arial"},
                           {" arial ", "Liberation Sans", "arial"},
                           {"MS Sans Serif", "Liberation Sans", "MS Sans Serif"},
                           {"Times New Roman", "Liberation Serif", "Times New Roman"},
                           {"Courier New", "Liberation Mono", "Courier New"},
                           {"veranda", "DejaVu Sans", "Verdana"},
                           {"", "DejaVu Sans", "Verdana"},
                           {"Webdings", "Webdings", "Webdings"}}) {
        EXPECT_EQ(FontTable::standIns().family(c.asked), c.standIn) << c.asked;
        EXPECT_EQ(FontTable::windows().family(c.asked), c.windows) << c.asked;
    }
}

}  // namespace
}  // namespace lumaro

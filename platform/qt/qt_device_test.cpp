// The printers of the Linux program as the run gets them from QtPrinterSystem:
// the built-in PDF printer with the fonts fontconfig finds, and a system
// printer through Qt.
#include "platform/qt/qt_device.h"

#include <gtest/gtest.h>

#include <QDir>
#include <cmath>

#include "platform/qt/test_support.h"
#include "printing/print_surface.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

using lumaro::testing::errorOf;
using lumaro::testing::w;
using namespace lumaro::platform::testing;

class LinuxPrinters : public ::testing::Test {
  protected:
    lumaro::testing::TempFolder folder;
    lumaro::testing::FixedClock clock;
    QString out = QString::fromStdString(folder.file("Ausgabe"));
    QtPrinterSystem system;
    PrintSurface surface{FontTable::standIns(), clock};

    void SetUp() override { surface.useDevice(system.openPdf(folder.file("Ausgabe"))); }

    void a4(int orientation = 1) {
        surface.setOrientation(orientation);
        surface.setScaleMode(6);
        surface.setScaleWidth(orientation == 1 ? 210 : 297);
        surface.setScaleHeight(orientation == 1 ? 297 : 210);
    }
    QString onlyPdf() const {
        const QStringList files = filesIn(out);
        return files.size() == 1 ? QDir(out).filePath(files[0]) : QString();
    }
};

// Rendered at 10 pixels per millimetre; positions below are in millimetres.
TEST_F(LinuxPrinters, ScaleUnitsLandWhereTheyShouldAndRulesWithoutThicknessShow) {
    if (!haveTool("pdftoppm"))
        GTEST_SKIP() << "poppler-utils not installed";
    a4();
    surface.filledBox(20, 100, 80, 100, 0);
    surface.line(20, 150, 80, 150);
    surface.boxOutline(20, 200, 80, 200);
    surface.filledBox(100, 200, 120, 220, 0);  // 20 x 20 mm at (100, 200) mm
    surface.setScaleWidth(105);                // later calls: a unit is 2 mm wide
    surface.filledBox(25, 40, 30, 50, 0);      // 10 x 10 mm at (50, 40) mm
    surface.endDoc();
    const QImage page = renderFirstPage(onlyPdf(), 10);
    ASSERT_NEAR(page.width(), 2100, 10);
    ASSERT_NEAR(page.height(), 2970, 10);
    auto dark = [&](int x, int y) { return qGray(page.pixel(x * 10, y * 10)) < 64; };
    for (auto [x, y] : {std::pair{110, 210}, {102, 202}, {118, 218}, {55, 45}})
        EXPECT_TRUE(dark(x, y)) << x << "," << y;
    // {27, 45} is where the second box would be without the new scale.
    for (auto [x, y] : {std::pair{97, 210}, {123, 210}, {110, 197}, {27, 45}, {63, 45}})
        EXPECT_FALSE(dark(x, y)) << x << "," << y;
    auto darkestNear = [&](int yMm) {
        int darkest = 255;
        for (int y = yMm * 10 - 3; y <= yMm * 10 + 3; ++y)
            darkest = std::min(darkest, qGray(page.pixel(500, y)));
        return darkest;
    };
    EXPECT_LT(darkestNear(100), 128);
    EXPECT_LT(darkestNear(150), 128);
    EXPECT_LT(darkestNear(200), 128);
    EXPECT_EQ(darkestNear(125), 255);
}

TEST_F(LinuxPrinters, ASystemPrinterThatHasGoneIsAPrinterErrorAndStartsNoJob) {
    surface.useDevice(system.open(w("Kein solcher Drucker")));
    EXPECT_EQ(surface.deviceName(), "Kein solcher Drucker");
    a4();
    EXPECT_GT(surface.textWidth("abc"), 0);  // it still measures
    EXPECT_EQ(errorOf([&] { surface.print("abc"); }), err::kPrinterError);
    EXPECT_EQ(surface.jobCount(), 0);
}

}  // namespace
}  // namespace lumaro::platform

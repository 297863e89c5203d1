#include "platform/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>

#include "platform/test_support.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

using namespace lumaro::platform::testing;

class PrinterList : public ::testing::Test {
  protected:
    lumaro::testing::TempFolder folder;
    lumaro::testing::FixedClock clock;
    TraceWriter trace;
    QtPictureLoader pictures;
    QtPrintSurface surface{trace, pictures, clock};
    QString program = QString::fromStdString(folder.path());
};

TEST_F(PrinterList, SystemPrintersComeFirstInTheirOrderThenThePdfPrinter) {
    QtPrinters printers(surface, {"Kyocera", "HP LaserJet"}, "HP LaserJet", "", program);
    ASSERT_EQ(printers.count(), 3);
    EXPECT_EQ(printers.deviceName(0), "Kyocera");
    EXPECT_EQ(printers.deviceName(1), "HP LaserJet");
    EXPECT_EQ(printers.deviceName(2), "Lumaro PDF");
    EXPECT_EQ(printers.deviceName(3), "");
    EXPECT_EQ(printers.deviceName(-1), "");
}

TEST_F(PrinterList, TheCurrentPrinterAtStart) {
    {
        QtPrinters printers(surface, {"Kyocera", "HP LaserJet"}, "HP LaserJet", "", program);
        EXPECT_EQ(surface.deviceName(), "HP LaserJet");
    }
    {
        QtPrinters printers(surface, {"Kyocera", "HP LaserJet"}, "", "", program);
        EXPECT_EQ(surface.deviceName(), "Kyocera");
    }
    {
        QtPrinters printers(surface, {"Kyocera"}, "Kyocera", program + "/pdf", program);
        EXPECT_EQ(surface.deviceName(), "Lumaro PDF");
        EXPECT_EQ(printers.pdfFolder(), program + "/pdf");
    }
}

TEST_F(PrinterList, WithoutAnyPrinterThePdfPrinterWritesIntoAusdrucke) {
    QtPrinters printers(surface, {}, "", "", program);
    ASSERT_EQ(printers.count(), 1);
    EXPECT_EQ(surface.deviceName(), "Lumaro PDF");
    surface.setScaleMode(6);
    surface.print("Beleg");
    surface.endDoc();
    EXPECT_EQ(filesIn(QDir(program).filePath("Ausdrucke")),
              QStringList({"2026-12-05_14-03-27_job001.pdf"}));
}

TEST_F(PrinterList, MakeCurrentSwitchesTheSurface) {
    QtPrinters printers(surface, {"Kyocera", "HP LaserJet"}, "HP LaserJet", "", program);
    printers.makeCurrent(0);
    EXPECT_EQ(surface.deviceName(), "Kyocera");
    printers.makeCurrent(2);
    EXPECT_EQ(surface.deviceName(), "Lumaro PDF");
    surface.print("x");
    surface.endDoc();
    EXPECT_EQ(filesIn(QDir(program).filePath("Ausdrucke")).size(), 1);
    try {
        printers.makeCurrent(3);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 9);
    }
    EXPECT_EQ(surface.deviceName(), "Lumaro PDF");
}

TEST_F(PrinterList, TheSystemsListEndsWithThePdfPrinter) {
    QtPrinters printers = QtPrinters::fromSystem(surface, "", program);
    ASSERT_GE(printers.count(), 1);
    EXPECT_EQ(printers.deviceName(printers.count() - 1), "Lumaro PDF");
    EXPECT_FALSE(surface.deviceName().empty());
}

}  // namespace
}  // namespace lumaro::platform

#include "platform/qt/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "platform/qt/test_support.h"
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
    const QStringList two{"Kyocera", "HP LaserJet"};

    QStringList printedPdfs() {
        surface.setScaleMode(6);
        surface.print("Beleg");
        surface.endDoc();
        return filesIn(QDir(program).filePath("Ausdrucke"));
    }
};

TEST_F(PrinterList, SystemPrintersComeFirstThenThePdfPrinterAndTheDefaultIsCurrent) {
    QtPrinters printers(surface, two, "HP LaserJet", "", program);
    ASSERT_EQ(printers.count(), 3);
    EXPECT_EQ(printers.deviceName(0), "Kyocera");
    EXPECT_EQ(printers.deviceName(1), "HP LaserJet");
    EXPECT_EQ(printers.deviceName(2), "Lumaro PDF");
    EXPECT_EQ(printers.deviceName(3), "");
    EXPECT_EQ(printers.deviceName(-1), "");
    EXPECT_EQ(surface.deviceName(), "HP LaserJet");

    printers.makeCurrent(0);
    EXPECT_EQ(surface.deviceName(), "Kyocera");
    printers.makeCurrent(2);
    EXPECT_EQ(printedPdfs().size(), 1);
    EXPECT_EQ(lumaro::testing::errorOf([&] { printers.makeCurrent(3); }), 9);
    EXPECT_EQ(surface.deviceName(), "Lumaro PDF");
}

TEST_F(PrinterList, WithoutADefaultTheFirstAndWithAFolderThePdfPrinterIsCurrent) {
    {
        QtPrinters printers(surface, two, "", "", program);
        EXPECT_EQ(surface.deviceName(), "Kyocera");
        // Once the saved label printer is known, the documents avoid it.
        EXPECT_NE(printers.chooseStartPrinter("Kyocera"), "");
        EXPECT_EQ(surface.deviceName(), "HP LaserJet");
        EXPECT_FALSE(printers.announcesPdfFiles());
    }
    QtPrinters printers(surface, {"Kyocera"}, "Kyocera", program + "/pdf", program);
    EXPECT_EQ(surface.deviceName(), "Lumaro PDF");
    EXPECT_EQ(printers.pdfFolder(), program + "/pdf");
}

TEST_F(PrinterList, WithoutAnyPrinterThePdfPrinterWritesIntoAusdrucke) {
    QtPrinters printers(surface, {}, "", "", program);
    ASSERT_EQ(printers.count(), 1);
    EXPECT_TRUE(printers.announcesPdfFiles());
    QStringList announced;
    surface.onPdfWritten = [&](const QString& path) {
        // Called once the file is complete under its final name.
        EXPECT_TRUE(QFileInfo(path).isFile());
        announced << path;
    };
    EXPECT_EQ(printedPdfs(), QStringList({"2026-12-05_14-03-27_job001.pdf"}));
    EXPECT_EQ(announced,
              QStringList({QDir(program).filePath("Ausdrucke/2026-12-05_14-03-27_job001.pdf")}));
}

}  // namespace
}  // namespace lumaro::platform

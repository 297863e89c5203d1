// Printing through the system's spooler. These tests print real sheets, so
// they run only when LUMARO_TEST_PRINTER names a queue meant for it (a raw
// queue on a private CUPS server, for example). LUMARO_TEST_PRINTER_OUTPUT,
// when set, is the folder where that queue leaves one file per job.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include "platform/qt/qt_printers.h"
#include "platform/qt/test_support.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

using namespace lumaro::platform::testing;

class SystemPrinter : public ::testing::Test {
  protected:
    QString printer = qEnvironmentVariable("LUMARO_TEST_PRINTER");
    QString output = qEnvironmentVariable("LUMARO_TEST_PRINTER_OUTPUT");
    lumaro::testing::TempFolder folder;
    lumaro::testing::FixedClock clock;
    QString tracePath = QString::fromStdString(folder.file("trace.jsonl"));
    TraceWriter trace{tracePath};
    QtPictureLoader pictures;
    QtPrintSurface surface{trace, pictures, clock};

    void SetUp() override {
        if (printer.isEmpty())
            GTEST_SKIP() << "set LUMARO_TEST_PRINTER to a queue that may receive test sheets";
        before = output.isEmpty() ? 0 : filesIn(output).size();
    }
    // The spooler hands the job to its device some time after it was submitted.
    QStringList newJobFilesAfterWaiting(int ms) {
        QElapsedTimer t;
        t.start();
        QStringList files = filesIn(output);
        while (files.size() <= before && t.elapsed() < ms) {
            QThread::msleep(50);
            files = filesIn(output);
        }
        return files.mid(before);
    }
    qsizetype before = 0;
};

TEST_F(SystemPrinter, AJobGoesToTheSpoolerWhenItEnds) {
    QtPrinters printers =
        QtPrinters::fromSystem(surface, "", QString::fromStdString(folder.path()));
    int index = printers.count() - 2;  // the last is the PDF printer
    while (index > 0 && QString::fromStdString(printers.deviceName(index)) != printer)
        --index;
    ASSERT_EQ(QString::fromStdString(printers.deviceName(index)), printer) << "not installed";
    printers.makeCurrent(index);
    surface.setScaleMode(6);
    surface.setFontSize(12);
    EXPECT_GT(surface.textWidth("Test"), 5);
    surface.print("Testseite");
    surface.newPage();
    surface.boxOutline(10, 10, 200, 287);
    surface.endDoc();
    const auto ev = readTrace(tracePath);
    ASSERT_EQ(eventNames(ev), QStringList({"job", "text", "newpage", "box", "enddoc"}));
    EXPECT_EQ(ev[0]["printer"].toString(), printer);
    EXPECT_EQ(ev.back()["pages"].toInt(), 2);
    if (!output.isEmpty()) {
        const QStringList jobs = newJobFilesAfterWaiting(10000);
        ASSERT_EQ(jobs.size(), 1);
        // Qt hands the spooler a PDF.
        EXPECT_EQ(pdfPageCount(QDir(output).filePath(jobs[0])), 2);
    }
}

TEST_F(SystemPrinter, AnAbortedJobSendsNothing) {
    surface.useSystemPrinter(printer);
    surface.setScaleMode(6);
    surface.print("verworfen");
    surface.abort();
    EXPECT_EQ(eventNames(readTrace(tracePath)), QStringList({"job", "text", "abort"}));
    if (!output.isEmpty()) {
        EXPECT_TRUE(newJobFilesAfterWaiting(2000).isEmpty());
    }
}

}  // namespace
}  // namespace lumaro::platform

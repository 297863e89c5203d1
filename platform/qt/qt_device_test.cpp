#include "platform/qt/qt_device.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cmath>

#include "platform/qt/qt_picture_loader.h"
#include "platform/qt/test_support.h"
#include "printing/print_surface.h"
#include "printing/trace.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

using lumaro::testing::errorOf;
using lumaro::testing::w;
using namespace lumaro::platform::testing;

const QString kJob1 = "2026-12-05_14-03-27_job001.pdf";

class QtPdfDevice : public ::testing::Test {
  protected:
    lumaro::testing::TempFolder folder;
    lumaro::testing::FixedClock clock;
    QString tracePath = QString::fromStdString(folder.file("trace.jsonl"));
    QString out = QString::fromStdString(folder.file("Ausgabe"));
    TraceWriter trace{folder.file("trace.jsonl")};
    QtPictureLoader pictures;
    std::unique_ptr<PrintSurface> surface =
        std::make_unique<PrintSurface>(FontTable::standIns(), clock);

    void SetUp() override {
        surface->addObserver(trace);
        surface->useDevice(QtDevice::pdfPrinter(out));
    }

    void a4(int orientation = 1) {
        surface->setOrientation(orientation);
        surface->setScaleMode(6);
        surface->setScaleWidth(orientation == 1 ? 210 : 297);
        surface->setScaleHeight(orientation == 1 ? 297 : 210);
    }
    std::vector<QJsonObject> events() const { return readTrace(tracePath); }
    QString pdf(const QString& name) const { return QDir(out).filePath(name); }
};

TEST_F(QtPdfDevice, APdfAppearsOnlyWhenTheJobEndsAndNamesSortInJobOrder) {
    surface->endDoc();  // nothing drawn: no file, no job
    EXPECT_TRUE(filesIn(out).isEmpty());
    EXPECT_EQ(events().back()["job"].toInt(), 0);

    a4();
    surface->print("eins");
    EXPECT_TRUE(filesIn(out).filter(QRegularExpression(R"(\.pdf$)")).isEmpty());
    surface->newPage();
    surface->print("zwei");
    surface->endDoc();
    EXPECT_EQ(filesIn(out), QStringList({kJob1}));
    EXPECT_EQ(pdfPageCount(pdf(kJob1)), 2);

    a4(2);
    surface->print("drei");
    surface->endDoc();
    EXPECT_EQ(filesIn(out), QStringList({kJob1, "2026-12-05_14-03-27_job002.pdf"}));
    EXPECT_EQ(pdfPageCount(pdf("2026-12-05_14-03-27_job002.pdf")), 1);
}

TEST_F(QtPdfDevice, AnExistingFileIsNeverReplaced) {
    QDir().mkpath(out);
    QFile old(pdf(kJob1));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("from an earlier run");
    old.close();
    a4();
    surface->print("neu");
    surface->endDoc();
    EXPECT_EQ(filesIn(out), QStringList({kJob1, "2026-12-05_14-03-27_job001_2.pdf"}));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "from an earlier run");
}

TEST_F(QtPdfDevice, AnUnendedJobIsDiscardedWithoutAFile) {
    a4();
    surface->print("halb");
    surface->newPage();
    surface->abort();
    EXPECT_TRUE(filesIn(out).isEmpty()) << filesIn(out).join(",").toStdString();
    auto ev = events();
    ASSERT_EQ(ev.back()["ev"].toString(), "abort");
    EXPECT_EQ(ev.back()["job"].toInt(), 1);
    EXPECT_EQ(ev.back()["pages"].toInt(), 2);

    // Dropping the surface at the end of the run does the same.
    surface->print("wieder halb");
    surface.reset();
    EXPECT_TRUE(filesIn(out).isEmpty());
    ev = events();
    EXPECT_EQ(ev.back()["ev"].toString(), "abort");
    EXPECT_EQ(ev.back()["job"].toInt(), 2);
}

TEST_F(QtPdfDevice, ThePdfHoldsRealTextInEmbeddedFontsOnALandscapePage) {
    if (!haveTool("pdftotext") || !haveTool("pdffonts") || !haveTool("pdfinfo"))
        GTEST_SKIP() << "poppler-utils not installed";
    a4(2);
    surface->setFontName("Times New Roman");
    surface->setFontSize(12);
    surface->print(w("Tierärztin Müller"));
    surface->endDoc();
    const QString file = pdf(kJob1);
    EXPECT_TRUE(
        runTool("pdftotext", {file, "-"})->contains(QString::fromUtf8("Tierärztin Müller")));
    const QString fonts = *runTool("pdffonts", {file});
    EXPECT_TRUE(fonts.contains("LiberationSerif")) << fonts.toStdString();
    EXPECT_FALSE(fonts.contains(QRegularExpression(R"(\bno\s+(yes|no)\s+(yes|no)\s+\d+)")))
        << "a font is not embedded:\n"
        << fonts.toStdString();
    const QString info = *runTool("pdfinfo", {file});
    EXPECT_TRUE(info.contains(
        QRegularExpression(R"(Page size:\s+84[12](\.\d+)? x 595(\.\d+)? pts \(A4\))")))
        << info.toStdString();
}

// Rendered at 10 pixels per millimetre; positions below are in millimetres.
TEST_F(QtPdfDevice, ScaleUnitsLandWhereTheyShouldAndRulesWithoutThicknessShow) {
    if (!haveTool("pdftoppm"))
        GTEST_SKIP() << "poppler-utils not installed";
    a4();
    surface->filledBox(20, 100, 80, 100, 0);
    surface->line(20, 150, 80, 150);
    surface->boxOutline(20, 200, 80, 200);
    surface->filledBox(100, 200, 120, 220, 0);  // 20 x 20 mm at (100, 200) mm
    surface->setScaleWidth(105);                // later calls: a unit is 2 mm wide
    surface->filledBox(25, 40, 30, 50, 0);      // 10 x 10 mm at (50, 40) mm
    surface->endDoc();
    const QImage page = renderFirstPage(pdf(kJob1), 10);
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

TEST_F(QtPdfDevice, APictureIsDrawnAtItsPhysicalSizeUnlessSizedByTheCaller) {
    QImage img(300, 150, QImage::Format_RGB32);
    img.fill(Qt::black);
    img.setDotsPerMeterX(11811);  // 300 dpi: 1 x 0.5 inch
    img.setDotsPerMeterY(11811);
    ASSERT_TRUE(img.save(QString::fromStdString(folder.file("logo.png"))));
    const Picture picture = pictures.load(folder.file("logo.png"));

    a4();
    surface->paintPicture(picture, 10, 20);
    surface->paintPicture(picture, 100, 100, 50, 30);
    surface->endDoc();
    const auto ev = events();
    ASSERT_EQ(eventNames(ev), QStringList({"job", "picture", "picture", "enddoc"}));
    EXPECT_EQ(ev[1]["file"].toString().toStdString(), folder.file("logo.png"));
    EXPECT_NEAR(ev[1]["w"].toDouble(), 25.4, 0.02);
    EXPECT_NEAR(ev[1]["h"].toDouble(), 12.7, 0.02);
    EXPECT_EQ(ev[2]["w"].toDouble(), 50);
    EXPECT_EQ(ev[2]["h"].toDouble(), 30);
    if (!haveTool("pdftoppm"))
        return;
    const QImage page = renderFirstPage(pdf(kJob1));
    auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 64; };
    EXPECT_TRUE(dark(33, 30) && dark(145, 125));
    EXPECT_FALSE(dark(38, 26) || dark(20, 35) || dark(155, 125));
}

TEST_F(QtPdfDevice, FontNamesShareOneSubstituteForMeasuringAndDrawing) {
    a4();
    surface->setFontSize(10);
    auto widthIn = [&](const std::string& font) {
        surface->setFontName(font);
        return surface->textWidth("Rinderbestand 2026");
    };
    const double dejavu = widthIn("DejaVu Sans");
    // About 0.63 em per character at 10 pt, so roughly 40 mm.
    EXPECT_GT(dejavu, 30);
    EXPECT_LT(dejavu, 45);
    for (const char* name : {"Veranda", "Verdana", ""})
        EXPECT_DOUBLE_EQ(widthIn(name), dejavu) << name;
    const double liberation = widthIn("Liberation Sans");
    for (const char* name : {"Arial", "MS Sans Serif"})
        EXPECT_DOUBLE_EQ(widthIn(name), liberation) << name;
    EXPECT_NE(liberation, dejavu);
    EXPECT_NE(widthIn("Courier New"), widthIn("Times New Roman"));
    surface->setFontName("Veranda");
    EXPECT_NEAR(surface->textHeight("x"), 10 * 1.164 * 25.4 / 72, 0.1);  // DejaVu: 1.164 em

    // Widths follow size and scale, and the running job's device measures alike.
    surface->setFontSize(20);
    EXPECT_NEAR(widthIn("Arial"), 2 * liberation, liberation * 0.01);
    surface->setFontSize(10);
    surface->setScaleWidth(105);
    EXPECT_NEAR(widthIn("Arial"), liberation / 2, 1e-9);
    surface->setScaleWidth(210);
    surface->print("x");
    EXPECT_NEAR(widthIn("Arial"), liberation, 1e-9);
}

TEST_F(QtPdfDevice, ThePdfPageIsA4InWholePoints) {
    // The PDF page is A4 in whole points (595 x 842), a tenth of a millimetre
    // off the paper size.
    surface->setScaleMode(6);
    EXPECT_NEAR(surface->scaleWidth(), 210, 0.1);
    EXPECT_NEAR(surface->scaleHeight(), 297, 0.1);
    surface->setOrientation(2);
    EXPECT_NEAR(surface->scaleWidth(), 297, 0.1);
    surface->setScaleMode(1);
    EXPECT_NEAR(surface->scaleHeight(), 595 * 20, 2);
}

TEST_F(QtPdfDevice, APrinterThatCannotPrintIsAPrinterErrorAndStartsNoJob) {
    surface->useDevice(QtDevice::systemPrinter(QStringLiteral("Kein solcher Drucker")));
    EXPECT_EQ(surface->deviceName(), "Kein solcher Drucker");
    a4();
    EXPECT_GT(surface->textWidth("abc"), 0);  // it still measures
    EXPECT_EQ(errorOf([&] { surface->print("abc"); }), err::kPrinterError);
    EXPECT_EQ(surface->jobCount(), 0);

    folder.write("datei", "x");  // a PDF folder that cannot be made
    surface->useDevice(QtDevice::pdfPrinter(QString::fromStdString(folder.file("datei")) + "/unter"));
    a4();
    EXPECT_EQ(errorOf([&] { surface->line(0, 0, 1, 1); }), err::kPrinterError);
    EXPECT_TRUE(events().empty());
    // The next job on a working printer is job 1: the failed ones drew nothing.
    surface->useDevice(QtDevice::pdfPrinter(out));
    surface->line(0, 0, 1, 1);
    surface->endDoc();
    EXPECT_EQ(filesIn(out), QStringList({kJob1}));
}

}  // namespace
}  // namespace lumaro::platform

// The PDF printer as the surface sees it: measuring, one file per job, and the
// faults that end in 482 without a file. Real readers: tests/e2e.
#include "pdf/pdf_printer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "pdf/testing_fonts.h"
#include "support/file_system.h"
#include "tests/fakes/fakes.h"

namespace lumaro::pdf {
namespace {

using lumaro::testing::errorOf;
using lumaro::testing::TempFolder;
using lumaro::testing::w;
using testing::DebianFonts;
using testing::readFile;

constexpr double kPerUnit = 10.0 / 2048 * 1200 / 72;  // device units per design unit at 10 pt

const DeviceFont kSans{"DejaVu Sans", 10};
const JobInfo kJob{1, {2026, 12, 5, 14, 3, 27}, 1, {}};

// Any family is the one font file given.
class OneFile : public FontSource {
  public:
    explicit OneFile(std::string bytes) : bytes_(std::move(bytes)) {}
    FontFile fontFile(const std::string&, bool, bool) override { return {bytes_, 0}; }
    std::string bytes_;
};

std::set<std::string> entriesOf(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

class PdfPrinterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (readFile(testing::kDejaVu + "DejaVuSans.ttf").empty())
            GTEST_SKIP() << "the Debian fonts cannot be read here";
    }
    // One page with a text, a rule and a box.
    std::string print(PdfPrinter& printer, const JobInfo& job, const std::string& text) {
        printer.beginJob(job);
        printer.text(1000, 1000, text, kSans, 0);
        printer.line(1000, 1200, 5000, 1200, Pen{5, 0});
        printer.fill(DeviceRect{1000, 1300, 400, 200}, 0xC0C0C0);
        return printer.endJob();
    }
    TempFolder t;
    DebianFonts fonts;
};

TEST_F(PdfPrinterTest, EachJobBecomesOneFileNamedByItsTimeAndNumberNeverReplacingOne) {
    const std::string folder = fs::joinPath(t.file("Ausdrucke"), "2026");
    PdfPrinter printer(folder, fonts);
    const std::string first = print(printer, kJob, "Text");
    EXPECT_EQ(first, fs::joinPath(folder, "2026-12-05_14-03-27_job001.pdf"));
    const std::string pdf = *fs::readWholeFile(first);

    // A file of an earlier run in the same second is left as it is.
    ASSERT_EQ(fs::writeNewFile(fs::joinPath(folder, "2026-12-05_14-03-27_job002.pdf"), "keep"),
              fs::NewFile::Written);
    const JobInfo second{2, kJob.started, 2, {}};
    EXPECT_EQ(print(printer, second, "Zwei"),
              fs::joinPath(folder, "2026-12-05_14-03-27_job002_2.pdf"));
    EXPECT_EQ(fs::readWholeFile(fs::joinPath(folder, "2026-12-05_14-03-27_job002.pdf")), "keep");
    EXPECT_EQ(*fs::readWholeFile(first), pdf);
    // A cancelled job leaves nothing; the printer goes on with the next.
    printer.beginJob(kJob);
    printer.text(0, 100, "weg", kSans, 0);
    printer.cancelJob();
    EXPECT_EQ(errorOf([&] { printer.text(0, 100, "x", kSans, 0); }), err::kPrinterError);
    EXPECT_EQ(errorOf([&] { printer.endJob(); }), err::kPrinterError);
    EXPECT_EQ(entriesOf(folder), (std::set<std::string>{"2026-12-05_14-03-27_job001.pdf",
                                                        "2026-12-05_14-03-27_job002.pdf",
                                                        "2026-12-05_14-03-27_job002_2.pdf"}));
    // A folder removed meanwhile is made again.
    std::filesystem::remove_all(folder);
    EXPECT_EQ(print(printer, kJob, "Neu"), first);
}

TEST_F(PdfPrinterTest, MeasuresWithTheFontsOwnWidthsAndRefusesAFontItCannotRead) {
    const std::string good = readFile(testing::kDejaVu + "DejaVuSans.ttf");
    OneFile source(good.substr(0, good.size() / 2));  // the bad fonts: true_type_font_test.cpp
    PdfPrinter printer(t.path(), source);
    EXPECT_EQ(errorOf([&] { printer.advance(kSans, "x"); }), err::kPrinterError);
    EXPECT_EQ(errorOf([&] { printer.metrics(kSans); }), err::kPrinterError);
    EXPECT_EQ(errorOf([&] { print(printer, kJob, "x"); }), err::kPrinterError);
    printer.cancelJob();
    // Nothing bad was kept: once the font is there, it is used.
    source.bytes_ = good;
    EXPECT_NEAR(printer.advance(kSans, w("Größe: äöü ÄÖÜ ß")), 18483 * kPerUnit, 1e-9);
    EXPECT_EQ(print(printer, kJob, "x"), fs::joinPath(t.path(), "2026-12-05_14-03-27_job001.pdf"));
    EXPECT_EQ(errorOf([&] {
                  PdfPrinter(t.path(), fonts).advance(DeviceFont{"Gibt es nicht", 10}, "x");
              }),
              err::kPrinterError);
}

TEST_F(PdfPrinterTest, EachFileCarriesOneSmallSubsetPerFontFileAndTheTitle) {
    // Two families the system resolves to one file, in one job.
    OneFile source(readFile(testing::kDejaVu + "DejaVuSans.ttf"));
    PdfPrinter printer(t.path(), source);
    JobInfo job = kJob;
    job.document.kind = w("Prüfung");
    printer.beginJob(job);
    printer.text(1000, 1000, w("Größe"), DeviceFont{"Verdana", 10}, 0);
    printer.newPage();
    printer.text(1000, 1000, w("Straße"), DeviceFont{"DejaVu Sans", 12, false, false, true}, 0);
    const std::string pdf = *fs::readWholeFile(printer.endJob());
    ASSERT_NE(pdf.find("/FontFile2"), std::string::npos);
    EXPECT_EQ(pdf.find("/FontFile2"), pdf.rfind("/FontFile2")) << "one subset for both";
    EXPECT_NE(pdf.find("/Title <FEFF0050007200FC"), std::string::npos);  // "Prü"
    EXPECT_NE(pdf.find("/CreationDate (D:20261205140327)"), std::string::npos);
    // The font file is 740 KB; the PDF holds a handful of its glyphs.
    EXPECT_LT(pdf.size(), 6000u);
}

}  // namespace
}  // namespace lumaro::pdf

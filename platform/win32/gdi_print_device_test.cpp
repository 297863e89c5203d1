// The GDI device on Wine's spooler with the tests' PostScript driver (scripts/wine-prefix.sh):
// its faults and a port that would ask for a file name (jobs: the end-to-end runs), and GDI's
// font files for the PDF printer.
#include "platform/win32/gdi_print_device.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "pdf/true_type_font.h"
#include "platform/win32/gdi_font_source.h"
#include "platform/win32/wide_text.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

namespace fs = std::filesystem;

// A printer on the tests' PostScript driver, removed again at the end.
struct TestPrinter {
    std::wstring name;
    bool added = false;
    TestPrinter(const std::wstring& printer, const std::wstring& port) : name(printer) {
        PRINTER_INFO_2W info{};
        info.pPrinterName = name.data();
        info.pPortName = const_cast<wchar_t*>(port.c_str());
        info.pDriverName = const_cast<wchar_t*>(L"Lumaro Test PS");
        info.pPrintProcessor = const_cast<wchar_t*>(L"winprint");
        info.pDatatype = const_cast<wchar_t*>(L"RAW");
        info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        if (HANDLE h = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info))) {
            ::ClosePrinter(h);
            added = true;
        }
    }
    ~TestPrinter() {
        HANDLE h = nullptr;
        PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (::OpenPrinterW(name.data(), &h, &access)) {
            ::DeletePrinter(h);
            ::ClosePrinter(h);
        }
    }
};

// The spooler may still be writing the file when EndDoc has returned.
std::string waitForJob(const fs::path& file, int tries = 100) {
    std::string ps;
    while (tries-- > 0 && ps.find("%%EOF") == std::string::npos) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ifstream in(file, std::ios::binary);
        ps.assign(std::istreambuf_iterator<char>(in), {});
    }
    return ps;
}

struct GdiDeviceTest : ::testing::Test {
    fs::path folder =
        fs::temp_directory_path() / ("lumaro-device-" + std::to_string(::GetCurrentProcessId()));
    DeviceFont verdana{"Verdana", 10};

    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

TEST_F(GdiDeviceTest, PrinterFaultsAreError482AndNothingIsHalfPrinted) {
    GdiPrintDevice gone("Kein solcher Drucker", "");
    EXPECT_EQ(testing::errorOf([&] { gone.checkReady(); }), err::kPrinterError);
    EXPECT_EQ(testing::errorOf([&] { gone.beginJob({}); }), err::kPrinterError);
    // Layouts still measure, on an A4 sheet at 600 dpi.
    EXPECT_NEAR(gone.geometry(1).areaWidth, 210 / 25.4 * 600, 1);

    TestPrinter printer(L"Lumaro Gerätetest", (folder / "port.ps").wstring());
    ASSERT_TRUE(printer.added)
        << "the driver \"Lumaro Test PS\" is missing: run scripts/wine-prefix.sh";
    GdiPrintDevice device(ansi("Lumaro Gerätetest"), "");
    // A call that fails in the middle of a job: the job is cancelled, nothing reaches paper.
    device.beginJob({});
    device.text(300, 300, "verworfen", verdana, 0);
    EXPECT_EQ(testing::errorOf([&] {
                  device.picture(DeviceRect{0, 0, 10, 10}, Image{});
              }),
              err::kPrinterError);
    device.cancelJob();
    EXPECT_EQ(waitForJob(folder / "port.ps", 10).find("%%Pages: 1"), std::string::npos);
}

TEST_F(GdiDeviceTest, APortThatWouldAskForAFileNameWritesIntoTheFolderInstead) {
    TestPrinter printer(L"Lumaro Dateidrucker", L"FILE:");
    ASSERT_TRUE(printer.added);
    const std::string out = ansiFromWide(folder.wstring()) + ansi("\\Ausdrücke");
    GdiPrintDevice device("Lumaro Dateidrucker", out);
    device.checkReady();
    JobInfo job;
    job.number = 7;
    job.started = DateTime{2026, 3, 1, 14, 3, 27};
    for (const char* name : {"job007.prn", "job007_2.prn"}) {  // the same second twice
        device.beginJob(job);
        device.text(300, 300, "in eine Datei", verdana, 0);
        const std::string file = device.endJob();
        EXPECT_EQ(file, out + "\\2026-03-01_14-03-27_" + name);
        EXPECT_NE(waitForJob(wideFromAnsi(file)).find("%%Pages: 1"), std::string::npos);
    }
}

TEST(GdiFontSource, TheFileOfEachFamilyAndStyleMeasuresAsGdiDoes) {
    GdiFontSource source;
    // Any printer measures in the same proportions: a gone one on the screen.
    GdiPrintDevice gdi("Kein Drucker", "");
    const std::string text = ansi("Wartezeiten enden am: Fleisch 09.12.2026 € „Öl“");
    std::string previous;
    for (const char* family : {"Verdana", "Arial", "Times New Roman", "Courier New"}) {
        for (int style = 0; style < 4; ++style) {
            const bool bold = style & 1, italic = style & 2;
            SCOPED_TRACE(std::string(family) + (bold ? " bold" : "") + (italic ? " italic" : ""));
            const pdf::FontFile file = source.fontFile(family, bold, italic);
            ASSERT_GT(file.bytes.size(), 10000u);
            EXPECT_NE(file.bytes, previous);  // each style its own face
            previous = file.bytes;
            const pdf::TrueTypeFont font(file.bytes, file.faceIndex);
            const DeviceFont asked{family, 10, bold, italic, false};
            // Both in ems: GDI's advance at 10 points over the em at 600 dpi.
            EXPECT_NEAR(gdi.advance(asked, text) / (10.0 / 72 * 600),
                        static_cast<double>(font.advance(text)) / font.facts().unitsPerEm, 0.002);
        }
    }
}

}  // namespace
}  // namespace lumaro::platform

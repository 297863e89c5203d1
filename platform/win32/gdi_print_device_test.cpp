// The GDI device on a real spooler: Wine's PostScript driver with the tests'
// PPD (scripts/wine-prefix.sh installs it as "Lumaro Test PS"). Each test adds
// its own printer whose port is a file, so a job's PostScript can be read back.
#include "platform/win32/gdi_print_device.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/win32/wide_text.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

std::wstring tempFolder() {
    wchar_t buf[MAX_PATH];
    const DWORD n = ::GetTempPathW(MAX_PATH, buf);
    std::wstring folder(buf, n);
    folder += L"lumaro-device-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// A printer on the tests' PostScript driver, removed again at the end.
class TestPrinter {
  public:
    TestPrinter(const std::wstring& name, const std::wstring& port) : name_(name) {
        PRINTER_INFO_2W info{};
        info.pPrinterName = const_cast<wchar_t*>(name.c_str());
        info.pPortName = const_cast<wchar_t*>(port.c_str());
        info.pDriverName = const_cast<wchar_t*>(L"Lumaro Test PS");
        info.pPrintProcessor = const_cast<wchar_t*>(L"winprint");
        info.pDatatype = const_cast<wchar_t*>(L"RAW");
        info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        HANDLE h = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
        if (h)
            ::ClosePrinter(h);
        added_ = h != nullptr;
    }
    ~TestPrinter() {
        HANDLE h = nullptr;
        PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (::OpenPrinterW(const_cast<wchar_t*>(name_.c_str()), &h, &access)) {
            ::DeletePrinter(h);
            ::ClosePrinter(h);
        }
    }
    bool added() const { return added_; }

  private:
    std::wstring name_;
    bool added_ = false;
};

std::string readFile(const std::wstring& path) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string out;
    char buf[65536];
    DWORD n = 0;
    while (::ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0)
        out.append(buf, n);
    ::CloseHandle(h);
    return out;
}

// The spooler may still be writing the port file when EndDoc has returned.
std::string waitForJob(const std::wstring& path, int tries = 100) {
    std::string ps;
    for (int i = 0; i < tries; ++i) {
        ps = readFile(path);
        if (ps.find("%%EOF") != std::string::npos)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return ps;
}

JobInfo job(int number, DateTime started, int orientation) {
    JobInfo info;
    info.number = number;
    info.started = started;
    info.orientation = orientation;
    return info;
}

class GdiDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = tempFolder();
        port_ = folder_ + L"\\port.ps";
        ::DeleteFileW(port_.c_str());
        printer_ = std::make_unique<TestPrinter>(L"Lumaro Gerätetest", port_);
        ASSERT_TRUE(printer_->added())
            << "the driver \"Lumaro Test PS\" is missing: run scripts/wine-prefix.sh";
    }
    void TearDown() override {
        printer_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::wstring folder_, port_;
    std::unique_ptr<TestPrinter> printer_;
    DeviceFont verdana{"Verdana", 10};
};

// Geometry, measuring and whole jobs in both orientations are checked on every
// example by the end-to-end tests (tests/e2e/test_windows.py), against the
// fonts' own widths and the PostScript the spooler wrote.

TEST_F(GdiDeviceTest, PrinterFaultsAreError482AndNothingIsHalfPrinted) {
    GdiPrintDevice gone("Kein solcher Drucker", "");
    EXPECT_EQ(testing::errorOf([&] { gone.checkReady(); }), err::kPrinterError);
    EXPECT_EQ(testing::errorOf([&] { gone.beginJob(job(1, {}, 1)); }), err::kPrinterError);
    // Layouts still measure, on an A4 sheet at 600 dpi.
    EXPECT_NEAR(gone.geometry(1).areaWidth, 210 / 25.4 * 600, 1);
    EXPECT_GT(gone.advance(verdana, "x"), 0);

    GdiPrintDevice device(ansi("Lumaro Gerätetest"), "");
    EXPECT_EQ(device.realisedFace(verdana), "Verdana");
    EXPECT_EQ(testing::errorOf([&] { device.text(0, 0, "x", verdana, 0); }), err::kPrinterError);
    EXPECT_EQ(testing::errorOf([&] { device.endJob(); }), err::kPrinterError);
    // A broken picture fails the job; cancelJob after it is harmless.
    device.beginJob(job(1, {}, 1));
    device.text(300, 300, "verworfen", verdana, 0);
    EXPECT_EQ(testing::errorOf([&] {
                  device.picture(DeviceRect{0, 0, 10, 10}, Image{});
              }),
              err::kPrinterError);
    device.cancelJob();
    EXPECT_EQ(testing::errorOf([&] { device.newPage(); }), err::kPrinterError);
    EXPECT_EQ(waitForJob(port_, 10).find("%%Pages: 1"), std::string::npos);
}

TEST_F(GdiDeviceTest, APortThatWouldAskForAFileNameWritesIntoTheFolderInstead) {
    TestPrinter filePrinter(L"Lumaro Dateidrucker", L"FILE:");
    ASSERT_TRUE(filePrinter.added());
    const std::string folder = ansiFromWide(folder_) + ansi("\\Ausdrücke");
    GdiPrintDevice device("Lumaro Dateidrucker", folder);
    device.checkReady();
    device.beginJob(job(7, DateTime{2026, 3, 1, 14, 3, 27}, 1));
    device.text(300, 300, "in eine Datei", verdana, 0);
    const std::string file = device.endJob();
    EXPECT_EQ(file, folder + "\\2026-03-01_14-03-27_job007.prn");
    EXPECT_NE(waitForJob(wideFromAnsi(file)).find("%%Pages: 1"), std::string::npos);
    // The next job of the same second gets a name of its own.
    device.beginJob(job(7, DateTime{2026, 3, 1, 14, 3, 27}, 1));
    device.text(300, 300, "noch einmal", verdana, 0);
    EXPECT_EQ(device.endJob(), folder + "\\2026-03-01_14-03-27_job007_2.prn");
}

}  // namespace
}  // namespace lumaro::platform

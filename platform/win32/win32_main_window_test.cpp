// The real window under Wine's null display driver, driven by the run: its
// size from the twips of the design, centring, the label on the list's
// baseline (read from the painted pixels), keys, the list, the exit timer,
// and what happens to an error inside the message loop.
#include "platform/win32/win32_main_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "app/run.h"
#include "printing/printer_list.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

using lumaro::testing::FakePrinterSystem;
using lumaro::testing::TestWorld;

struct WindowFixture : ::testing::Test {
    TestWorld world;
    Win32MainWindow window{false};
    FakePrinterSystem system{{"Lumaro-Test", "Etiketten"}, "Lumaro-Test"};
    PrinterList printers{world.surface, system, "", world.folder.path()};
    Renderers renderers;
    std::unique_ptr<LumaroRun> run;

    void SetUp() override {
        ASSERT_NE(window.handle(), nullptr) << "no window: is Wine's null display driver set?";
        world.folder.write("Halmor.ini", "[Drucker]\r\nLabeldrucker=\r\n");
        world.folder.write("Halmor.mdb", "");
        run = std::make_unique<LumaroRun>(
            RunSetup{world.context, window, printers, renderers, "", false});
        window.onListClicked = [this] { run->onListClicked(); };
        window.onListKeyUp = [this] { run->onListKeyUp(); };
        window.onAboutToUnload = [this] { run->onAboutToUnload(); };
        window.onUnloaded = [this] { run->onUnloaded(); };
    }

    void postKey(HWND target, UINT vk) {
        ::PostMessageW(target, WM_KEYDOWN, vk, 1);
        ::PostMessageW(target, WM_KEYUP, vk, 1 | (1u << 30) | (1u << 31));
    }
};

// The lowest row of a region whose pixels differ from the region's own
// background: the baseline of a text without descenders.
int lowestInkRow(HDC dc, const RECT& r) {
    const COLORREF background = ::GetPixel(dc, r.right - 2, r.top + 1);
    int lowest = -1;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = ::GetPixel(dc, x, y);
            const int d = std::abs(GetRValue(c) - GetRValue(background)) +
                          std::abs(GetGValue(c) - GetGValue(background)) +
                          std::abs(GetBValue(c) - GetBValue(background));
            if (d > 200) {
                lowest = y;
                break;
            }
        }
    }
    return lowest;
}

TEST_F(WindowFixture, TheRunFitsTheWindowToTheListCentresItAndSetsTheLabelOnTheListsBaseline) {
    run->load();
    EXPECT_FALSE(run->printed());
    ASSERT_TRUE(::IsWindowVisible(window.handle()));
    // Its size in twips and its place on the screen are checked from outside
    // by the end-to-end tests (tests/e2e/test_windows.py).
    EXPECT_EQ(window.caption(), lumaro::testing::w(kWindowCaptionUtf8));
    EXPECT_EQ(window.listText(), "Lumaro-Test");

    // The painted window: the lowest ink of "Drucker:" and of "Lumaro-Test"
    // (neither has a descender) lie on one row.
    ::RedrawWindow(window.handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = ::GetDC(window.handle());
    RECT label{}, field{};
    ::GetWindowRect(window.labelHandle(), &label);
    ::MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&label), 2);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(window.listHandle(), &info));
    field = info.rcItem;
    ::MapWindowPoints(window.listHandle(), window.handle(), reinterpret_cast<POINT*>(&field), 2);
    const int labelBaseline = lowestInkRow(dc, label);
    const int listBaseline = lowestInkRow(dc, field);
    ::ReleaseDC(window.handle(), dc);
    ASSERT_GT(labelBaseline, 0);
    EXPECT_NEAR(labelBaseline, listBaseline, 1);
}

TEST_F(WindowFixture, TheExitTimerUnloadsTheWindowAndAnErrorInTheLoopReachesTheCaller) {
    run->load();
    const auto start = std::chrono::steady_clock::now();
    window.startExitTimer(200);
    window.runUntilUnloaded();
    EXPECT_TRUE(window.isUnloaded());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));

    Win32MainWindow second(false);
    second.onListKeyUp = [] { throw std::runtime_error("Liste"); };
    second.show();
    postKey(second.listHandle(), 'A');
    EXPECT_THROW(second.runUntilUnloaded(), std::runtime_error);
    EXPECT_FALSE(second.isUnloaded());
}

TEST(Win32MainWindowUnattended, WithoutAWindowTheStateStillWorksAndNothingWaits) {
    Win32MainWindow window(true);
    EXPECT_EQ(window.handle(), nullptr);
    const TwipsRect inner = window.innerGeometry();
    EXPECT_NEAR(inner.width, 5430, window.twipsX(1));
    EXPECT_NEAR(inner.height, 1230, window.twipsY(1));
    const TwipsRect outer = window.outerGeometry();
    window.setOuterGeometry({100, 200, outer.width - 135, outer.height});
    EXPECT_NEAR(window.innerGeometry().width, 5295, window.twipsX(1));
    window.addListItem("A");
    window.addListItem("B");
    int clicks = 0;
    window.onListClicked = [&] { ++clicks; };
    window.selectListIndex(1);
    window.selectListIndex(7);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(window.listText(), "");
    window.show();
    window.runUntilUnloaded();
    EXPECT_TRUE(window.isUnloaded());
}

}  // namespace
}  // namespace lumaro::platform

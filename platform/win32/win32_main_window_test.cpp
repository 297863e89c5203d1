// The real window under Wine's null display driver, driven by the run: the
// label on the list's baseline (read from the painted pixels) and an error in
// the message loop. Its size, place, list, keys and timer are checked from
// outside by the end-to-end tests.
#include "platform/win32/win32_main_window.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/run.h"
#include "printing/printer_list.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

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

TEST(Win32MainWindow, TheLabelStandsOnTheListsBaselineAndAnErrorInTheLoopReachesTheCaller) {
    lumaro::testing::TestWorld world;
    world.folder.write("Halmor.ini", "[Drucker]\r\nLabeldrucker=\r\n");
    world.folder.write("Halmor.mdb", "");
    lumaro::testing::FakePrinterSystem system{{"Lumaro-Test", "Etiketten"}, "Lumaro-Test"};
    PrinterList printers{world.surface, system, "", world.folder.path()};
    Renderers renderers;
    Win32MainWindow window(false);
    ASSERT_NE(window.handle(), nullptr) << "no window: is Wine's null display driver set?";
    LumaroRun run(RunSetup{world.context, window, printers, renderers, "", false});
    run.load();
    ASSERT_TRUE(::IsWindowVisible(window.handle()));
    EXPECT_EQ(window.listText(), "Lumaro-Test");
    // Neither "Drucker:" nor "Lumaro-Test" has a descender: their lowest ink lies on one row.
    ::RedrawWindow(window.handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = ::GetDC(window.handle());
    RECT label{};
    ::GetWindowRect(window.labelHandle(), &label);
    ::MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&label), 2);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(window.listHandle(), &info));
    RECT field = info.rcItem;
    ::MapWindowPoints(window.listHandle(), window.handle(), reinterpret_cast<POINT*>(&field), 2);
    const int labelBaseline = lowestInkRow(dc, label);
    const int listBaseline = lowestInkRow(dc, field);
    ::ReleaseDC(window.handle(), dc);
    ASSERT_GT(labelBaseline, 0);
    EXPECT_NEAR(labelBaseline, listBaseline, 1);

    window.onListKeyUp = [] { throw std::runtime_error("Liste"); };
    ::PostMessageW(window.listHandle(), WM_KEYDOWN, 'A', 1);
    ::PostMessageW(window.listHandle(), WM_KEYUP, 'A', 1 | (1u << 30) | (1u << 31));
    EXPECT_THROW(window.runUntilUnloaded(), std::runtime_error);
    EXPECT_FALSE(window.isUnloaded());
}

}  // namespace
}  // namespace lumaro::platform

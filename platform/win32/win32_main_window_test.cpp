// The window under Wine's null display driver, filled by the run (its size, place, list, keys
// and timer: the end-to-end runs).
#include "platform/win32/win32_main_window.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/run.h"
#include "printing/printer_list.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

// The lowest row of a region with pixels unlike its background: a text's baseline.
int lowestInkRow(HDC dc, const RECT& r) {
    const COLORREF bg = ::GetPixel(dc, r.right - 2, r.top + 1);
    for (int y = r.bottom - 1; y >= r.top; --y) {
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = ::GetPixel(dc, x, y);
            if (std::abs(GetRValue(c) - GetRValue(bg)) + std::abs(GetGValue(c) - GetGValue(bg)) +
                    std::abs(GetBValue(c) - GetBValue(bg)) >
                200)
                return y;
        }
    }
    return -1;
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

// The program's only window on Windows, made of plain Win32 controls: the
// label "Drucker:" and the printer list (a drop-down list), the exit timer,
// closing with Esc or the close box. Geometry is reported and set in twips at
// the screen's resolution (px = twips * LOGPIXELS / 1440).
//
// The program sets the event hooks of ProgramWindow (onListClicked: the user
// or the program chose an item; onListKeyUp: any key released in the list;
// onAboutToUnload: never cancels; onUnloaded). Each may be left empty.
//
// Unattended, or where no window can be made (no display), the window exists
// only as its state: geometry, list and selection work as usual, show() does
// nothing and waiting for the user ends at once, so nothing ever waits.
//
// The window sees a key released in the list before the list does (the
// designer's key preview): runUntilUnloaded's loop looks at every key-up before
// dispatching it. Events from the message loop (a choice in the list, a key,
// the timer, the close box) must not throw through Windows' own frames: a
// callback's exception is kept, an open message box of the program is closed
// (Win32MessageBoxes::show then rethrows it to its caller), else the loop ends
// and runUntilUnloaded rethrows it. Calls made by the program itself
// (selectListIndex, unload) let exceptions pass as usual.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"

namespace lumaro::platform {

class Win32MainWindow : public ProgramWindow {
  public:
    explicit Win32MainWindow(bool unattended);
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // The window, or nullptr when there is none (unattended, no display).
    HWND handle() const { return window_; }
    HWND listHandle() const { return list_; }
    HWND labelHandle() const { return label_; }

    // Rethrows what a callback threw inside the message loop, if anything.
    void rethrowPendingException();
    void runUntilUnloaded() override;
    bool isUnloaded() const override { return unloaded_; }

    std::string caption() const override;
    TwipsRect outerGeometry() const override;
    TwipsRect innerGeometry() const override;
    TwipsRect listGeometry() const override;
    double screenWidth() const override;
    double screenHeight() const override;
    void setOuterGeometry(const TwipsRect& r) override;
    void show() override;

    void addListItem(const std::string& name) override;
    // -1 (or an index out of range) leaves the list without selection; a valid
    // index raises onListClicked.
    void selectListIndex(int index) override;
    std::string listText() const override;

    void startExitTimer(int ms) override;
    void unload() override;

    // Twips and pixels of this screen.
    int pxX(double twips) const;
    int pxY(double twips) const;
    double twipsX(double px) const;
    double twipsY(double px) const;

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    LRESULT onMessage(UINT message, WPARAM w, LPARAM l);
    void create();
    void placeLabelOnListBaseline();
    void fromEventLoop(const std::function<void()>& f);
    void keyUp(HWND target, WPARAM key);
    bool isListWindow(HWND target) const;

    bool unattended_;
    bool unloaded_ = false;
    bool timerStarted_ = false;
    double dpiX_ = 96, dpiY_ = 96;
    DWORD style_, exStyle_;
    HWND window_ = nullptr, label_ = nullptr, list_ = nullptr, tooltip_ = nullptr;
    HFONT labelFont_ = nullptr, listFont_ = nullptr;
    // The state, kept also where there is no window: outer rectangle and
    // client size in pixels, the list's rectangle in the client area.
    RECT outer_{};
    SIZE client_{};
    RECT listRect_{};
    std::vector<std::string> items_;
    int selected_ = -1;
    std::exception_ptr pending_;
};

}  // namespace lumaro::platform

// The run's message boxes on Windows (app/run_messages.h): MessageBoxW with
// the icon the message asks for and one OK button, the text converted from
// Windows-1252 by the core's own table.
//
// While a box waits, the window's events still run (its timer). When one of
// them fails (the window keeps the error, see win32_main_window.h), the box is
// answered and show() rethrows that error to its caller, as if the message had
// raised it. A box Windows refuses to show (there is no desktop to show it on)
// is written to fallback as the unattended line instead, so no message is lost.
#pragma once

#include <iosfwd>
#include <string>

#include "app/run_messages.h"
#include "platform/win32/win32_main_window.h"

namespace lumaro::platform {

class Win32MessageBoxes : public MessageBoxes {
  public:
    explicit Win32MessageBoxes(std::ostream& fallback) : fallback_(fallback) {}

    // Boxes belong to the window (modal to it) once it is given.
    void setWindow(Win32MainWindow* window) { window_ = window; }

    void show(const std::string& text, const std::string& title, MessageIcon icon) override;

  private:
    std::ostream& fallback_;
    Win32MainWindow* window_ = nullptr;
};

}  // namespace lumaro::platform

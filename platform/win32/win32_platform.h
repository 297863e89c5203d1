// Windows: the run on the Win32 API. The window and message boxes of user32,
// the spooler's printers through GDI, GDI+ for pictures, the user's regional
// settings, and the fonts the documents name (Windows has them).
//
// Texts the system hands over (arguments, variables, paths) are UTF-16 there;
// lumaro.exe gives them to the program as UTF-8, and this platform reads its
// option paths as UTF-8 again (see main_win32.cpp).
#pragma once

#include <iosfwd>
#include <string>

#include "app/program.h"
#include "platform/win32/gdiplus_picture_loader.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_messages.h"
#include "platform/win32/win32_printers.h"

namespace lumaro::platform {

class Win32Platform : public Platform {
  public:
    // Unattended, no window is made. err receives a message that a box could
    // not show.
    Win32Platform(bool unattended, std::ostream& err);

    // Absolute, without a trailing separator (but "C:\" for a drive's root).
    std::string programFolder(const std::optional<std::string>& given) override;
    std::string absolutePath(const std::string& given) override;
    std::filesystem::path nativePath(const std::string& given) override;
    Regional regional() override;
    const FontTable& fonts() override;
    // nullptr when no window could be made: there is no desktop to show a box on.
    MessageBoxes* boxes() override { return display_ ? &boxes_ : nullptr; }
    ProgramWindow& window() override { return window_; }
    PrinterSystem& printers() override { return printers_; }
    pdf::FontSource& pdfFonts() override { return printers_.pdfFonts(); }
    PictureLoader& pictures() override { return pictures_; }

    // Whether windows and boxes can be shown: an interactive desktop on which
    // the window could be made (attended runs only try).
    bool display() const { return display_; }

  private:
    Win32MainWindow window_;
    Win32MessageBoxes boxes_;
    Win32PrinterSystem printers_;
    GdiplusPictureLoader pictures_;
    bool display_ = false;
};

// A UTF-8 path as Windows spells it, made absolute, Windows-1252 as the core
// keeps paths ('?' for a character the code page lacks).
std::string absoluteAnsiPath(const std::string& utf8);

}  // namespace lumaro::platform

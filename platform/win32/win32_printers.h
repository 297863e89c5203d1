// The printers of this Windows machine: the spooler's list (local printers and
// connections to shared ones, in the spooler's order), its default, a GDI
// device for each, and the built-in PDF printer.
//
// Construction, once per run:
//     Win32PrinterSystem printers(programFolder + "\\Ausdrucke");
// fileFolder is where a printer whose port would ask the user for a file name
// puts its jobs instead (see gdi_print_device.h).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/gdi_font_source.h"
#include "printing/printer_system.h"

namespace lumaro::platform {

class Win32PrinterSystem : public PrinterSystem {
  public:
    explicit Win32PrinterSystem(std::string fileFolder);
    // For the printers opened from now on.
    void setFileFolder(std::string folder) { fileFolder_ = std::move(folder); }

    // Windows-1252 names; a name with a character outside the code page
    // keeps '?' for it (and then cannot be opened: the spooler knows no such
    // printer, which checkReady reports as 482).
    std::vector<std::string> names() override;
    std::string defaultName() override;
    std::shared_ptr<PrintDevice> open(const std::string& name) override;
    // The core's PDF printer, with the fonts GDI draws with.
    std::shared_ptr<PrintDevice> openPdf(const std::string& folder) override;

    pdf::FontSource& pdfFonts() { return fonts_; }

  private:
    std::string fileFolder_;
    GdiFontSource fonts_;
    // Each printer is opened once per run, so that one chosen again keeps
    // the widths it has measured.
    std::map<std::string, std::shared_ptr<PrintDevice>> opened_;
};

}  // namespace lumaro::platform

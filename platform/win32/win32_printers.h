// The printers of this Windows machine: the spooler's list (local printers and
// connections to shared ones, in the spooler's order), its default, a GDI
// device for each, and the built-in PDF printer.
//
// Construction, once per run:
//     Win32PrinterSystem printers(programFolder + "\\Ausdrucke");
// fileFolder is where a printer whose port would ask the user for a file name
// puts its jobs instead (see gdi_print_device.h).
#pragma once

#include <string>
#include <vector>

#include "printing/printer_system.h"

namespace lumaro::platform {

class Win32PrinterSystem : public PrinterSystem {
  public:
    explicit Win32PrinterSystem(std::string fileFolder);

    // Windows-1252 names; a name with a character outside the code page
    // keeps '?' for it (and then cannot be opened: the spooler knows no such
    // printer, which checkReady reports as 482).
    std::vector<std::string> names() override;
    std::string defaultName() override;
    std::shared_ptr<PrintDevice> open(const std::string& name) override;
    std::shared_ptr<PrintDevice> openPdf(const std::string& folder) override;

  private:
    std::string fileFolder_;
};

}  // namespace lumaro::platform

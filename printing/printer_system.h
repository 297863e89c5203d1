// What the platform offers of its printers: the spooler's list, its default,
// and a device for each, plus the built-in PDF printer. The printer list above
// it (printer_list.h) holds the rules: which printer is current at start, the
// built-in printer last in the list, where its PDF files go.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "printing/print_device.h"

namespace lumaro {

// The built-in PDF printer's device name, always last in the printer list.
inline constexpr const char* kPdfPrinterName = "Lumaro PDF";

class PrinterSystem {
  public:
    virtual ~PrinterSystem() = default;

    // The system's printers in the spooler's order (Windows-1252 names).
    virtual std::vector<std::string> names() = 0;
    // The system's default printer, "" when it names none.
    virtual std::string defaultName() = 0;
    // A device for the system printer of that name. Opening never fails: a
    // printer that has gone reports it through checkReady (482).
    virtual std::shared_ptr<PrintDevice> open(const std::string& name) = 0;
    // The built-in printer "Lumaro PDF" writing one PDF file per job into
    // folder (Windows-1252; made when missing).
    virtual std::shared_ptr<PrintDevice> openPdf(const std::string& folder) = 0;
};

}  // namespace lumaro

// The installed printers as the run sees them: the system's printers in the
// spooler's order, then the built-in "Lumaro PDF" last. Choosing one makes it
// the surface's current printer.
//
// The printer current at start follows printing/printer_choice.h: --pdf, else
// the system's default, else the first system printer that is not the saved
// label printer, else the built-in printer writing into
// <program folder>/Ausdrucke. The label printer is known only once the run has
// read Halmor.ini, so the run calls chooseStartPrinter then; until then the
// printer the rule gives without a label printer is current.
// The built-in printer writes into the PDF folder when one was given, else into
// <program folder>/Ausdrucke, whichever way it became current.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "printing/print_surface.h"
#include "printing/printer_system.h"

namespace lumaro {

class PrinterList : public Printers {
  public:
    // pdfFolder empty when no --pdf was given; folders are Windows-1252. Makes
    // the printer current at start current on surface. Both must outlive it.
    PrinterList(PrintSurface& surface, PrinterSystem& system, const std::string& pdfFolder,
                const std::string& programFolder);

    int count() const override;
    // Windows-1252; an index out of range gives "".
    std::string deviceName(int index) const override;
    // An index out of range raises RuntimeError 9.
    void makeCurrent(int index) override;
    std::string chooseStartPrinter(const std::string& labelPrinter) override;

    // True when the start printer is the built-in one for want of a usable
    // system printer: each PDF it writes is to be announced to the user.
    bool announcesPdfFiles() const { return announce_; }

    // Where the built-in printer writes.
    const std::string& pdfFolder() const { return pdfFolder_; }

  private:
    void usePdfPrinter();

    PrintSurface& surface_;
    PrinterSystem& system_;
    std::vector<std::string> names_;
    std::string default_;
    bool pdfGiven_;
    std::string pdfFolder_;
    bool announce_ = false;
    int current_ = -1;
};

}  // namespace lumaro

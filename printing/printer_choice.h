// Which printer the documents of a run go to.
//
// The rule, in this order:
//  - a PDF folder was given (--pdf / LUMARO_PDF): the built-in printer;
//  - the system names a default printer that is installed: that printer;
//  - no default: the first system printer that is not the saved label printer
//    (a label printer takes a three-page record badly, and with CUPS a machine
//    without a default is common);
//  - no system printer, or none but the label printer: the built-in printer,
//    writing into the subfolder Ausdrucke of the program folder; each file it
//    writes is then announced (app/pdf_announcement.h), so that no document is
//    ever silently somewhere else.
//
//     PrinterChoice c = choosePrinter({"Etiketten", "Buero"}, "", "Etiketten", false);
//     // c.systemIndex == 1, c.reason names "Buero" and why
#pragma once

#include <string>
#include <vector>

namespace lumaro {

struct PrinterChoice {
    // Index into the system printers; -1 for the built-in PDF printer.
    int systemIndex = -1;
    // True when the built-in printer writes into Ausdrucke because no usable
    // system printer is there: every file it writes is announced.
    bool announcePdfFiles = false;
    // One day-log line (Windows-1252) saying which printer and why, when the
    // choice is not simply --pdf or the system's default; empty otherwise.
    std::string reason;
};

// Names are Windows-1252 and compared exactly, as the printer list compares
// them. defaultPrinter and labelPrinter are empty when there is none.
PrinterChoice choosePrinter(const std::vector<std::string>& systemPrinters,
                            const std::string& defaultPrinter, const std::string& labelPrinter,
                            bool pdfFolderGiven);

}  // namespace lumaro

#include "printing/printer_choice.h"

#include <algorithm>

#include "support/codepage.h"

namespace lumaro {

PrinterChoice choosePrinter(const std::vector<std::string>& systemPrinters,
                            const std::string& defaultPrinter, const std::string& labelPrinter,
                            bool pdfFolderGiven) {
    PrinterChoice c;
    if (pdfFolderGiven)
        return c;
    const std::string intoAusdrucke =
        ansi("; die Dokumente werden als PDF-Dateien im Ordner Ausdrucke gespeichert.");
    if (systemPrinters.empty()) {
        c.announcePdfFiles = true;
        c.reason = ansi("Kein Drucker im System") + intoAusdrucke;
        return c;
    }
    if (!defaultPrinter.empty()) {
        const auto it = std::find(systemPrinters.begin(), systemPrinters.end(), defaultPrinter);
        if (it != systemPrinters.end()) {
            c.systemIndex = static_cast<int>(it - systemPrinters.begin());
            return c;
        }
    }
    const bool labelInstalled =
        !labelPrinter.empty() && std::find(systemPrinters.begin(), systemPrinters.end(),
                                           labelPrinter) != systemPrinters.end();
    for (std::size_t i = 0; i < systemPrinters.size(); ++i) {
        if (labelInstalled && systemPrinters[i] == labelPrinter)
            continue;
        c.systemIndex = static_cast<int>(i);
        c.reason = ansi("Kein Standarddrucker im System; die Dokumente gehen an ") +
                   systemPrinters[i] +
                   (labelInstalled ? ansi(", den ersten Drucker, der nicht der Labeldrucker ") +
                                         labelPrinter + " ist."
                                   : ansi(", den ersten Drucker der Liste."));
        return c;
    }
    c.announcePdfFiles = true;
    c.reason = ansi("Kein Standarddrucker im System und kein Drucker außer dem Labeldrucker ") +
               labelPrinter + intoAusdrucke;
    return c;
}

}  // namespace lumaro

#include "printing/printer_list.h"

#include <algorithm>

#include "printing/printer_choice.h"
#include "support/errors.h"
#include "support/file_system.h"

namespace lumaro {

PrinterList::PrinterList(PrintSurface& surface, PrinterSystem& system, const std::string& pdfFolder,
                         const std::string& programFolder)
    : surface_(surface),
      system_(system),
      names_(system.names()),
      default_(system.defaultName()),
      pdfGiven_(!pdfFolder.empty()) {
    pdfFolder_ = pdfFolder.empty() ? fs::joinPath(programFolder, "Ausdrucke") : pdfFolder;
    chooseStartPrinter({});
}

std::string PrinterList::chooseStartPrinter(const std::string& labelPrinter) {
    const PrinterChoice c = choosePrinter(names_, default_, labelPrinter, pdfGiven_);
    announce_ = c.announcePdfFiles;
    const int index = c.systemIndex >= 0 ? c.systemIndex : static_cast<int>(names_.size());
    // Opening the same printer again would only build its device anew.
    if (index != current_)
        makeCurrent(index);
    return c.reason;
}

void PrinterList::usePdfPrinter() {
    surface_.useDevice(system_.openPdf(pdfFolder_));
}

int PrinterList::count() const {
    return static_cast<int>(names_.size()) + 1;
}

std::string PrinterList::deviceName(int index) const {
    const int systemCount = static_cast<int>(names_.size());
    if (index >= 0 && index < systemCount)
        return names_[static_cast<std::size_t>(index)];
    if (index == systemCount)
        return kPdfPrinterName;
    return {};
}

void PrinterList::makeCurrent(int index) {
    const int systemCount = static_cast<int>(names_.size());
    if (index >= 0 && index < systemCount)
        surface_.useDevice(system_.open(names_[static_cast<std::size_t>(index)]));
    else if (index == systemCount)
        usePdfPrinter();
    else
        raiseError(err::kSubscriptOutOfRange);
    current_ = index;
}

}  // namespace lumaro

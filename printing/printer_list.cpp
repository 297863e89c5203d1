#include "printing/printer_list.h"

#include <algorithm>

#include "support/errors.h"
#include "support/file_system.h"

namespace lumaro {

PrinterList::PrinterList(PrintSurface& surface, PrinterSystem& system, const std::string& pdfFolder,
                         const std::string& programFolder)
    : surface_(surface), system_(system), names_(system.names()) {
    pdfFolder_ = pdfFolder.empty() ? fs::joinPath(programFolder, "Ausdrucke") : pdfFolder;
    const std::string def = system_.defaultName();
    if (!pdfFolder.empty() || names_.empty()) {
        usePdfPrinter();
    } else if (!def.empty() && std::find(names_.begin(), names_.end(), def) != names_.end()) {
        surface_.useDevice(system_.open(def));
    } else {
        // Printers but no default: a sheet on a real printer is what the user
        // expects from pressing print, rather than a file somewhere.
        surface_.useDevice(system_.open(names_.front()));
    }
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
}

}  // namespace lumaro

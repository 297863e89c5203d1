#include "platform/qt/qt_printers.h"

#include <QDir>
#include <QPrinterInfo>
#include <utility>
#include <vector>

#include "app/printer_choice.h"
#include "platform/qt/qt_text.h"
#include "support/errors.h"

namespace lumaro::platform {

QtPrinters::QtPrinters(QtPrintSurface& surface, QStringList systemPrinters,
                       const QString& defaultPrinter, const QString& pdfFolder,
                       const QString& programFolder)
    : surface_(surface),
      system_(std::move(systemPrinters)),
      default_(defaultPrinter),
      pdfGiven_(!pdfFolder.isEmpty()) {
    pdfFolder_ =
        pdfFolder.isEmpty() ? QDir(programFolder).filePath(QStringLiteral("Ausdrucke")) : pdfFolder;
    chooseStartPrinter({});
}

std::string QtPrinters::chooseStartPrinter(const std::string& labelPrinter) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(system_.size()));
    for (const QString& n : system_)
        names.push_back(fromQString(n));
    const PrinterChoice c = choosePrinter(names, fromQString(default_), labelPrinter, pdfGiven_);
    announce_ = c.announcePdfFiles;
    const int index = c.systemIndex >= 0 ? c.systemIndex : static_cast<int>(system_.size());
    // Making the same printer current again would only build its device anew.
    if (index != current_)
        makeCurrent(index);
    return c.reason;
}

QtPrinters QtPrinters::fromSystem(QtPrintSurface& surface, const QString& pdfFolder,
                                  const QString& programFolder) {
    QStringList names;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        names << info.printerName();
    const QPrinterInfo def = QPrinterInfo::defaultPrinter();
    return QtPrinters(surface, names, def.isNull() ? QString() : def.printerName(), pdfFolder,
                      programFolder);
}

int QtPrinters::count() const {
    return static_cast<int>(system_.size()) + 1;
}

std::string QtPrinters::deviceName(int index) const {
    if (index >= 0 && index < system_.size())
        return fromQString(system_.at(index));
    if (index == system_.size())
        return kPdfPrinterName;
    return {};
}

void QtPrinters::makeCurrent(int index) {
    if (index >= 0 && index < system_.size())
        surface_.useSystemPrinter(system_.at(index));
    else if (index == system_.size())
        surface_.usePdfPrinter(pdfFolder_);
    else
        raiseError(9);
    current_ = index;
}

}  // namespace lumaro::platform

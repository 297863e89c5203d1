#include "platform/qt/qt_printers.h"

#include <QDir>
#include <QPrinterInfo>
#include <utility>

#include "platform/qt/qt_text.h"
#include "support/errors.h"

namespace lumaro::platform {

QtPrinters::QtPrinters(QtPrintSurface& surface, QStringList systemPrinters,
                       const QString& defaultPrinter, const QString& pdfFolder,
                       const QString& programFolder)
    : surface_(surface), system_(std::move(systemPrinters)) {
    pdfFolder_ =
        pdfFolder.isEmpty() ? QDir(programFolder).filePath(QStringLiteral("Ausdrucke")) : pdfFolder;
    if (!pdfFolder.isEmpty() || system_.isEmpty()) {
        surface_.usePdfPrinter(pdfFolder_);
    } else if (!defaultPrinter.isEmpty() && system_.contains(defaultPrinter)) {
        surface_.useSystemPrinter(defaultPrinter);
    } else {
        // Printers but no default: a sheet on a real printer is what the user
        // expects from pressing print, rather than a file somewhere.
        surface_.useSystemPrinter(system_.front());
    }
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
}

}  // namespace lumaro::platform

// The installed printers as the core sees them: the system's printers in the
// platform's order, then the built-in "Lumaro PDF" last. Choosing one makes it
// the surface's current printer.
//
// The printer current at start follows the rule of app/printer_choice.h:
// --pdf, else the system's default, else the first system printer that is not
// the saved label printer, else the built-in printer writing into
// <program folder>/Ausdrucke. The label printer is known only once the run
// has read Halmor.ini, so the run calls chooseStartPrinter then; until then the
// printer the rule gives without a label printer is current.
// The built-in printer writes into the PDF folder when one was given, else into
// <program folder>/Ausdrucke, whichever way it became current.
//
// Construction (the surface must outlive it):
//     auto printers = QtPrinters::fromSystem(surface, pdfFolder, programFolder);
//     ... printers.chooseStartPrinter(savedLabelPrinter);   // by the run
// pdfFolder empty when no --pdf was given. Tests pass their own list:
//     QtPrinters printers(surface, {"Kyo", "HP"}, "HP", "", "/tmp/prog");
#pragma once

#include <QString>
#include <QStringList>

#include "platform/qt/qt_print_surface.h"
#include "printing/print_surface.h"

namespace lumaro::platform {

class QtPrinters : public Printers {
  public:
    // systemPrinters in the platform's order; defaultPrinter empty when the
    // system names none. Makes the printer current at start current on surface.
    QtPrinters(QtPrintSurface& surface, QStringList systemPrinters, const QString& defaultPrinter,
               const QString& pdfFolder, const QString& programFolder);

    // The same with QPrinterInfo's printers and default.
    static QtPrinters fromSystem(QtPrintSurface& surface, const QString& pdfFolder,
                                 const QString& programFolder);

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
    const QString& pdfFolder() const { return pdfFolder_; }

  private:
    QtPrintSurface& surface_;
    QStringList system_;
    QString default_;
    bool pdfGiven_;
    QString pdfFolder_;
    bool announce_ = false;
    int current_ = -1;
};

}  // namespace lumaro::platform

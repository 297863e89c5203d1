#include "platform/print_job.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdio>

#include "support/errors.h"

namespace lumaro::platform {

namespace {

// Fine enough that positions in the PDF are far below anything a printer can
// show, and what the font engine measures at this size scales cleanly.
constexpr int kPdfResolution = 1200;

void setUpPdf(QPdfWriter& w, QPageLayout::Orientation orientation) {
    w.setResolution(kPdfResolution);
    w.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0),
                                QPageLayout::Millimeter));
    w.setCreator(QStringLiteral("Lumaro"));
    w.setTitle(QStringLiteral("Lumaro"));
}

std::unique_ptr<QPrinter> makePrinter(const QString& name, QPageLayout::Orientation orientation) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return nullptr;
    auto p = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    p->setFullPage(false);  // (0,0) is the printable area's corner, as documents expect
    p->setPageOrientation(orientation);
    p->setDocName(QStringLiteral("Lumaro"));
    p->setCreator(QStringLiteral("Lumaro"));
    return p;
}

DeviceGeometry geometryOf(QPagedPaintDevice& d) {
    // The device's own extent is the area the painter addresses: the PDF page
    // exactly as it is written (whole points), or the printer's printable area.
    DeviceGeometry g;
    g.dpiX = d.logicalDpiX();
    g.dpiY = d.logicalDpiY();
    g.areaWidth = d.width();
    g.areaHeight = d.height();
    return g;
}

QString jobBaseName(const DateTime& t, int jobNumber) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d_%02d-%02d-%02d_job%03d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, jobNumber);
    return QString::fromLatin1(buf);
}

}  // namespace

MeasureDevice::MeasureDevice(const PrintTarget& target, QPageLayout::Orientation orientation) {
    if (!target.pdf)
        device_ = makePrinter(target.name, orientation);
    if (!device_) {
        // The built-in printer, or a printer that has gone: measure as on the
        // PDF page so that layouts still work until drawing reports the fault.
        buffer_ = std::make_unique<QBuffer>();
        auto writer = std::make_unique<QPdfWriter>(buffer_.get());
        setUpPdf(*writer, orientation);
        device_ = std::move(writer);
    }
    geometry_ = geometryOf(*device_);
}

MeasureDevice::~MeasureDevice() = default;

PrintJob::PrintJob(const PrintTarget& target, QPageLayout::Orientation orientation, int jobNumber,
                   const DateTime& started)
    : pdf_(target.pdf) {
    if (pdf_) {
        folder_ = target.pdfFolder;
        if (folder_.isEmpty() || !QDir().mkpath(folder_))
            raiseError(err::kPrinterError);
        baseName_ = jobBaseName(started, jobNumber);
        // Written under a name no reader takes for a document, renamed when
        // the job ends, so that a discarded or broken job leaves no PDF.
        tempPath_ = QDir(folder_).filePath(baseName_ + QStringLiteral(".pdf.part"));
        auto writer = std::make_unique<QPdfWriter>(tempPath_);
        setUpPdf(*writer, orientation);
        device_ = std::move(writer);
    } else {
        device_ = makePrinter(target.name, orientation);
        if (!device_)
            raiseError(err::kPrinterError);
    }
    geometry_ = geometryOf(*device_);
    if (!painter_.begin(device_.get())) {
        if (pdf_)
            QFile::remove(tempPath_);
        raiseError(err::kPrinterError);
    }
    if (auto* printer = dynamic_cast<QPrinter*>(device_.get());
        printer && printer->printerState() == QPrinter::Error) {
        printer->abort();
        painter_.end();
        raiseError(err::kPrinterError);
    }
    active_ = true;
}

PrintJob::~PrintJob() {
    if (active_)
        abort();
}

void PrintJob::newPage() {
    bool ok = device_->newPage();
    if (auto* printer = dynamic_cast<QPrinter*>(device_.get()))
        ok = ok && printer->printerState() != QPrinter::Error;
    if (!ok)
        raiseError(err::kPrinterError);
}

void PrintJob::finish() {
    active_ = false;
    const bool ended = painter_.end();
    bool ok = ended;
    if (auto* printer = dynamic_cast<QPrinter*>(device_.get()))
        ok = ok && printer->printerState() != QPrinter::Error;
    if (!pdf_) {
        if (!ok)
            raiseError(err::kPrinterError);
        return;
    }
    device_.reset();  // closes the file
    if (!ok) {
        QFile::remove(tempPath_);
        raiseError(err::kPrinterError);
    }
    // Never replace a file already there (an earlier run in the same second).
    const QDir dir(folder_);
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const QString name = attempt == 1 ? baseName_ + QStringLiteral(".pdf")
                                          : baseName_ + QStringLiteral("_%1.pdf").arg(attempt);
        const QString path = dir.filePath(name);
        if (QFile::exists(path))
            continue;
        if (QFile::rename(tempPath_, path)) {
            finalPath_ = path;
            return;
        }
        break;
    }
    QFile::remove(tempPath_);
    raiseError(err::kPrinterError);
}

void PrintJob::abort() {
    active_ = false;
    if (auto* printer = dynamic_cast<QPrinter*>(device_.get()))
        printer->abort();
    if (painter_.isActive())
        painter_.end();
    device_.reset();
    if (pdf_)
        QFile::remove(tempPath_);
}

}  // namespace lumaro::platform

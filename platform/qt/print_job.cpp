#include "platform/qt/print_job.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <cstdio>
#include <utility>

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

DeviceGeometry geometryOf(QPaintDevice& d) {
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
    char buf[80];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d_%02d-%02d-%02d_job%03d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, jobNumber);
    return QString::fromLatin1(buf);
}

bool printerFailed(QPaintDevice& d) {
    auto* printer = dynamic_cast<QPrinter*>(&d);
    return printer && printer->printerState() == QPrinter::Error;
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

void checkTarget(const PrintTarget& target) {
    if (target.pdf) {
        if (target.pdfFolder.isEmpty() || !QDir().mkpath(target.pdfFolder))
            raiseError(err::kPrinterError);
    } else if (QPrinterInfo::printerInfo(target.name).isNull()) {
        raiseError(err::kPrinterError);
    }
}

JobRecording::JobRecording(PrintTarget target, QPageLayout::Orientation orientation,
                           const DeviceGeometry& geometry, int jobNumber, const DateTime& started)
    : target_(std::move(target)),
      orientation_(orientation),
      geometry_(geometry),
      jobNumber_(jobNumber),
      started_(started),
      pages_(1) {}

void JobRecording::text(const QPointF& baseline, const QString& text, const QFont& font,
                        const QColor& color) {
    pages_.back().emplace_back(Text{baseline, text, font, color});
}

void JobRecording::line(const QLineF& line, const QPen& pen) {
    pages_.back().emplace_back(Line{line, pen});
}

void JobRecording::outline(const QRectF& rect, const QPen& pen) {
    pages_.back().emplace_back(Outline{rect, pen});
}

void JobRecording::fill(const QRectF& rect, const QColor& color) {
    pages_.back().emplace_back(Fill{rect, color});
}

void JobRecording::image(const QPointF& corner, const QSizeF& extent, const QImage& image) {
    pages_.back().emplace_back(Image{corner, extent, image});
}

void JobRecording::newPage() {
    pages_.emplace_back();
}

void JobRecording::play(QPainter& painter, const DeviceGeometry& actual) const {
    QPagedPaintDevice* device = static_cast<QPagedPaintDevice*>(painter.device());
    // The device is set up like the one measured on, so this is 1:1; should a
    // driver report a slightly different area, the drawing still fills it.
    const double sx = geometry_.areaWidth > 0 ? actual.areaWidth / geometry_.areaWidth : 1;
    const double sy = geometry_.areaHeight > 0 ? actual.areaHeight / geometry_.areaHeight : 1;
    for (std::size_t page = 0; page < pages_.size(); ++page) {
        if (page > 0 && (!device->newPage() || printerFailed(*device)))
            raiseError(err::kPrinterError);
        painter.resetTransform();
        painter.scale(sx, sy);
        for (const Op& op : pages_[page]) {
            if (const auto* t = std::get_if<Text>(&op)) {
                painter.setFont(t->font);
                painter.setPen(t->color);
                painter.drawText(t->baseline, t->text);
            } else if (const auto* l = std::get_if<Line>(&op)) {
                painter.setPen(l->pen);
                painter.drawLine(l->line);
            } else if (const auto* o = std::get_if<Outline>(&op)) {
                painter.setPen(o->pen);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(o->rect);
            } else if (const auto* f = std::get_if<Fill>(&op)) {
                painter.fillRect(f->rect, f->color);
            } else if (const auto* i = std::get_if<Image>(&op)) {
                painter.save();
                painter.translate(i->corner);
                painter.scale(i->extent.width() < 0 ? -1 : 1, i->extent.height() < 0 ? -1 : 1);
                painter.drawImage(
                    QRectF(0, 0, std::abs(i->extent.width()), std::abs(i->extent.height())),
                    i->image);
                painter.restore();
            }
        }
    }
}

QString JobRecording::deliver() const {
    checkTarget(target_);
    if (target_.pdf)
        return deliverPdf();
    deliverToPrinter();
    return {};
}

void JobRecording::deliverToPrinter() const {
    std::unique_ptr<QPrinter> printer = makePrinter(target_.name, orientation_);
    if (!printer)
        raiseError(err::kPrinterError);
    QPainter painter;
    if (!painter.begin(printer.get()) || printerFailed(*printer))
        raiseError(err::kPrinterError);
    play(painter, geometryOf(*printer));
    if (!painter.end() || printerFailed(*printer))
        raiseError(err::kPrinterError);
}

QString JobRecording::deliverPdf() const {
    const QDir dir(target_.pdfFolder);
    const QString base = jobBaseName(started_, jobNumber_);
    // Never replace a file already there (an earlier run in the same second).
    QString path;
    for (int attempt = 1; attempt <= 1000 && path.isEmpty(); ++attempt) {
        const QString name = attempt == 1 ? base + QStringLiteral(".pdf")
                                          : base + QStringLiteral("_%1.pdf").arg(attempt);
        if (!QFile::exists(dir.filePath(name)))
            path = dir.filePath(name);
    }
    if (path.isEmpty())
        raiseError(err::kPrinterError);
    // The job is written into memory first and then into the file in one
    // go, each byte counted: the PDF writer does not notice a short write, so
    // a full disk would otherwise leave a cut PDF that counts as printed. The
    // file stays out of sight (on Linux it has no name at all) until every
    // byte is there, so a run killed meanwhile leaves nothing behind.
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        setUpPdf(writer, orientation_);
        QPainter painter;
        if (!painter.begin(&writer))
            raiseError(err::kPrinterError);
        try {
            play(painter, geometryOf(writer));
        } catch (...) {
            painter.end();
            throw;
        }
        if (!painter.end())
            raiseError(err::kPrinterError);
    }
    // Unbuffered, so that write() reports what reached the file; an
    // uncommitted file is discarded.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(pdf) != pdf.size() ||
        file.error() != QFileDevice::NoError || !file.commit())
        raiseError(err::kPrinterError);
    return path;
}

}  // namespace lumaro::platform

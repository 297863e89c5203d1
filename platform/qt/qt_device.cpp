#include "platform/qt/qt_device.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <utility>

#include "pdf/pdf_printer.h"
#include "platform/qt/qt_text.h"
#include "support/errors.h"

namespace lumaro::platform {

namespace {

// Fine enough that positions in the PDF are far below anything a printer can
// show, and what the font engine measures at this size scales cleanly.
constexpr int kPdfResolution = 1200;

QPageLayout::Orientation toQt(int orientation) {
    return orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QColor toQColor(std::int32_t c) {
    const auto v = static_cast<std::uint32_t>(c);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

QPen toQPen(const Pen& p) {
    return QPen(toQColor(p.color), p.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

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

PageGeometry geometryOf(QPaintDevice& d) {
    // The device's own extent is the area the painter addresses: the
    // printer's printable area (or the PDF page a gone printer is measured on).
    PageGeometry g;
    g.dpiX = d.logicalDpiX();
    g.dpiY = d.logicalDpiY();
    g.areaWidth = d.width();
    g.areaHeight = d.height();
    return g;
}

bool printerFailed(const QPrinter& printer) {
    return printer.printerState() == QPrinter::Error;
}

// The picture as Qt draws it; the pixels are copied, so the job owns them.
QImage toQImage(const Image& image) {
    return QImage(image.rgb.data(), image.width, image.height, image.width * 3,
                  QImage::Format_RGB888)
        .copy();
}

}  // namespace

QFont qtFont(const DeviceFont& d) {
    QFont f(toQString(d.family));
    f.setPointSizeF(d.points);
    f.setBold(d.bold);
    f.setItalic(d.italic);
    f.setUnderline(d.underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

// A device never painted on, set up like the job's device.
struct QtDevice::Measuring {
    Measuring(const QString& name, int orientation) : orientation(orientation) {
        device = makePrinter(name, toQt(orientation));
        if (!device) {
            // A printer that has gone: measure as on a PDF page so that
            // layouts still work until the job reports the fault.
            buffer = std::make_unique<QBuffer>();
            auto writer = std::make_unique<QPdfWriter>(buffer.get());
            setUpPdf(*writer, toQt(orientation));
            device = std::move(writer);
        }
        geometry = geometryOf(*device);
    }
    int orientation;
    std::unique_ptr<QBuffer> buffer;
    std::unique_ptr<QPagedPaintDevice> device;
    PageGeometry geometry;
};

// The job being handed to the spooler.
struct QtDevice::Job {
    JobInfo info;
    std::unique_ptr<QPrinter> device;
    QPainter painter;
    double sx = 1, sy = 1;
};

QtDevice::QtDevice(const QString& name) : name_(name) {}

QtDevice::~QtDevice() {
    cancelJob();
}

std::string QtDevice::name() const {
    return fromQString(name_);
}

QtDevice::Measuring& QtDevice::measuring(int orientation) {
    if (!measuring_ || measuring_->orientation != orientation) {
        measuring_ = std::make_unique<Measuring>(name_, orientation);
        metrics_.reset();
        metricsFont_.reset();
    }
    return *measuring_;
}

PageGeometry QtDevice::geometry(int orientation) {
    return measuring(orientation).geometry;
}

const QFontMetricsF& QtDevice::fontMetrics(const DeviceFont& font) {
    Measuring& m = measuring(measuring_ ? measuring_->orientation : 1);
    if (!metrics_ || metricsFont_ != font) {
        metrics_.emplace(qtFont(font), m.device.get());
        metricsFont_ = font;
    }
    return *metrics_;
}

double QtDevice::advance(const DeviceFont& font, std::string_view text) {
    return fontMetrics(font).horizontalAdvance(toQString(text));
}

FontMetrics QtDevice::metrics(const DeviceFont& font) {
    const QFontMetricsF& m = fontMetrics(font);
    return FontMetrics{m.ascent(), m.height()};
}

void QtDevice::checkReady() {
    if (QPrinterInfo::printerInfo(name_).isNull())
        raiseError(err::kPrinterError);
}

void QtDevice::beginJob(const JobInfo& info) {
    cancelJob();
    checkReady();
    auto job = std::make_unique<Job>();
    job->info = info;
    job->device = makePrinter(name_, toQt(info.orientation));
    if (!job->device)
        raiseError(err::kPrinterError);
    // The spooler's queue shows the document by its kind.
    if (!info.document.kind.empty())
        job->device->setDocName(toQString(info.document.kind));
    // The job was laid out on the measuring device, set up like this one, so
    // this is 1:1; should a driver report a slightly different area, the
    // drawing still fills it.
    const PageGeometry laidOut = geometry(info.orientation);
    const PageGeometry actual = geometryOf(*job->device);
    job->sx = laidOut.areaWidth > 0 ? actual.areaWidth / laidOut.areaWidth : 1;
    job->sy = laidOut.areaHeight > 0 ? actual.areaHeight / laidOut.areaHeight : 1;
    if (!job->painter.begin(job->device.get()) || printerFailed(*job->device))
        raiseError(err::kPrinterError);
    job_ = std::move(job);
    startSheet();
}

QPainter& QtDevice::painter() {
    if (!job_)
        raiseError(err::kPrinterError);
    return job_->painter;
}

void QtDevice::startSheet() {
    job_->painter.resetTransform();
    job_->painter.scale(job_->sx, job_->sy);
}

void QtDevice::text(double x, double baseline, std::string_view text, const DeviceFont& font,
                    std::int32_t color) {
    QPainter& p = painter();
    p.setFont(qtFont(font));
    p.setPen(toQColor(color));
    p.drawText(QPointF(x, baseline), toQString(text));
}

void QtDevice::line(double x1, double y1, double x2, double y2, const Pen& pen) {
    QPainter& p = painter();
    p.setPen(toQPen(pen));
    p.drawLine(QLineF(x1, y1, x2, y2));
}

void QtDevice::outline(const DeviceRect& r, const Pen& pen) {
    QPainter& p = painter();
    p.setPen(toQPen(pen));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(r.x, r.y, r.width, r.height));
}

void QtDevice::fill(const DeviceRect& r, std::int32_t color) {
    painter().fillRect(QRectF(r.x, r.y, r.width, r.height), toQColor(color));
}

void QtDevice::picture(const DeviceRect& r, const Image& image) {
    QPainter& p = painter();
    p.save();
    p.translate(r.x, r.y);
    p.scale(r.width < 0 ? -1 : 1, r.height < 0 ? -1 : 1);
    p.drawImage(QRectF(0, 0, std::abs(r.width), std::abs(r.height)), toQImage(image));
    p.restore();
}

void QtDevice::newPage() {
    painter();
    if (!job_->device->newPage() || printerFailed(*job_->device))
        raiseError(err::kPrinterError);
    startSheet();
}

std::string QtDevice::endJob() {
    painter();
    const std::unique_ptr<Job> job = std::move(job_);
    if (!job->painter.end() || printerFailed(*job->device))
        raiseError(err::kPrinterError);
    return {};
}

void QtDevice::cancelJob() noexcept {
    if (!job_)
        return;
    // A spooler's job that began cannot be taken back by ending the painter
    // (that submits it); abort() drops it.
    job_->device->abort();
    if (job_->painter.isActive())
        job_->painter.end();
    job_.reset();
}

std::vector<std::string> QtPrinterSystem::names() {
    std::vector<std::string> names;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        names.push_back(fromQString(info.printerName()));
    return names;
}

std::string QtPrinterSystem::defaultName() {
    const QPrinterInfo def = QPrinterInfo::defaultPrinter();
    return def.isNull() ? std::string() : fromQString(def.printerName());
}

std::shared_ptr<PrintDevice> QtPrinterSystem::open(const std::string& name) {
    auto& device = opened_[name];
    if (!device)
        device = std::make_shared<QtDevice>(toQString(name));
    return device;
}

std::shared_ptr<PrintDevice> QtPrinterSystem::openPdf(const std::string& folder) {
    auto& device = opened_[std::string("\0pdf:", 5) + folder];
    if (!device)
        device = std::make_shared<pdf::PdfPrinter>(folder, fonts_);
    return device;
}

}  // namespace lumaro::platform

#include "platform/qt/qt_print_surface.h"

#include <QColor>
#include <QPen>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "platform/qt/fonts.h"
#include "platform/qt/qt_text.h"
#include "support/errors.h"

namespace lumaro::platform {

namespace {

QColor toQColor(std::int32_t c) {
    const auto v = static_cast<std::uint32_t>(c);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

QPageLayout::Orientation toQt(int orientation) {
    return orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// Units per inch of the fixed scale modes; 0 for the user scale and for the
// modes that depend on the device (pixels) or on two axes (characters).
double unitsPerInch(int mode) {
    switch (mode) {
        case 1:
            return 1440;
        case 2:
            return 72;
        case 5:
            return 1;
        case 6:
            return 25.4;
        case 7:
            return 2.54;
        default:
            return 0;
    }
}

// Coordinates this far out are a broken layout, not a drawing; the paint
// engines do not take them gracefully.
constexpr double kMaxDeviceCoordinate = 1e8;

}  // namespace

QtPrintSurface::QtPrintSurface(TraceWriter& trace, const QtPictureLoader& pictures,
                               const Clock& clock)
    : trace_(trace), pictures_(pictures), clock_(clock) {
    refreshMeasureDevice();
    applyScaleMode();
}

QtPrintSurface::~QtPrintSurface() {
    abort();
}

void QtPrintSurface::useSystemPrinter(const QString& name) {
    target_ = PrintTarget{name, false, {}};
    if (!job_)
        refreshMeasureDevice();
}

void QtPrintSurface::usePdfPrinter(const QString& folder) {
    target_ = PrintTarget{QString::fromLatin1(kPdfPrinterName), true, folder};
    if (!job_)
        refreshMeasureDevice();
}

std::string QtPrintSurface::deviceName() const {
    return target_ ? fromQString(target_->name) : std::string();
}

void QtPrintSurface::refreshMeasureDevice() {
    const PrintTarget fallback{QString::fromLatin1(kPdfPrinterName), true, {}};
    const PrintTarget& measured = target_ ? *target_ : fallback;
    measure_ = std::make_unique<MeasureDevice>(measured, toQt(orientation_));
    metrics_.reset();
    // A device built alike from the same printer measures alike: widths
    // measured on the last one still hold.
    const DeviceGeometry& g = measure_->geometry();
    widths_.useDevice(measured.name, dynamic_cast<QPrinter*>(&measure_->device()) != nullptr,
                      orientation_, g.dpiX, g.dpiY);
    applyScaleMode();
}

const DeviceGeometry& QtPrintSurface::geometry() const {
    // Kept as it was while a job records: the job's own device.
    return measure_->geometry();
}

void QtPrintSurface::applyScaleMode() {
    const DeviceGeometry& g = geometry();
    if (scaleMode_ == 0)
        return;
    if (scaleMode_ == 3) {
        scaleWidth_ = g.areaWidth;
        scaleHeight_ = g.areaHeight;
    } else if (scaleMode_ == 4) {  // a character cell is 120 x 240 twips
        scaleWidth_ = g.areaWidth / g.dpiX * 1440 / 120;
        scaleHeight_ = g.areaHeight / g.dpiY * 1440 / 240;
    } else {
        const double perInch = unitsPerInch(scaleMode_);
        scaleWidth_ = g.areaWidth / g.dpiX * perInch;
        scaleHeight_ = g.areaHeight / g.dpiY * perInch;
    }
}

void QtPrintSurface::setScaleMode(int mode) {
    if (mode < 0 || mode > 7)
        raiseError(err::kInvalidProperty);
    scaleMode_ = mode;
    applyScaleMode();
}

void QtPrintSurface::setOrientation(int orientation) {
    if (orientation != 1 && orientation != 2)
        raiseError(err::kInvalidProperty);
    if (orientation == orientation_)
        return;
    orientation_ = orientation;
    if (!job_)
        refreshMeasureDevice();
}

void QtPrintSurface::setScaleWidth(double w) {
    if (!std::isfinite(w) || w == 0)
        raiseError(err::kInvalidProperty);
    scaleWidth_ = w;
    scaleMode_ = 0;
}

void QtPrintSurface::setScaleHeight(double h) {
    if (!std::isfinite(h) || h == 0)
        raiseError(err::kInvalidProperty);
    scaleHeight_ = h;
    scaleMode_ = 0;
}

void QtPrintSurface::setFontName(const std::string& name) {
    fontName_ = name;
    fontChanged();
}

void QtPrintSurface::setFontSize(double points) {
    if (!(points >= 1 && points <= 2048))
        raiseError(err::kInvalidProperty);
    fontSize_ = points;
    fontChanged();
}

void QtPrintSurface::setFontBold(bool on) {
    bold_ = on;
    fontChanged();
}

void QtPrintSurface::setFontItalic(bool on) {
    italic_ = on;
    fontChanged();
}

void QtPrintSurface::setFontUnderline(bool on) {
    underline_ = on;
    fontChanged();
}

QFont QtPrintSurface::font() const {
    return makeFont(fontName_, fontSize_, bold_, italic_, underline_);
}

const QFontMetricsF& QtPrintSurface::metrics() {
    if (!metrics_)
        metrics_.emplace(font(), &measure_->device());
    return *metrics_;
}

QPointF QtPrintSurface::toDevice(double x, double y) const {
    const DeviceGeometry& g = geometry();
    const double dx = x * g.areaWidth / scaleWidth_;
    const double dy = y * g.areaHeight / scaleHeight_;
    if (!std::isfinite(dx) || !std::isfinite(dy) || std::abs(dx) > kMaxDeviceCoordinate ||
        std::abs(dy) > kMaxDeviceCoordinate)
        raiseError(err::kOverflow);
    return {dx, dy};
}

double QtPrintSurface::unitsFromDeviceX(double px) const {
    return px * scaleWidth_ / geometry().areaWidth;
}

double QtPrintSurface::unitsFromDeviceY(double px) const {
    return px * scaleHeight_ / geometry().areaHeight;
}

double QtPrintSurface::hairline() const {
    // A tenth of a unit (0.1 mm in the documents' scale), at least one device
    // pixel, so that rules and bars of no height still show.
    const DeviceGeometry& g = geometry();
    const double perUnit =
        std::min(g.areaWidth / std::abs(scaleWidth_), g.areaHeight / std::abs(scaleHeight_));
    return std::max(0.1 * perUnit, 1.0);
}

QPen QtPrintSurface::pen() const {
    return QPen(toQColor(foreColor_), hairline(), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

void QtPrintSurface::ensureJob() {
    if (job_)
        return;
    if (!target_)
        raiseError(err::kPrinterError);
    checkTarget(*target_);
    const int number = jobCount_ + 1;
    job_ = std::make_unique<JobRecording>(*target_, toQt(orientation_), measure_->geometry(),
                                          number, clock_.now());
    jobCount_ = number;
    page_ = 1;
    trace_.job(number, deviceName(), orientation_, scaleWidth_, scaleHeight_);
}

double QtPrintSurface::advance(const std::string& text) {
    return widths_.advance(FontSpec{fontName_, fontSize_, bold_, italic_, underline_}, text,
                           [&] { return metrics().horizontalAdvance(toQString(text)); });
}

double QtPrintSurface::textWidth(const std::string& text) {
    return unitsFromDeviceX(advance(text));
}

double QtPrintSurface::textHeight(const std::string&) {
    return unitsFromDeviceY(metrics().height());
}

void QtPrintSurface::print(const std::string& text) {
    const QPointF topLeft = toDevice(currentX_, currentY_);
    ensureJob();
    const QString qtext = toQString(text);
    const QFontMetricsF& m = metrics();
    job_->text(QPointF(topLeft.x(), topLeft.y() + m.ascent()), qtext, font(), toQColor(foreColor_));
    const double w = unitsFromDeviceX(advance(text));
    const double h = unitsFromDeviceY(m.height());
    trace_.text(jobCount_, page_, currentX_, currentY_, w, h, text, fontName_, fontSize_, bold_,
                italic_, underline_, foreColor_);
    currentX_ += w;
}

void QtPrintSurface::line(double x1, double y1, double x2, double y2) {
    const QPointF a = toDevice(x1, y1), b = toDevice(x2, y2);
    ensureJob();
    job_->line(QLineF(a, b), pen());
    trace_.line(jobCount_, page_, x1, y1, x2, y2, foreColor_);
}

void QtPrintSurface::boxOutline(double x1, double y1, double x2, double y2) {
    const QPointF a = toDevice(x1, y1), b = toDevice(x2, y2);
    ensureJob();
    job_->outline(QRectF(a, b).normalized(), pen());
    trace_.box(jobCount_, page_, x1, y1, x2, y2, false, foreColor_);
}

void QtPrintSurface::filledBox(double x1, double y1, double x2, double y2, std::int32_t color) {
    const QPointF a = toDevice(x1, y1), b = toDevice(x2, y2);
    ensureJob();
    QRectF r = QRectF(a, b).normalized();
    const double hair = hairline();
    r.setWidth(std::max(r.width(), hair));
    r.setHeight(std::max(r.height(), hair));
    job_->fill(r, toQColor(color));
    trace_.box(jobCount_, page_, x1, y1, x2, y2, true, color);
}

void QtPrintSurface::paintPicture(const Picture& picture, double x, double y,
                                  std::optional<double> width, std::optional<double> height) {
    const QImage* image = pictures_.image(picture.handle);
    if (!image)
        raiseError(err::kInvalidPicture);
    const DeviceGeometry& g = geometry();
    auto natural = [](int pixels, int dotsPerMetre, double dpi) {
        const double perInch = dotsPerMetre > 0 ? dotsPerMetre * 0.0254 : 96.0;
        return pixels / perInch * dpi;  // device pixels
    };
    const double w =
        width ? *width : unitsFromDeviceX(natural(image->width(), image->dotsPerMeterX(), g.dpiX));
    const double h =
        height ? *height
               : unitsFromDeviceY(natural(image->height(), image->dotsPerMeterY(), g.dpiY));
    const QPointF topLeft = toDevice(x, y);
    const QPointF extent = toDevice(w, h);
    ensureJob();
    job_->image(topLeft, QSizeF(extent.x(), extent.y()), *image);
    trace_.picture(jobCount_, page_, picture.file, x, y, w, h);
}

void QtPrintSurface::newPage() {
    ensureJob();
    job_->newPage();
    page_ = job_->pages();
    currentX_ = 0;
    currentY_ = 0;
    trace_.newPage(jobCount_, page_);
}

void QtPrintSurface::endDoc() {
    if (!job_) {
        trace_.endDoc(jobCount_, 0);
        return;
    }
    std::unique_ptr<JobRecording> job = std::move(job_);
    page_ = 1;
    refreshMeasureDevice();  // a printer or orientation chosen during the job applies now
    const QString pdf = job->deliver();  // raises 482; the job is over either way
    if (!pdf.isEmpty())
        lastPdf_ = pdf;
    trace_.endDoc(jobCount_, job->pages());
    if (!pdf.isEmpty() && onPdfWritten)
        onPdfWritten(pdf);
}

void QtPrintSurface::abort() {
    if (!job_)
        return;
    const int pages = job_->pages();
    job_.reset();  // nothing of it ever reached a device
    page_ = 1;
    refreshMeasureDevice();
    trace_.abort(jobCount_, pages);
}

}  // namespace lumaro::platform

#include "printing/print_surface.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "printing/print_job.h"
#include "support/errors.h"

namespace lumaro {

namespace {

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

// Coordinates this far out are a broken layout, not a drawing; no device
// takes them gracefully.
constexpr double kMaxDeviceCoordinate = 1e8;

// The thinnest rule a printer shows well: a pixel of a 600 dpi printer.
constexpr double kThinnestRuleInches = 1.0 / 600;

}  // namespace

PrintSurface::PrintSurface(const FontTable& fonts, const Clock& clock)
    : fonts_(fonts), clock_(clock) {}

PrintSurface::~PrintSurface() {
    abort();
}

void PrintSurface::useDevice(std::shared_ptr<PrintDevice> device) {
    refused_ = false;  // that was the old printer
    device_ = std::move(device);
    if (!job_)
        refreshMeasuring();
}

std::string PrintSurface::deviceName() const {
    return device_ ? device_->name() : std::string();
}

void PrintSurface::addObserver(SurfaceObserver& observer) {
    observers_.push_back(&observer);
}

void PrintSurface::removeObserver(SurfaceObserver& observer) {
    std::erase(observers_, &observer);
}

PrintDevice& PrintSurface::measuringDevice() {
    if (!measuring_)
        raiseError(err::kPrinterError);
    return *measuring_;
}

// Measuring follows the device and orientation the next job will have; while
// a job records, it stays with that job's.
void PrintSurface::refreshMeasuring() {
    measuring_ = device_;
    geometry_ = measuring_ ? measuring_->geometry(orientation_) : PageGeometry{};
    metrics_.reset();
    widths_.useDevice(measuring_.get(), orientation_);
    applyScaleMode();
}

void PrintSurface::applyScaleMode() {
    const PageGeometry& g = geometry_;
    if (scaleMode_ == 0 || g.dpiX <= 0 || g.dpiY <= 0)
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

void PrintSurface::setScaleMode(int mode) {
    if (mode < 0 || mode > 7)
        raiseError(err::kInvalidProperty);
    scaleMode_ = mode;
    applyScaleMode();
}

void PrintSurface::setOrientation(int orientation) {
    if (orientation != 1 && orientation != 2)
        raiseError(err::kInvalidProperty);
    if (orientation == orientation_)
        return;
    orientation_ = orientation;
    if (!job_)
        refreshMeasuring();
}

void PrintSurface::setScaleWidth(double w) {
    if (!std::isfinite(w) || w == 0)
        raiseError(err::kInvalidProperty);
    scaleWidth_ = w;
    scaleMode_ = 0;
}

void PrintSurface::setScaleHeight(double h) {
    if (!std::isfinite(h) || h == 0)
        raiseError(err::kInvalidProperty);
    scaleHeight_ = h;
    scaleMode_ = 0;
}

void PrintSurface::setFontName(const std::string& name) {
    font_.name = name;
    fontChanged();
}

void PrintSurface::setFontSize(double points) {
    if (!(points >= 1 && points <= 2048))
        raiseError(err::kInvalidProperty);
    font_.size = points;
    fontChanged();
}

void PrintSurface::setFontBold(bool on) {
    font_.bold = on;
    fontChanged();
}

void PrintSurface::setFontItalic(bool on) {
    font_.italic = on;
    fontChanged();
}

void PrintSurface::setFontUnderline(bool on) {
    font_.underline = on;
    fontChanged();
}

DeviceFont PrintSurface::deviceFont() const {
    return DeviceFont{fonts_.family(font_.name), font_.size, font_.bold, font_.italic,
                      font_.underline};
}

const FontMetrics& PrintSurface::metrics() {
    if (!metrics_)
        metrics_ = measuringDevice().metrics(deviceFont());
    return *metrics_;
}

double PrintSurface::advance(const std::string& text) {
    return widths_.advance(font_, text,
                           [&] { return measuringDevice().advance(deviceFont(), text); });
}

PrintSurface::Point PrintSurface::toDevice(double x, double y) const {
    const double dx = x * geometry_.areaWidth / scaleWidth_;
    const double dy = y * geometry_.areaHeight / scaleHeight_;
    if (!std::isfinite(dx) || !std::isfinite(dy) || std::abs(dx) > kMaxDeviceCoordinate ||
        std::abs(dy) > kMaxDeviceCoordinate)
        raiseError(err::kOverflow);
    return {dx, dy};
}

double PrintSurface::unitsFromDeviceX(double d) const {
    return d * scaleWidth_ / geometry_.areaWidth;
}

double PrintSurface::unitsFromDeviceY(double d) const {
    return d * scaleHeight_ / geometry_.areaHeight;
}

double PrintSurface::hairline() const {
    // A tenth of a unit (0.1 mm in the documents' scale), so that rules and
    // bars of no height still show, but never thinner than a printer can show.
    const PageGeometry& g = geometry_;
    const double perUnit =
        std::min(g.areaWidth / std::abs(scaleWidth_), g.areaHeight / std::abs(scaleHeight_));
    return std::max(0.1 * perUnit, kThinnestRuleInches * std::max(g.dpiX, g.dpiY));
}

RecordedJob& PrintSurface::job() {
    if (job_)
        return *job_;
    try {
        measuringDevice().checkReady();
    } catch (const RuntimeError&) {
        refused_ = true;
        throw;
    }
    refused_ = false;
    const int number = jobCount_ + 1;
    job_ =
        std::make_unique<RecordedJob>(JobInfo{number, clock_.now(), orientation_, {}}, geometry_);
    jobCount_ = number;
    page_ = 1;
    const std::string printer = measuring_->name();
    notify([&](SurfaceObserver& o) {
        o.job(number, printer, orientation_, scaleWidth_, scaleHeight_);
    });
    return *job_;
}

double PrintSurface::textWidth(const std::string& text) {
    return unitsFromDeviceX(advance(text));
}

double PrintSurface::textHeight(const std::string&) {
    return unitsFromDeviceY(metrics().height);
}

void PrintSurface::print(const std::string& text) {
    const Point at = toDevice(currentX_, currentY_);
    RecordedJob& j = job();
    const FontMetrics& m = metrics();
    j.add(RecordedJob::Text{at.x, at.y + m.ascent, text, deviceFont(), foreColor_});
    const double w = unitsFromDeviceX(advance(text));
    const double h = unitsFromDeviceY(m.height);
    notify([&](SurfaceObserver& o) {
        o.text(jobCount_, page_, currentX_, currentY_, w, h, text, font_, foreColor_);
    });
    currentX_ += w;
}

void PrintSurface::line(double x1, double y1, double x2, double y2) {
    const Point a = toDevice(x1, y1), b = toDevice(x2, y2);
    job().add(RecordedJob::Line{a.x, a.y, b.x, b.y, Pen{hairline(), foreColor_}});
    notify([&](SurfaceObserver& o) { o.line(jobCount_, page_, x1, y1, x2, y2, foreColor_); });
}

namespace {

// The rectangle between two corners, whichever way round they were given.
DeviceRect between(double ax, double ay, double bx, double by) {
    return DeviceRect{std::min(ax, bx), std::min(ay, by), std::abs(bx - ax), std::abs(by - ay)};
}

}  // namespace

void PrintSurface::boxOutline(double x1, double y1, double x2, double y2) {
    const Point a = toDevice(x1, y1), b = toDevice(x2, y2);
    job().add(RecordedJob::Outline{between(a.x, a.y, b.x, b.y), Pen{hairline(), foreColor_}});
    notify([&](SurfaceObserver& o) { o.box(jobCount_, page_, x1, y1, x2, y2, false, foreColor_); });
}

void PrintSurface::filledBox(double x1, double y1, double x2, double y2, std::int32_t color) {
    const Point a = toDevice(x1, y1), b = toDevice(x2, y2);
    RecordedJob& j = job();
    DeviceRect r = between(a.x, a.y, b.x, b.y);
    const double hair = hairline();
    r.width = std::max(r.width, hair);
    r.height = std::max(r.height, hair);
    j.add(RecordedJob::Fill{r, color});
    notify([&](SurfaceObserver& o) { o.box(jobCount_, page_, x1, y1, x2, y2, true, color); });
}

void PrintSurface::paintPicture(const Picture& picture, double x, double y,
                                std::optional<double> width, std::optional<double> height) {
    if (!picture.image)
        raiseError(err::kInvalidPicture);
    const Image& image = *picture.image;
    auto natural = [](int pixels, double dotsPerMetre, double dpi) {
        const double perInch = dotsPerMetre > 0 ? dotsPerMetre * 0.0254 : 96.0;
        return pixels / perInch * dpi;  // device units
    };
    const double w =
        width ? *width
              : unitsFromDeviceX(natural(image.width, image.dotsPerMetreX, geometry_.dpiX));
    const double h =
        height ? *height
               : unitsFromDeviceY(natural(image.height, image.dotsPerMetreY, geometry_.dpiY));
    const Point at = toDevice(x, y);
    const Point extent = toDevice(w, h);
    job().add(RecordedJob::Picture{DeviceRect{at.x, at.y, extent.x, extent.y}, picture.image});
    notify([&](SurfaceObserver& o) { o.picture(jobCount_, page_, picture.file, x, y, w, h); });
}

void PrintSurface::newPage() {
    RecordedJob& j = job();
    j.newPage();
    page_ = j.pages();
    currentX_ = 0;
    currentY_ = 0;
    notify([&](SurfaceObserver& o) { o.newPage(jobCount_, page_); });
}

void PrintSurface::endDoc() {
    if (refused_) {
        // The last drawing call found the printer not ready and no job began
        // since. A routine's handler may have gone on after it (the template
        // routine only logs a printer error), but the document is not on
        // paper: its end fails as the printer did, so that its data file
        // stays.
        refused_ = false;
        raiseError(err::kPrinterError);
    }
    if (!job_) {
        notify([&](SurfaceObserver& o) { o.endDoc(jobCount_, 0); });
        return;
    }
    const std::unique_ptr<RecordedJob> ended = std::move(job_);
    const std::shared_ptr<PrintDevice> device = measuring_;
    ended->setDocument(document_);
    page_ = 1;
    refreshMeasuring();  // a printer or orientation chosen during the job applies now
    std::string file;
    try {
        file = ended->playOnto(*device);
    } catch (...) {
        // The device dropped it: the job is over, and nothing of it was printed.
        notify([&](SurfaceObserver& o) { o.abort(jobCount_, ended->pages()); });
        throw;
    }
    notify([&](SurfaceObserver& o) { o.delivered(*ended, file); });
    notify([&](SurfaceObserver& o) { o.endDoc(jobCount_, ended->pages()); });
}

void PrintSurface::abort() {
    refused_ = false;
    if (!job_)
        return;
    const int pages = job_->pages();
    job_.reset();  // nothing of it ever reached a device
    page_ = 1;
    refreshMeasuring();
    notify([&](SurfaceObserver& o) { o.abort(jobCount_, pages); });
}

}  // namespace lumaro

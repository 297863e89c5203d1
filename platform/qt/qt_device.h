// Qt's printers as print devices: a system printer through the spooler
// (QPrinter, CUPS on Linux). And the printer system that lists them, with the
// core's PDF printer as the built-in one.
//
// Measuring happens on a device set up exactly like a job's device but never
// painted on, so fonts measured there have the job's metrics. Fonts are the
// families the surface's font table gives, at the size asked, with hinting
// off so that widths scale with the size and do not depend on a pixel grid.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <map>
#include <memory>
#include <optional>

#include "platform/qt/fontconfig_font_source.h"
#include "printing/print_device.h"
#include "printing/printer_system.h"
#include "support/services.h"

class QPainter;
class QPagedPaintDevice;

namespace lumaro::platform {

// The Qt font for a device font: hinting off, outlines preferred.
QFont qtFont(const DeviceFont& font);

class QtDevice : public PrintDevice {
  public:
    // A system printer by the name QPrinterInfo gives it.
    explicit QtDevice(const QString& name);
    ~QtDevice() override;

    std::string name() const override;
    PageGeometry geometry(int orientation) override;
    double advance(const DeviceFont& font, std::string_view text) override;
    FontMetrics metrics(const DeviceFont& font) override;
    // An unknown printer raises 482.
    void checkReady() override;

    void beginJob(const JobInfo& job) override;
    void text(double x, double baseline, std::string_view text, const DeviceFont& font,
              std::int32_t color) override;
    void line(double x1, double y1, double x2, double y2, const Pen& pen) override;
    void outline(const DeviceRect& rect, const Pen& pen) override;
    void fill(const DeviceRect& rect, std::int32_t color) override;
    void picture(const DeviceRect& rect, const Image& image) override;
    void newPage() override;
    // The spooler gets the job; 482 when the printer fails.
    std::string endJob() override;
    void cancelJob() noexcept override;

  private:
    struct Measuring;
    struct Job;

    Measuring& measuring(int orientation);
    const QFontMetricsF& fontMetrics(const DeviceFont& font);
    QPainter& painter();
    void startSheet();

    QString name_;
    std::unique_ptr<Measuring> measuring_;
    std::optional<DeviceFont> metricsFont_;
    std::optional<QFontMetricsF> metrics_;
    std::unique_ptr<Job> job_;
};

// The printers Qt knows (QPrinterInfo), each opened once per run so that a
// printer chosen again keeps its measured widths; the built-in printer is the
// core's PDF printer with the fonts fontconfig finds.
class QtPrinterSystem : public PrinterSystem {
  public:
    std::vector<std::string> names() override;
    std::string defaultName() override;
    std::shared_ptr<PrintDevice> open(const std::string& name) override;
    std::shared_ptr<PrintDevice> openPdf(const std::string& folder) override;
    pdf::FontSource& pdfFonts() { return fonts_; }

  private:
    FontconfigFontSource fonts_;
    std::map<std::string, std::shared_ptr<PrintDevice>> opened_;
};

}  // namespace lumaro::platform

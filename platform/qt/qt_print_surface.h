// The print surface on a real device: a system printer through the spooler or
// the built-in PDF printer "Lumaro PDF". Positions are scale units mapped onto
// the printable area (x_device = x * areaWidth / ScaleWidth); fonts go through
// the one substitution table of fonts.h for measuring and drawing alike.
//
// A job begins with the first drawing call (print, line, box, picture or
// newPage) after the last end, using the orientation and scale set before it;
// the trace gets a `job` event just before that call's own event. The job is
// recorded and goes to the device when endDoc ends it (an endDoc with nothing
// drawn makes no sheet and no file); abort() or the destructor discards a job
// that was never ended, and nothing of it reaches the spooler or the folder.
//
// Construction, once per run (trace and pictures must outlive the surface):
//     TraceWriter trace(path);            // or TraceWriter trace; for none
//     QtPictureLoader pictures;
//     SystemClock clock;                  // names the PDF files
//     QtPrintSurface surface(trace, pictures, clock);
//     QtPrinters printers(surface, ...);  // chooses the current printer
// Until a printer is chosen, measuring works as on an A4 PDF page and drawing
// raises RuntimeError 482.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPen>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "platform/qt/print_job.h"
#include "platform/qt/qt_picture_loader.h"
#include "platform/qt/trace.h"
#include "platform/qt/width_cache.h"
#include "printing/print_surface.h"
#include "support/services.h"

namespace lumaro::platform {

// The built-in PDF printer's device name, always last in the printer list.
inline constexpr const char* kPdfPrinterName = "Lumaro PDF";

class QtPrintSurface : public PrintSurface {
  public:
    QtPrintSurface(TraceWriter& trace, const QtPictureLoader& pictures, const Clock& clock);
    ~QtPrintSurface() override;  // discards an unended job, like abort()
    QtPrintSurface(const QtPrintSurface&) = delete;
    QtPrintSurface& operator=(const QtPrintSurface&) = delete;

    // Makes a system printer (its name as QPrinterInfo gives it) or the built-in
    // PDF printer writing into folder current. A job already running still
    // goes to the printer it began on; the next job uses the new one.
    void useSystemPrinter(const QString& name);
    void usePdfPrinter(const QString& folder);

    // Discards a job that drew something and was never ended: no sheet goes to
    // the spooler, no PDF is left, the trace gets `abort`. Nothing when no job
    // is running. Call it when the run ends (the destructor does it too).
    void abort();

    // Jobs that drew something so far (the number of the last one).
    int jobCount() const { return jobCount_; }
    // The PDF file of the last job that ended on the built-in printer.
    const QString& lastPdfPath() const { return lastPdf_; }
    // Called with the file's path each time a job on the built-in printer has
    // become a complete PDF file, after its `enddoc` event; may be left empty.
    // What it throws comes out of endDoc.
    std::function<void(const QString& path)> onPdfWritten;

    // Scale modes as the original platform has them: 0 user scale (set by
    // ScaleWidth/ScaleHeight), 1 twips, 2 points, 3 device pixels, 4 characters,
    // 5 inches, 6 millimetres, 7 centimetres; others raise 380. A non-zero mode
    // sets ScaleWidth/ScaleHeight to the printable area in that unit, the
    // documents then set their own 210 x 297 or 297 x 210.
    void setScaleMode(int mode) override;
    // 1 portrait, 2 landscape (others raise 380). Set during a job, it takes
    // effect with the next one.
    void setOrientation(int orientation) override;
    int orientation() const override { return orientation_; }
    // A scale of 0 (or not a number) raises 380. Changing it during a job
    // changes the mapping of every later call.
    void setScaleWidth(double w) override;
    double scaleWidth() const override { return scaleWidth_; }
    void setScaleHeight(double h) override;
    double scaleHeight() const override { return scaleHeight_; }

    void setCurrentX(double x) override { currentX_ = x; }
    double currentX() const override { return currentX_; }
    void setCurrentY(double y) override { currentY_ = y; }
    double currentY() const override { return currentY_; }

    void setFontName(const std::string& name) override;
    std::string fontName() const override { return fontName_; }
    // Below 1 or above 2048 points (or not a number) raises 380.
    void setFontSize(double points) override;
    double fontSize() const override { return fontSize_; }
    void setFontBold(bool on) override;
    bool fontBold() const override { return bold_; }
    void setFontItalic(bool on) override;
    bool fontItalic() const override { return italic_; }
    void setFontUnderline(bool on) override;
    bool fontUnderline() const override { return underline_; }
    void setForeColor(std::int32_t color) override { foreColor_ = color; }
    std::int32_t foreColor() const override { return foreColor_; }

    void print(const std::string& text) override;
    // Advance width and line height (ascent + descent) of the font on the
    // printer, in scale units.
    double textWidth(const std::string& text) override;
    double textHeight(const std::string& text) override;

    void line(double x1, double y1, double x2, double y2) override;
    void boxOutline(double x1, double y1, double x2, double y2) override;
    void filledBox(double x1, double y1, double x2, double y2, std::int32_t color) override;
    // Natural size is the image's physical size (from its dots per metre, 96
    // dpi when it has none). An unknown handle raises 481.
    void paintPicture(const Picture& picture, double x, double y,
                      std::optional<double> width = std::nullopt,
                      std::optional<double> height = std::nullopt) override;

    // A new sheet; CurrentX and CurrentY go back to 0.
    void newPage() override;
    // Sends the job to the printer or writes its PDF. A printer that fails or
    // has gone, or a folder that cannot be written, raises 482; the job is
    // over then all the same.
    void endDoc() override;

    std::string deviceName() const override;

  private:
    void ensureJob();
    void refreshMeasureDevice();
    void applyScaleMode();
    const DeviceGeometry& geometry() const;
    const QFontMetricsF& metrics();
    double advance(const std::string& text);  // device pixels, in the current font
    QFont font() const;
    void fontChanged() { metrics_.reset(); }
    QPointF toDevice(double x, double y) const;
    double unitsFromDeviceX(double px) const;
    double unitsFromDeviceY(double px) const;
    double hairline() const;  // device pixels
    QPen pen() const;         // for lines and outlines

    TraceWriter& trace_;
    const QtPictureLoader& pictures_;
    const Clock& clock_;

    std::optional<PrintTarget> target_;
    std::unique_ptr<MeasureDevice> measure_;
    std::unique_ptr<JobRecording> job_;
    std::optional<QFontMetricsF> metrics_;
    WidthCache widths_;
    int jobCount_ = 0;
    int page_ = 1;
    QString lastPdf_;

    int scaleMode_ = 1;
    int orientation_ = 1;
    double scaleWidth_ = 0, scaleHeight_ = 0;
    double currentX_ = 0, currentY_ = 0;
    std::string fontName_ = "Arial";
    double fontSize_ = 10;
    bool bold_ = false, italic_ = false, underline_ = false;
    std::int32_t foreColor_ = 0;
};

}  // namespace lumaro::platform

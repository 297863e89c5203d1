// The print surface every document draws on: the host's printer object with
// its properties and rules, over whichever device is the current printer.
//
// Lengths are scale units: after setScaleMode(6) and a scale of 210 x 297
// (portrait) or 297 x 210 (landscape) one unit is about a millimetre of the
// printable area; unit x is device unit x * areaWidth / ScaleWidth. Font
// sizes are points; colours 0x00BBGGRR (0 black). Texts are Windows-1252.
// Font names go through one font table for measuring and drawing alike.
//
// A job begins with the first drawing call (print, line, box, picture or
// newPage) after the last end, on the current device, in the orientation and
// scale set before it. The job is recorded and goes to the device when endDoc
// ends it; abort() or the destructor discards a job that was never ended, and
// nothing of it reaches the device. Observers (the trace, tests) see every
// call as it is recorded.
//
// Refused values raise RuntimeError 380 and keep the old value; a device that
// cannot print raises 482; positions beyond what a device can address raise 6.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "printing/font_table.h"
#include "printing/picture.h"
#include "printing/print_device.h"
#include "printing/surface_events.h"
#include "printing/width_cache.h"
#include "support/services.h"

namespace lumaro {

class RecordedJob;

class PrintSurface {
  public:
    // clock dates the jobs; both must outlive the surface. Until a device is
    // given, measuring and drawing raise 482.
    PrintSurface(const FontTable& fonts, const Clock& clock);
    ~PrintSurface();  // discards an unended job, like abort()
    PrintSurface(const PrintSurface&) = delete;
    PrintSurface& operator=(const PrintSurface&) = delete;

    // Makes device the current printer. A job already running still goes to
    // the device it began on; the next job uses the new one.
    void useDevice(std::shared_ptr<PrintDevice> device);
    // The current printer's name, "" when there is none.
    std::string deviceName() const;

    // Observers must outlive the surface or be removed first.
    void addObserver(SurfaceObserver& observer);
    void removeObserver(SurfaceObserver& observer);

    // Scale modes as the host's platform has them: 0 user scale (set by
    // ScaleWidth/ScaleHeight), 1 twips, 2 points, 3 device pixels, 4
    // characters, 5 inches, 6 millimetres, 7 centimetres; others raise 380. A
    // non-zero mode sets ScaleWidth/ScaleHeight to the printable area in that
    // unit; the documents then set their own 210 x 297 or 297 x 210.
    void setScaleMode(int mode);
    // 1 portrait, 2 landscape (others raise 380). Set during a job, it takes
    // effect with the next one.
    void setOrientation(int orientation);
    int orientation() const { return orientation_; }
    // A scale of 0 (or not a number) raises 380. Changing it during a job
    // changes the mapping of every later call.
    void setScaleWidth(double w);
    double scaleWidth() const { return scaleWidth_; }
    void setScaleHeight(double h);
    double scaleHeight() const { return scaleHeight_; }

    void setCurrentX(double x) { currentX_ = x; }
    double currentX() const { return currentX_; }
    void setCurrentY(double y) { currentY_ = y; }
    double currentY() const { return currentY_; }

    void setFontName(const std::string& name);
    const std::string& fontName() const { return font_.name; }
    // Below 1 or above 2048 points (or not a number) raises 380.
    void setFontSize(double points);
    double fontSize() const { return font_.size; }
    void setFontBold(bool on);
    bool fontBold() const { return font_.bold; }
    void setFontItalic(bool on);
    bool fontItalic() const { return font_.italic; }
    void setFontUnderline(bool on);
    bool fontUnderline() const { return font_.underline; }
    void setForeColor(std::int32_t color) { foreColor_ = color; }
    std::int32_t foreColor() const { return foreColor_; }

    // Draws text with its top-left at the current position; afterwards
    // currentX is just right of it, currentY unchanged.
    void print(const std::string& text);
    // Advance width (no kerning) and line height of the current font.
    double textWidth(const std::string& text);
    double textHeight(const std::string& text);

    void line(double x1, double y1, double x2, double y2);        // in foreColor
    void boxOutline(double x1, double y1, double x2, double y2);  // in foreColor
    void filledBox(double x1, double y1, double x2, double y2, std::int32_t color);
    // Without width and height, at the picture's physical size (from its
    // dots per metre, 96 dpi when it names none). No picture raises 481.
    void paintPicture(const Picture& picture, double x, double y,
                      std::optional<double> width = std::nullopt,
                      std::optional<double> height = std::nullopt);

    // A new sheet; CurrentX and CurrentY go back to 0.
    void newPage();
    // Hands the job to its device. A second endDoc with nothing drawn in
    // between makes no sheet. A device that fails raises 482; the job is over
    // then all the same, discarded (observers see it aborted). So does an end when the device
    // refused the job (not ready, 482) and no job began since, even if a handler went on after the
    // refusal: nothing of that document is on paper.
    void endDoc();
    // Discards a job that drew something and was never ended. Nothing when no
    // job is running.
    void abort();

    // Names the document of the jobs that end from here on (the PDF's title,
    // the archive copy's name).
    void setDocument(DocumentLabel document) { document_ = std::move(document); }

    // Jobs that drew something so far (the number of the last one).
    int jobCount() const { return jobCount_; }

  private:
    struct Point {
        double x, y;
    };

    PrintDevice& measuringDevice();
    void refreshMeasuring();
    void applyScaleMode();
    void fontChanged() { metrics_.reset(); }
    DeviceFont deviceFont() const;
    const FontMetrics& metrics();
    double advance(const std::string& text);  // device units, current font
    Point toDevice(double x, double y) const;
    double unitsFromDeviceX(double d) const;
    double unitsFromDeviceY(double d) const;
    double hairline() const;  // device units
    RecordedJob& job();       // the running job, begun when there is none

    template <class Event>
    void notify(Event&& event) {
        for (SurfaceObserver* o : observers_)
            event(*o);
    }

    const FontTable& fonts_;
    const Clock& clock_;
    std::vector<SurfaceObserver*> observers_;

    std::shared_ptr<PrintDevice> device_;     // the current printer
    std::shared_ptr<PrintDevice> measuring_;  // the running job's device, else device_
    PageGeometry geometry_;                   // measuring_'s sheet
    std::unique_ptr<RecordedJob> job_;
    std::optional<FontMetrics> metrics_;
    WidthCache widths_;
    int jobCount_ = 0;
    bool refused_ = false;  // the device refused to begin a job, and none began since
    int page_ = 1;

    int scaleMode_ = 1;
    int orientation_ = 1;
    double scaleWidth_ = 0, scaleHeight_ = 0;
    double currentX_ = 0, currentY_ = 0;
    FontState font_;
    std::int32_t foreColor_ = 0;
    DocumentLabel document_;
};

// The installed printers in the platform's order, and which one is current.
class Printers {
  public:
    virtual ~Printers() = default;
    virtual int count() const = 0;
    virtual std::string deviceName(int index) const = 0;
    virtual void makeCurrent(int index) = 0;
    // Makes the printer current that the run's documents go to, once the saved
    // label printer is known (Windows-1252, "" for none): see
    // printing/printer_choice.h for the rule. Returns the day-log line that says why
    // when the choice is not simply --pdf or the system's default, else "".
    virtual std::string chooseStartPrinter(const std::string& labelPrinter) = 0;
};

}  // namespace lumaro

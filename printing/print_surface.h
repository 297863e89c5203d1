// The print surface every document draws on, and the installed printers.
//
// Lengths are in scale units: after setScaleMode(6) and a scale of 210 x 297
// (portrait) or 297 x 210 (landscape) one unit is about a millimetre of the
// printable area. Font sizes are points; colours 0x00BBGGRR (0 black). Texts
// are Windows-1252. An operation the device refuses raises RuntimeError (482
// for a printer fault, 380 for a value it does not take).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "printing/picture.h"

namespace lumaro {

class PrintSurface {
  public:
    virtual ~PrintSurface() = default;

    virtual void setScaleMode(int mode) = 0;
    virtual void setOrientation(int orientation) = 0;  // 1 portrait, 2 landscape
    virtual int orientation() const = 0;
    virtual void setScaleWidth(double w) = 0;
    virtual double scaleWidth() const = 0;
    virtual void setScaleHeight(double h) = 0;
    virtual double scaleHeight() const = 0;

    virtual void setCurrentX(double x) = 0;
    virtual double currentX() const = 0;
    virtual void setCurrentY(double y) = 0;
    virtual double currentY() const = 0;

    virtual void setFontName(const std::string& name) = 0;
    virtual std::string fontName() const = 0;
    // The size read back may differ from the one set (the device rounds it).
    virtual void setFontSize(double points) = 0;
    virtual double fontSize() const = 0;
    virtual void setFontBold(bool on) = 0;
    virtual bool fontBold() const = 0;
    virtual void setFontItalic(bool on) = 0;
    virtual bool fontItalic() const = 0;
    virtual void setFontUnderline(bool on) = 0;
    virtual bool fontUnderline() const = 0;
    virtual void setForeColor(std::int32_t color) = 0;
    virtual std::int32_t foreColor() const = 0;

    // Draws text with its top-left at the current position; afterwards
    // currentX is just right of it, currentY unchanged.
    virtual void print(const std::string& text) = 0;
    virtual double textWidth(const std::string& text) = 0;
    virtual double textHeight(const std::string& text) = 0;

    virtual void line(double x1, double y1, double x2, double y2) = 0;        // in foreColor
    virtual void boxOutline(double x1, double y1, double x2, double y2) = 0;  // in foreColor
    virtual void filledBox(double x1, double y1, double x2, double y2, std::int32_t color) = 0;
    // At natural size when no width and height are given.
    virtual void paintPicture(const Picture& picture, double x, double y,
                              std::optional<double> width = std::nullopt,
                              std::optional<double> height = std::nullopt) = 0;

    virtual void newPage() = 0;
    // Ends the job. A second endDoc with nothing drawn in between makes no sheet.
    virtual void endDoc() = 0;

    virtual std::string deviceName() const = 0;
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
    // app/printer_choice.h for the rule. Returns the day-log line that says why
    // when the choice is not simply --pdf or the system's default, else "".
    virtual std::string chooseStartPrinter(const std::string& labelPrinter) = 0;
};

}  // namespace lumaro

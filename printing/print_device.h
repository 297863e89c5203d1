// What a printer must do for the print surface: tell its page, measure text,
// and draw a finished job. Everything else (scale modes and scale, position,
// font state, value checks, the font table, job recording, the trace) is the
// surface's own (print_surface.h), written once for every device.
//
// Lengths are device units at the resolution geometry() reports, with (0, 0)
// at the top-left corner of the printable area and y growing downwards. Texts
// are Windows-1252. Colours are 0x00BBGGRR (0 black).
//
// A job reaches the device only when the document has ended it: beginJob, the
// drawing calls of the first sheet, newPage and the next sheet's calls, ...,
// endJob. A device raises RuntimeError 482 (err::kPrinterError) for anything
// it cannot do; the surface then calls cancelJob, and nothing of that job may
// reach paper or leave a file under a final name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "printing/picture.h"
#include "support/services.h"

namespace lumaro {

// A font as the device gets it: the family after the surface's font table.
struct DeviceFont {
    std::string family;  // Windows-1252
    double points = 10;
    bool bold = false, italic = false, underline = false;
    bool operator==(const DeviceFont&) const = default;
};

struct FontMetrics {
    double ascent = 0;  // baseline below the top of a line
    double height = 0;  // ascent + descent: the height of a line
};

// The printable area of one sheet and the resolution of the device units.
struct PageGeometry {
    double areaWidth = 0, areaHeight = 0;
    double dpiX = 0, dpiY = 0;  // device units per inch
};

// A rectangle in device units. Pictures may come with a negative width or
// height: the picture is then mirrored about (x, y).
struct DeviceRect {
    double x = 0, y = 0, width = 0, height = 0;
};

// Lines and outlines: solid, square caps, mitred corners.
struct Pen {
    double width = 0;  // device units
    std::int32_t color = 0;
};

// Which document a job prints, as the document named it: for a PDF's title
// and the names of archive copies.
struct DocumentLabel {
    std::string kind;    // "Besamungsschein", "Wartezeiten-A4", ...; "" when not named
    std::string lfbis;   // the farm's LFBIS number, "" when there is none
    std::string number;  // the document's running number, "" when there is none
};

// What a job is, for the device's own bookkeeping (the PDF printer names its
// files by the time and number of the job).
struct JobInfo {
    int number = 0;       // 1 for the first job of the run that drew something
    DateTime started;     // when its first drawing call came
    int orientation = 1;  // 1 portrait, 2 landscape
    DocumentLabel document;
};

class PrintDevice {
  public:
    virtual ~PrintDevice() = default;

    // The printer's name as the printer list shows it (DeviceName).
    virtual std::string name() const = 0;

    // The sheet of a job in this orientation (1 portrait, 2 landscape).
    virtual PageGeometry geometry(int orientation) = 0;

    // Measuring in device units, exactly as drawing will place the glyphs:
    // the advance of text (no kerning) and the font's line metrics.
    virtual double advance(const DeviceFont& font, std::string_view text) = 0;
    virtual FontMetrics metrics(const DeviceFont& font) = 0;

    // Raises 482 when a job could not be printed now (a printer that has
    // gone, a folder that cannot be made), so that a document learns it at its
    // first drawing call rather than after drawing everything.
    virtual void checkReady() = 0;

    // One finished job, played in order. x/baseline: where the text's first
    // glyph starts on its baseline.
    virtual void beginJob(const JobInfo& job) = 0;
    virtual void text(double x, double baseline, std::string_view text, const DeviceFont& font,
                      std::int32_t color) = 0;
    virtual void line(double x1, double y1, double x2, double y2, const Pen& pen) = 0;
    virtual void outline(const DeviceRect& rect, const Pen& pen) = 0;
    virtual void fill(const DeviceRect& rect, std::int32_t color) = 0;
    virtual void picture(const DeviceRect& rect, const Image& image) = 0;
    virtual void newPage() = 0;
    // Hands the job over (spooler, file). Returns the path of the file the job
    // became (Windows-1252), or "" for a printer.
    virtual std::string endJob() = 0;
    // Drops a job begun and not ended; must not throw.
    virtual void cancelJob() noexcept = 0;
};

}  // namespace lumaro

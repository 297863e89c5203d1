// A Windows printer through GDI and the spooler.
//
// Device units are the printer's own pixels (LOGPIXELSX/Y per inch), with
// (0, 0) at the corner of the printable area, which is where a printer DC in
// MM_TEXT has its origin. Positions arrive as fractions and are rounded to the
// nearest pixel only when drawn; a pixel of a printer (1/300 inch or finer) is
// far below what the documents' millimetre grid can show, so no finer mapping
// mode is needed.
//
// Text is measured in the font's design proportions and drawn with explicit
// advances from that same measurement. GDI measures a font realised at a
// whole pixel height, with every glyph advance rounded to a whole pixel (and
// hinted): at 10 points on 300 dpi the widths come out up to a percent off the
// font's own, and differently from size to size. So each face is measured once,
// at a height of 2048 pixels, with GetTextExtentExPointW over all 256 characters
// of the code page; a text's width is the sum of its characters' advances scaled
// to the size (there is no kerning, neither here nor in the other devices), and
// ExtTextOutW places every glyph at exactly that advance. Drawing thus matches
// measuring to the pixel, whatever the driver's own glyph widths.
//
// A job goes to the spooler only as a whole (beginJob ... endJob map to
// StartDoc, StartPage/EndPage, EndDoc). A printer whose port would ask the user
// for a file name (FILE:, PORTPROMPT:) gets a file in fileFolder instead, named
// by the job's time and number like the built-in printer's PDF files: a
// program that may run with nobody at the screen must never wait on a dialog.
// Anything the spooler or driver refuses raises RuntimeError 482; the job is
// then aborted (AbortDoc), so no half of it is printed.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "printing/print_device.h"

namespace lumaro::platform {

class GdiPrintDevice : public PrintDevice {
  public:
    // name as the spooler lists it (Windows-1252); fileFolder (Windows-1252)
    // for the jobs of a printer that would ask for a file name.
    GdiPrintDevice(std::string name, std::string fileFolder);
    ~GdiPrintDevice() override;
    GdiPrintDevice(const GdiPrintDevice&) = delete;
    GdiPrintDevice& operator=(const GdiPrintDevice&) = delete;

    std::string name() const override { return name_; }
    // The printable area for that orientation. A printer that cannot be
    // reached gives A4 at 600 dpi, so layouts still measure; checkReady and
    // beginJob then report it.
    PageGeometry geometry(int orientation) override;
    double advance(const DeviceFont& font, std::string_view text) override;
    FontMetrics metrics(const DeviceFont& font) override;
    void checkReady() override;

    void beginJob(const JobInfo& job) override;
    void text(double x, double baseline, std::string_view text, const DeviceFont& font,
              std::int32_t color) override;
    void line(double x1, double y1, double x2, double y2, const Pen& pen) override;
    void outline(const DeviceRect& rect, const Pen& pen) override;
    void fill(const DeviceRect& rect, std::int32_t color) override;
    void picture(const DeviceRect& rect, const Image& image) override;
    void newPage() override;
    std::string endJob() override;
    void cancelJob() noexcept override;

    // The face GDI really took for a family (for the tests; "" when none).
    std::string realisedFace(const DeviceFont& font);

  private:
    // The advances of one face, in ems, for each byte of the code page.
    struct Face {
        double advance[256] = {};
        double ascent = 0, height = 0;  // ems
        std::string realised;           // the face GDI chose
    };
    struct Job;

    HDC measureDc();
    const Face& face(const DeviceFont& font);
    double pointsToPixelsX(double points);
    std::wstring wideName() const;
    bool portAsksForFile();
    void requireJob();
    [[noreturn]] void failJob();
    HFONT drawingFont(const DeviceFont& font);
    HPEN pen(const Pen& pen);

    std::string name_;
    std::string fileFolder_;
    HDC measureDc_ = nullptr;
    double measureDpiX_ = 600, measureDpiY_ = 600;  // of the printer (600 when unreachable)
    std::map<int, PageGeometry> geometry_;
    std::map<std::tuple<std::string, bool, bool>, Face> faces_;
    std::unique_ptr<Job> job_;
};

}  // namespace lumaro::platform

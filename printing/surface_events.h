// What the print surface tells those who watch it draw: the trace, the tests,
// the run (where a PDF went). Every call is reported as the surface records
// it, in the scale units in force when it was made; jobs and sheets are
// numbered as the trace numbers them.
#pragma once

#include <cstdint>
#include <string>

namespace lumaro {

class RecordedJob;

// The surface's font as the document set it (name as asked, before the font
// table).
struct FontState {
    std::string name = "Arial";
    double size = 10;
    bool bold = false, italic = false, underline = false;
};

class SurfaceObserver {
  public:
    virtual ~SurfaceObserver() = default;

    // The first drawing call of a new job, just before that call's own event.
    virtual void job(int /*job*/, const std::string& /*printer*/, int /*orientation*/,
                     double /*scaleWidth*/, double /*scaleHeight*/) {}
    // x, y top-left; w, h the surface's own extent of the text.
    virtual void text(int /*job*/, int /*page*/, double /*x*/, double /*y*/, double /*w*/,
                      double /*h*/, const std::string& /*text*/, const FontState& /*font*/,
                      std::int32_t /*color*/) {}
    virtual void line(int /*job*/, int /*page*/, double /*x1*/, double /*y1*/, double /*x2*/,
                      double /*y2*/, std::int32_t /*color*/) {}
    virtual void box(int /*job*/, int /*page*/, double /*x1*/, double /*y1*/, double /*x2*/,
                     double /*y2*/, bool /*filled*/, std::int32_t /*color*/) {}
    // w, h: the drawn size.
    virtual void picture(int /*job*/, int /*page*/, const std::string& /*file*/, double /*x*/,
                         double /*y*/, double /*w*/, double /*h*/) {}
    virtual void newPage(int /*job*/, int /*page*/) {}
    // Every end of a job; pages 0 (and the last job's number) when nothing was
    // drawn since the last end.
    virtual void endDoc(int /*job*/, int /*pages*/) {}
    // A job that drew something and was never ended: discarded.
    virtual void abort(int /*job*/, int /*pages*/) {}
    // A job its device took, just before its endDoc event; file is the file
    // it became (the built-in PDF printer), "" for a printer.
    virtual void delivered(const RecordedJob& /*job*/, const std::string& /*file*/) {}
};

}  // namespace lumaro

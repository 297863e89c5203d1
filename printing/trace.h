// The trace: one JSON object per line for every job, drawing call, page change,
// end of job, discarded job and message box, so that scripts and support can see
// exactly what a run drew without looking at paper.
//
// Lines are written and flushed as the events happen, so a run that dies keeps
// every line written before. Texts come in as Windows-1252 and are written as
// UTF-8. Numbers are rounded to 4 decimals; NaN and infinities are written as 0
// because JSON has no spelling for them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "printing/surface_events.h"
#include "support/services.h"

namespace lumaro {

// A JSON string literal (quotes included) for UTF-8 text: quote and backslash
// escaped, every control character below 0x20 and DEL as \u00XX.
std::string jsonString(std::string_view utf8);

// A JSON number: rounded to 4 decimals, shortest form ("12.5", "210", "-3.1416"),
// NaN and infinities as "0".
std::string jsonNumber(double value);

// The icon word used in the trace and on standard error.
const char* iconWord(MessageIcon icon);

// Watches the print surface (see surface_events.h) and writes what it reports;
// the message boxes report their messages to it directly.
class TraceWriter : public SurfaceObserver {
  public:
    // A writer that drops every event (no --trace given).
    TraceWriter() = default;
    // Writes to path, replacing the file. When the file cannot be created,
    // isOpen() is false and events are dropped.
    explicit TraceWriter(const std::filesystem::path& path);
    TraceWriter(const TraceWriter&) = delete;
    TraceWriter& operator=(const TraceWriter&) = delete;

    bool isOpen() const { return file_.is_open(); }

    // Texts, printer and font names and file names are Windows-1252.
    void job(int job, const std::string& printer, int orientation, double scaleWidth,
             double scaleHeight) override;
    void text(int job, int page, double x, double y, double w, double h, const std::string& text,
              const FontState& font, std::int32_t color) override;
    void line(int job, int page, double x1, double y1, double x2, double y2,
              std::int32_t color) override;
    void box(int job, int page, double x1, double y1, double x2, double y2, bool filled,
             std::int32_t color) override;
    void picture(int job, int page, const std::string& file, double x, double y, double w,
                 double h) override;
    void newPage(int job, int page) override;
    void endDoc(int job, int pages) override;
    void abort(int job, int pages) override;
    void message(const std::string& title, const std::string& text, MessageIcon icon);

  private:
    void writeLine(const std::string& line);
    std::ofstream file_;
};

}  // namespace lumaro

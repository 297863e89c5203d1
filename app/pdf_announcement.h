// What the user is told of a PDF file the built-in printer wrote in place of
// paper (no usable system printer, see printing/printer_choice.h): an
// information message with the file's path and a day-log line, for each file.
#pragma once

#include <string>

#include "printing/printer_list.h"
#include "printing/surface_events.h"
#include "support/services.h"

namespace lumaro {

// The message and the log line (path Windows-1252, as the system names it).
std::string pdfFileMessage(const std::string& path);
std::string pdfFileLogLine(const std::string& path);
inline constexpr const char* kPdfFileTitle = "Lumaro PDF";

// Logs the line (indent 4) and shows the message with the information icon.
void announcePdfFile(const Services& s, const std::string& path);

// Watches the surface and announces each PDF file once its job has ended
// (after the job's `enddoc` event), when the printer list says the built-in
// printer prints for want of a usable system printer. What the message throws
// comes out of the surface's endDoc.
//     PdfAnnouncer announcer(services, printers);
//     surface.addObserver(announcer);
class PdfAnnouncer : public SurfaceObserver {
  public:
    PdfAnnouncer(const Services& s, const PrinterList& printers) : s_(s), printers_(printers) {}
    void delivered(const RecordedJob& job, const std::string& file) override;
    void endDoc(int job, int pages) override;

  private:
    const Services& s_;
    const PrinterList& printers_;
    std::string file_;  // delivered, not yet announced
};

}  // namespace lumaro

// The archive: a PDF copy of every job that reached its printer, paper or PDF,
// kept in <folder>/<yyyy>/ for the years a practice must keep these records.
// A copy is named by the job's time, the document's kind, the farm's LFBIS
// and the running number where there is one:
//     2026/2026-12-05_14-03-27_Wartezeiten-A4_LFBIS-1234567_Nr-2026-1201.pdf
// and never replaces a file ("..._2.pdf" and on).
//
// The copy is the job as it went to its printer, at its physical size, its
// printable area in the middle of an A4 sheet (a job of the PDF printer is
// its PDF again). Each copy is named in the day log; a copy that cannot be
// written is reported (log line and message), and the run keeps the data file
// of that document, so that nothing printed is ever missing from the archive.
#pragma once

#include <memory>
#include <string>

#include "pdf/font_source.h"
#include "printing/print_device.h"
#include "printing/surface_events.h"
#include "support/services.h"

namespace lumaro {

namespace pdf {
class PdfPrinter;
}

class Archive : public SurfaceObserver {
  public:
    // fonts: where the PDF copies find their font files. Both must outlive
    // the archive. No copies are made until a folder is set.
    Archive(Services& services, pdf::FontSource& fonts);
    ~Archive() override;

    // folder: Windows-1252; relative to the program folder unless absolute.
    // Empty: no archive.
    void setFolder(const std::string& folder);
    const std::string& folder() const { return folder_; }

    // Copies that could not be written so far.
    int failures() const { return failures_; }

    void delivered(const RecordedJob& job, const std::string& file) override;

  private:
    Services& services_;
    pdf::FontSource& fonts_;
    std::string folder_;
    std::unique_ptr<pdf::PdfPrinter> printer_;
    int failures_ = 0;
};

// The name of a copy without ".pdf": time, kind, "LFBIS-" and "Nr-" parts,
// each part kept to what a file name may hold on every system.
std::string archiveName(const JobInfo& job);

}  // namespace lumaro

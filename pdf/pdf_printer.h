// The built-in printer "Lumaro PDF": every job becomes one PDF file in its
// folder, "2026-12-05_14-03-27_job001.pdf" after the time and number of the
// job ("..._job001_2.pdf" and on when that name is taken: nothing is ever
// replaced). The file appears under its name only once complete; a job that
// fails (a full disk, a folder that cannot be made or written, a font that
// cannot be read) raises RuntimeError 482 and leaves no file.
//
// The sheet is A4, portrait or landscape as the job says, printable to its
// edges. Device units are 1/1200 inch: fine enough that the surface's rules
// (a hairline is at least one device unit) never coarsen a drawing, and the
// unit Qt's PDF engine used before, so layouts measure as they did.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "pdf/font_source.h"
#include "pdf/pdf_document.h"
#include "pdf/true_type_font.h"
#include "printing/print_device.h"

namespace lumaro::pdf {

class PdfPrinter : public PrintDevice {
  public:
    static constexpr double kDpi = 1200;

    // Where in the printer's folder a job's file goes: a subfolder ("" for
    // none) and the file's name without ".pdf"; "_2", "_3" ... are added when
    // the name is taken.
    struct FileName {
        std::string subfolder, base;  // Windows-1252
    };
    using Naming = std::function<FileName(const JobInfo& job)>;

    // The built-in printer's names: "2026-12-05_14-03-27_job001".
    static FileName jobFile(const JobInfo& job);

    // folder: Windows-1252, made when missing. fonts must outlive the
    // printer. Each file's title is the kind of document its job printed
    // ("Lumaro" when it names none).
    PdfPrinter(std::string folder, FontSource& fonts, Naming naming = jobFile);
    ~PdfPrinter() override;

    std::string name() const override { return "Lumaro PDF"; }
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

  private:
    using StyleKey = std::tuple<std::string, bool, bool>;
    using FileKey = std::tuple<std::size_t, std::size_t, int>;  // hash, size, face

    // The parsed font of a family and style, read once and kept for every job.
    const std::shared_ptr<const TrueTypeFont>& fontFor(const DeviceFont& font);
    PdfDocument& document();
    void startPage();

    std::string folder_;
    FontSource& source_;
    Naming naming_;
    std::map<StyleKey, std::shared_ptr<const TrueTypeFont>> byStyle_;
    // Families that the system resolves to one file share one parsed font
    // and, in a file, one subset.
    std::map<FileKey, std::shared_ptr<const TrueTypeFont>> byFile_;
    // The font asked for last: measuring asks for the same one many times.
    DeviceFont lastFont_;
    const std::shared_ptr<const TrueTypeFont>* last_ = nullptr;
    std::unique_ptr<PdfDocument> document_;
    PictureStreams pictures_;
    JobInfo job_;
};

}  // namespace lumaro::pdf

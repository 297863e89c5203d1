#include "app/archive.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "pdf/pdf_printer.h"
#include "printing/print_job.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "support/file_system.h"
#include "support/run_log.h"

namespace lumaro {

namespace {

bool isAbsolute(const std::string& path) {
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) ||
           (path.size() >= 2 && path[1] == ':' &&
            ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')));
}

// What a part of a file name may hold on every system: no separators, no
// characters Windows refuses, no control characters, no blanks at its ends.
std::string namePart(const std::string& text) {
    std::string out;
    for (const char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        const bool refused = u < 0x20 || u == 0x7F ||
                             std::string_view("\\/:*?\"<>|").find(ch) != std::string_view::npos;
        out += refused ? '-' : ch;
    }
    const auto first = out.find_first_not_of(" .");
    if (first == std::string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(" .") - first + 1);
}

// The job's drawing moved onto the PDF printer's A4 sheet at its physical
// size: the printable area it was laid out on, in the middle of the sheet.
class PlacedOnSheet : public PrintDevice {
  public:
    PlacedOnSheet(PrintDevice& sheet, const RecordedJob& job) : sheet_(sheet) {
        const PageGeometry& from = job.geometry();
        const PageGeometry to = sheet.geometry(job.info().orientation);
        kx_ = from.dpiX > 0 ? to.dpiX / from.dpiX : 1;
        ky_ = from.dpiY > 0 ? to.dpiY / from.dpiY : 1;
        ox_ = (to.areaWidth - from.areaWidth * kx_) / 2;
        oy_ = (to.areaHeight - from.areaHeight * ky_) / 2;
    }

    std::string name() const override { return sheet_.name(); }
    PageGeometry geometry(int orientation) override { return sheet_.geometry(orientation); }
    double advance(const DeviceFont& font, std::string_view text) override {
        return sheet_.advance(font, text);
    }
    FontMetrics metrics(const DeviceFont& font) override { return sheet_.metrics(font); }
    void checkReady() override { sheet_.checkReady(); }
    void beginJob(const JobInfo& job) override { sheet_.beginJob(job); }
    void text(double x, double baseline, std::string_view text, const DeviceFont& font,
              std::int32_t color) override {
        sheet_.text(x_(x), y_(baseline), text, font, color);
    }
    void line(double x1, double y1, double x2, double y2, const Pen& pen) override {
        sheet_.line(x_(x1), y_(y1), x_(x2), y_(y2), placed(pen));
    }
    void outline(const DeviceRect& r, const Pen& pen) override {
        sheet_.outline(placed(r), placed(pen));
    }
    void fill(const DeviceRect& r, std::int32_t color) override { sheet_.fill(placed(r), color); }
    void picture(const DeviceRect& r, const Image& image) override {
        sheet_.picture(placed(r), image);
    }
    void newPage() override { sheet_.newPage(); }
    std::string endJob() override { return sheet_.endJob(); }
    void cancelJob() noexcept override { sheet_.cancelJob(); }

  private:
    double x_(double x) const { return ox_ + x * kx_; }
    double y_(double y) const { return oy_ + y * ky_; }
    DeviceRect placed(const DeviceRect& r) const {
        return DeviceRect{x_(r.x), y_(r.y), r.width * kx_, r.height * ky_};
    }
    Pen placed(const Pen& p) const { return Pen{p.width * std::min(kx_, ky_), p.color}; }

    PrintDevice& sheet_;
    double kx_ = 1, ky_ = 1, ox_ = 0, oy_ = 0;
};

}  // namespace

std::string archiveName(const JobInfo& job) {
    const DateTime& t = job.started;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d_%02d-%02d-%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    std::string name = stamp;
    const std::string kind = namePart(job.document.kind);
    name += "_" + (kind.empty() ? std::string("Druck") : kind);
    if (const std::string lfbis = namePart(job.document.lfbis); !lfbis.empty())
        name += "_LFBIS-" + lfbis;
    if (const std::string number = namePart(job.document.number); !number.empty())
        name += "_Nr-" + number;
    return name;
}

Archive::Archive(Services& services, pdf::FontSource& fonts) : services_(services), fonts_(fonts) {}

Archive::~Archive() = default;

void Archive::setFolder(const std::string& folder) {
    folder_ = folder.empty() || isAbsolute(folder) ? folder
                                                   : fs::joinPath(services_.programFolder, folder);
    printer_.reset();
    if (folder_.empty())
        return;
    printer_ = std::make_unique<pdf::PdfPrinter>(folder_, fonts_, [](const JobInfo& job) {
        char year[8];
        std::snprintf(year, sizeof year, "%04d", job.started.year);
        return pdf::PdfPrinter::FileName{year, archiveName(job)};
    });
}

void Archive::delivered(const RecordedJob& job, const std::string&) {
    if (!printer_)
        return;
    try {
        PlacedOnSheet sheet(*printer_, job);
        const std::string copy = job.playOnto(sheet);
        Protokollieren(services_, "Archivkopie geschrieben: " + copy, 8);
    } catch (const RuntimeError& e) {
        ++failures_;
        Protokollieren(services_,
                       "Archivkopie konnte nicht geschrieben werden (Fehler " +
                           std::to_string(e.number()) + "): " + folder_,
                       4);
        services_.messages.show(
            ansi("Die Archivkopie des Ausdrucks konnte nicht in den Ordner '") + folder_ +
                ansi("' geschrieben werden.\r\n\r\nDer Ausdruck selbst ist erfolgt. Die "
                     "Datendatei bleibt erhalten und wird beim nächsten Start erneut gedruckt "
                     "und archiviert. Bitte prüfen Sie den Archivordner."),
            "Archiv", MessageIcon::Exclamation);
    }
}

}  // namespace lumaro

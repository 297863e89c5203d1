#include "pdf/pdf_printer.h"

#include <cstdio>
#include <functional>
#include <string_view>
#include <utility>

#include "support/errors.h"
#include "support/file_system.h"

namespace lumaro::pdf {
namespace {

// Points per device unit.
constexpr double kPoint = 72.0 / PdfPrinter::kDpi;

bool landscape(int orientation) {
    return orientation == 2;
}

}  // namespace

PdfPrinter::FileName PdfPrinter::jobFile(const JobInfo& job) {
    const DateTime& t = job.started;
    char base[96];
    std::snprintf(base, sizeof base, "%04d-%02d-%02d_%02d-%02d-%02d_job%03d", t.year, t.month,
                  t.day, t.hour, t.minute, t.second, job.number);
    return FileName{"", base};
}

PdfPrinter::PdfPrinter(std::string folder, FontSource& fonts, Naming naming)
    : folder_(std::move(folder)), source_(fonts), naming_(std::move(naming)) {}

PdfPrinter::~PdfPrinter() = default;

PageGeometry PdfPrinter::geometry(int orientation) {
    PageGeometry g;
    const double shortSide = kA4Width / kPoint, longSide = kA4Height / kPoint;
    g.areaWidth = landscape(orientation) ? longSide : shortSide;
    g.areaHeight = landscape(orientation) ? shortSide : longSide;
    g.dpiX = g.dpiY = kDpi;
    return g;
}

const std::shared_ptr<const TrueTypeFont>& PdfPrinter::fontFor(const DeviceFont& font) {
    if (last_ && lastFont_.family == font.family && lastFont_.bold == font.bold &&
        lastFont_.italic == font.italic)
        return *last_;
    StyleKey key{font.family, font.bold, font.italic};
    auto known = byStyle_.find(key);
    if (known == byStyle_.end()) {
        FontFile file = source_.fontFile(font.family, font.bold, font.italic);
        if (file.bytes.empty())
            raiseError(err::kPrinterError);
        const FileKey fileKey{std::hash<std::string_view>()(file.bytes), file.bytes.size(),
                              file.faceIndex};
        auto& shared = byFile_[fileKey];
        if (!shared) {
            try {
                shared =
                    std::make_shared<const TrueTypeFont>(std::move(file.bytes), file.faceIndex);
            } catch (...) {
                byFile_.erase(fileKey);
                throw;
            }
        }
        known = byStyle_.emplace(std::move(key), shared).first;
    }
    lastFont_ = font;
    last_ = &known->second;
    return known->second;
}

double PdfPrinter::advance(const DeviceFont& font, std::string_view text) {
    const TrueTypeFont& f = *fontFor(font);
    return static_cast<double>(f.advance(text)) * font.points / f.facts().unitsPerEm / kPoint;
}

FontMetrics PdfPrinter::metrics(const DeviceFont& font) {
    const FontFacts& f = fontFor(font)->facts();
    const double perUnit = font.points / f.unitsPerEm / kPoint;
    return FontMetrics{f.winAscent * perUnit, (f.winAscent + f.winDescent) * perUnit};
}

void PdfPrinter::checkReady() {
    if (folder_.empty() || !fs::createFolders(folder_))
        raiseError(err::kPrinterError);
}

void PdfPrinter::beginJob(const JobInfo& job) {
    job_ = job;
    const std::string& kind = job.document.kind;
    document_ = std::make_unique<PdfDocument>(
        DocumentInfo{kind.empty() ? "Lumaro" : kind, job.started}, &pictures_);
    startPage();
}

PdfDocument& PdfPrinter::document() {
    // Drawing outside a job is a fault of the caller, reported as a printer
    // would report it.
    if (!document_)
        raiseError(err::kPrinterError);
    return *document_;
}

void PdfPrinter::startPage() {
    const bool across = landscape(job_.orientation);
    document().beginPage(across ? kA4Height : kA4Width, across ? kA4Width : kA4Height);
}

void PdfPrinter::text(double x, double baseline, std::string_view text, const DeviceFont& font,
                      std::int32_t color) {
    PdfDocument& d = document();
    d.text(x * kPoint, baseline * kPoint, text, fontFor(font), font.points, font.underline, color);
}

void PdfPrinter::line(double x1, double y1, double x2, double y2, const Pen& pen) {
    document().line(x1 * kPoint, y1 * kPoint, x2 * kPoint, y2 * kPoint, pen.width * kPoint,
                    pen.color);
}

void PdfPrinter::outline(const DeviceRect& r, const Pen& pen) {
    document().outline(r.x * kPoint, r.y * kPoint, r.width * kPoint, r.height * kPoint,
                       pen.width * kPoint, pen.color);
}

void PdfPrinter::fill(const DeviceRect& r, std::int32_t color) {
    document().fill(r.x * kPoint, r.y * kPoint, r.width * kPoint, r.height * kPoint, color);
}

void PdfPrinter::picture(const DeviceRect& r, const Image& image) {
    document().picture(r.x * kPoint, r.y * kPoint, r.width * kPoint, r.height * kPoint, image);
}

void PdfPrinter::newPage() {
    startPage();
}

std::string PdfPrinter::endJob() {
    // The job is over whatever happens next: a second endJob finds none.
    const std::unique_ptr<PdfDocument> finished = std::move(document_);
    if (!finished)
        raiseError(err::kPrinterError);
    const std::string pdf = finished->finish();
    const FileName file = naming_(job_);
    const std::string folder =
        file.subfolder.empty() ? folder_ : fs::joinPath(folder_, file.subfolder);
    // The folder may have gone since the job began.
    if (folder_.empty() || !fs::createFolders(folder))
        raiseError(err::kPrinterError);
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        std::string name = file.base;
        if (attempt > 1)
            name += "_" + std::to_string(attempt);
        const std::string path = fs::joinPath(folder, name + ".pdf");
        switch (fs::writeNewFile(path, pdf)) {
            case fs::NewFile::Written:
                return path;
            case fs::NewFile::NameTaken:
                continue;
            case fs::NewFile::Failed:
                raiseError(err::kPrinterError);
        }
    }
    raiseError(err::kPrinterError);
}

void PdfPrinter::cancelJob() noexcept {
    document_.reset();
}

}  // namespace lumaro::pdf

#include "platform/win32/gdi_print_device.h"

#include <winspool.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwctype>
#include <vector>

#include "platform/win32/wide_text.h"
#include "support/errors.h"

namespace lumaro::platform {

namespace {

// The height at which a face is measured: the em of most TrueType fonts, so
// every advance comes out in the font's own design units.
constexpr int kMeasureHeight = 2048;
// What a printer that cannot be reached is assumed to be: A4 at 600 dpi.
constexpr double kFallbackDpi = 600;
constexpr double kMmPerInch = 25.4;
// ExtTextOutW is given a long text in pieces of this many characters; a piece
// that lies wholly beside the sheet is left out.
constexpr std::size_t kTextPiece = 2048;

int px(double v) {
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9)));
}

struct PrinterHandle {
    HANDLE h = nullptr;
    explicit PrinterHandle(const std::wstring& name) {
        if (!::OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &h, nullptr))
            h = nullptr;
    }
    ~PrinterHandle() {
        if (h)
            ::ClosePrinter(h);
    }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
};

// The printer's own settings with the orientation of the job; empty when the
// printer cannot be asked.
std::vector<BYTE> devModeFor(const std::wstring& name, int orientation) {
    PrinterHandle printer(name);
    if (!printer.h)
        return {};
    wchar_t* wname = const_cast<wchar_t*>(name.c_str());
    const LONG size = ::DocumentPropertiesW(nullptr, printer.h, wname, nullptr, nullptr, 0);
    if (size < static_cast<LONG>(sizeof(DEVMODEW)))
        return {};
    std::vector<BYTE> current(static_cast<std::size_t>(size));
    std::vector<BYTE> merged(static_cast<std::size_t>(size));
    auto* dm = reinterpret_cast<DEVMODEW*>(current.data());
    if (::DocumentPropertiesW(nullptr, printer.h, wname, dm, nullptr, DM_OUT_BUFFER) != IDOK)
        return {};
    dm->dmFields |= DM_ORIENTATION;
    dm->dmOrientation = orientation == 2 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    auto* out = reinterpret_cast<DEVMODEW*>(merged.data());
    if (::DocumentPropertiesW(nullptr, printer.h, wname, out, dm, DM_IN_BUFFER | DM_OUT_BUFFER) !=
        IDOK)
        return current;
    return merged;
}

HDC printerDc(const std::wstring& name, int orientation, bool informationOnly) {
    std::vector<BYTE> dm = devModeFor(name, orientation);
    if (dm.empty())
        return nullptr;
    const auto* mode = reinterpret_cast<const DEVMODEW*>(dm.data());
    return informationOnly ? ::CreateICW(L"WINSPOOL", name.c_str(), nullptr, mode)
                           : ::CreateDCW(L"WINSPOOL", name.c_str(), nullptr, mode);
}

HFONT makeFont(const DeviceFont& font, int height) {
    const std::wstring family = wideFromAnsi(font.family);
    return ::CreateFontW(-height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                         font.underline, FALSE, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                         family.substr(0, LF_FACESIZE - 1).c_str());
}

bool isPromptPort(std::wstring port) {
    for (auto& c : port)
        c = static_cast<wchar_t>(std::towupper(c));
    // A printer may list several ports, separated by commas.
    std::size_t start = 0;
    while (start <= port.size()) {
        std::size_t end = port.find(L',', start);
        if (end == std::wstring::npos)
            end = port.size();
        std::wstring p = port.substr(start, end - start);
        while (!p.empty() && p.front() == L' ')
            p.erase(p.begin());
        while (!p.empty() && p.back() == L' ')
            p.pop_back();
        if (p == L"FILE:" || p == L"PORTPROMPT:")
            return true;
        start = end + 1;
    }
    return false;
}

bool makeFolder(const std::wstring& folder) {
    if (::CreateDirectoryW(folder.c_str(), nullptr))
        return true;
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring joinWide(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        return folder + name;
    return folder + L"\\" + name;
}

}  // namespace

// One job on its device context, from StartDoc to EndDoc.
struct GdiPrintDevice::Job {
    HDC dc = nullptr;
    bool docStarted = false;
    bool pageOpen = false;
    std::string outputFile;  // Windows-1252; empty when the job goes to the port
    double dpiX = 0, dpiY = 0;
    // GDI objects made for this job, kept until its end: a process may hold
    // only some thousands, and a long job draws far more lines than it has
    // kinds of line.
    std::map<std::tuple<std::string, int, bool, bool, bool>, HFONT> fonts;
    std::map<std::pair<int, COLORREF>, HPEN> pens;
    std::map<COLORREF, HBRUSH> brushes;

    ~Job() {
        if (dc) {
            ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
            ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
            ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
            ::DeleteDC(dc);
        }
        for (auto& [key, font] : fonts)
            ::DeleteObject(font);
        for (auto& [key, pen] : pens)
            ::DeleteObject(pen);
        for (auto& [key, brush] : brushes)
            ::DeleteObject(brush);
    }
};

GdiPrintDevice::GdiPrintDevice(std::string name, std::string fileFolder)
    : name_(std::move(name)), fileFolder_(std::move(fileFolder)) {}

GdiPrintDevice::~GdiPrintDevice() {
    cancelJob();
    if (measureDc_)
        ::DeleteDC(measureDc_);
}

std::wstring GdiPrintDevice::wideName() const {
    return wideFromAnsi(name_);
}

HDC GdiPrintDevice::measureDc() {
    if (measureDc_)
        return measureDc_;
    measureDc_ = printerDc(wideName(), 1, true);
    if (measureDc_) {
        measureDpiX_ = ::GetDeviceCaps(measureDc_, LOGPIXELSX);
        measureDpiY_ = ::GetDeviceCaps(measureDc_, LOGPIXELSY);
    } else {
        // The design proportions of a face are the same on every device.
        measureDc_ = ::CreateCompatibleDC(nullptr);
        measureDpiX_ = measureDpiY_ = kFallbackDpi;
    }
    if (!measureDc_)
        raiseError(err::kPrinterError);
    return measureDc_;
}

PageGeometry GdiPrintDevice::geometry(int orientation) {
    orientation = orientation == 2 ? 2 : 1;
    auto it = geometry_.find(orientation);
    if (it != geometry_.end())
        return it->second;
    PageGeometry g;
    if (HDC dc = printerDc(wideName(), orientation, true)) {
        g.areaWidth = ::GetDeviceCaps(dc, HORZRES);
        g.areaHeight = ::GetDeviceCaps(dc, VERTRES);
        g.dpiX = ::GetDeviceCaps(dc, LOGPIXELSX);
        g.dpiY = ::GetDeviceCaps(dc, LOGPIXELSY);
        ::DeleteDC(dc);
    }
    if (g.areaWidth <= 0 || g.areaHeight <= 0 || g.dpiX <= 0 || g.dpiY <= 0) {
        // Not cached: the printer may be back for the next job.
        const double w = 210 / kMmPerInch * kFallbackDpi, h = 297 / kMmPerInch * kFallbackDpi;
        return PageGeometry{orientation == 2 ? h : w, orientation == 2 ? w : h, kFallbackDpi,
                            kFallbackDpi};
    }
    geometry_[orientation] = g;
    return g;
}

const GdiPrintDevice::Face& GdiPrintDevice::face(const DeviceFont& font) {
    const auto key = std::make_tuple(font.family, font.bold, font.italic);
    auto it = faces_.find(key);
    if (it != faces_.end())
        return it->second;
    HDC dc = measureDc();
    DeviceFont plain = font;
    plain.underline = false;  // the line under a text does not change its advance
    HFONT f = makeFont(plain, kMeasureHeight);
    if (!f)
        raiseError(err::kPrinterError);
    HGDIOBJ old = ::SelectObject(dc, f);
    Face result;
    wchar_t all[256];
    for (int i = 0; i < 256; ++i)
        all[i] = wideFromAnsi(std::string(1, static_cast<char>(i)))[0];
    int fit = 0;
    int extents[256] = {};
    SIZE size{};
    TEXTMETRICW tm{};
    const bool ok = ::GetTextExtentExPointW(dc, all, 256, 0, &fit, extents, &size) &&
                    ::GetTextMetricsW(dc, &tm);
    wchar_t realised[LF_FACESIZE] = {};
    ::GetTextFaceW(dc, LF_FACESIZE, realised);
    ::SelectObject(dc, old);
    ::DeleteObject(f);
    if (!ok)
        raiseError(err::kPrinterError);
    // The em in x pixels of the measuring device (its pixels may not be square).
    const double emX = kMeasureHeight * ::GetDeviceCaps(dc, LOGPIXELSX) /
                       static_cast<double>(::GetDeviceCaps(dc, LOGPIXELSY));
    for (int i = 0; i < 256; ++i)
        result.advance[i] = (extents[i] - (i ? extents[i - 1] : 0)) / emX;
    result.ascent = tm.tmAscent / static_cast<double>(kMeasureHeight);
    result.height = tm.tmHeight / static_cast<double>(kMeasureHeight);
    result.realised = ansiFromWide(realised);
    return faces_.emplace(key, result).first->second;
}

std::string GdiPrintDevice::realisedFace(const DeviceFont& font) {
    return face(font).realised;
}

double GdiPrintDevice::pointsToPixelsX(double points) {
    measureDc();
    return points / 72 * measureDpiX_;
}

double GdiPrintDevice::advance(const DeviceFont& font, std::string_view text) {
    const Face& f = face(font);
    double ems = 0;
    for (char c : text)
        ems += f.advance[static_cast<unsigned char>(c)];
    return ems * pointsToPixelsX(font.points);
}

FontMetrics GdiPrintDevice::metrics(const DeviceFont& font) {
    const Face& f = face(font);
    const double em = font.points / 72 * measureDpiY_;
    return FontMetrics{f.ascent * em, f.height * em};
}

bool GdiPrintDevice::portAsksForFile() {
    PrinterHandle printer(wideName());
    if (!printer.h)
        return false;
    DWORD needed = 0;
    ::GetPrinterW(printer.h, 5, nullptr, 0, &needed);
    if (needed == 0)
        return false;
    std::vector<BYTE> buffer(needed);
    if (!::GetPrinterW(printer.h, 5, buffer.data(), needed, &needed))
        return false;
    const auto* info = reinterpret_cast<const PRINTER_INFO_5W*>(buffer.data());
    return info->pPortName && isPromptPort(info->pPortName);
}

void GdiPrintDevice::checkReady() {
    {
        PrinterHandle printer(wideName());
        if (!printer.h)
            raiseError(err::kPrinterError);
    }
    if (portAsksForFile() && (fileFolder_.empty() || !makeFolder(wideFromAnsi(fileFolder_))))
        raiseError(err::kPrinterError);
}

void GdiPrintDevice::failJob() {
    cancelJob();
    raiseError(err::kPrinterError);
}

void GdiPrintDevice::requireJob() {
    if (!job_ || !job_->pageOpen)
        failJob();
}

void GdiPrintDevice::beginJob(const JobInfo& info) {
    cancelJob();
    auto job = std::make_unique<Job>();
    const std::wstring name = wideName();
    std::wstring output;
    if (portAsksForFile()) {
        const std::wstring folder = wideFromAnsi(fileFolder_);
        if (fileFolder_.empty() || !makeFolder(folder))
            raiseError(err::kPrinterError);
        char base[64];
        const DateTime& t = info.started;
        std::snprintf(base, sizeof base, "%04d-%02d-%02d_%02d-%02d-%02d_job%03d", t.year, t.month,
                      t.day, t.hour, t.minute, t.second, info.number);
        // Nothing is ever replaced: a name that is taken gets a number.
        for (int n = 1;; ++n) {
            std::string file = base;
            if (n > 1)
                file += "_" + std::to_string(n);
            file += ".prn";
            output = joinWide(folder, wideFromAnsi(file));
            if (::GetFileAttributesW(output.c_str()) == INVALID_FILE_ATTRIBUTES) {
                job->outputFile = ansiFromWide(output);
                break;
            }
        }
    }
    job->dc = printerDc(name, info.orientation, false);
    if (!job->dc)
        raiseError(err::kPrinterError);
    job->dpiX = ::GetDeviceCaps(job->dc, LOGPIXELSX);
    job->dpiY = ::GetDeviceCaps(job->dc, LOGPIXELSY);
    // The spooler's queue names the document: "Lumaro - Besamungsschein 2026-004117".
    std::string title = "Lumaro";
    if (!info.document.kind.empty())
        title += " - " + info.document.kind;
    if (!info.document.number.empty())
        title += " " + info.document.number;
    const std::wstring docName = wideFromAnsi(title);
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = docName.c_str();
    doc.lpszOutput = output.empty() ? nullptr : output.c_str();
    job_ = std::move(job);
    if (::StartDocW(job_->dc, &doc) <= 0)
        failJob();
    job_->docStarted = true;
    if (::StartPage(job_->dc) <= 0)
        failJob();
    job_->pageOpen = true;
    ::SetMapMode(job_->dc, MM_TEXT);
    ::SetBkMode(job_->dc, TRANSPARENT);
    ::SetTextAlign(job_->dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
}

HFONT GdiPrintDevice::drawingFont(const DeviceFont& font) {
    const int height = std::max(1, px(font.points / 72 * job_->dpiY));
    const auto key = std::make_tuple(font.family, height, font.bold, font.italic, font.underline);
    auto it = job_->fonts.find(key);
    if (it != job_->fonts.end())
        return it->second;
    HFONT f = makeFont(font, height);
    if (!f)
        failJob();
    return job_->fonts.emplace(key, f).first->second;
}

void GdiPrintDevice::text(double x, double baseline, std::string_view text, const DeviceFont& font,
                          std::int32_t color) {
    requireJob();
    if (text.empty())
        return;
    const Face& f = face(font);
    const double scale = font.points / 72 * job_->dpiX;
    const std::wstring wide = wideFromAnsi(text);
    HDC dc = job_->dc;
    ::SelectObject(dc, drawingFont(font));
    ::SetTextColor(dc, static_cast<COLORREF>(color) & 0xFFFFFF);
    const int y = px(baseline);
    const double right = ::GetDeviceCaps(dc, HORZRES) + scale * 2;
    // Every glyph at its measured place: positions are kept as fractions and
    // each advance is the step between two rounded positions, so no rounding
    // adds up along the line.
    double pos = x;
    std::vector<INT> dx;
    for (std::size_t start = 0; start < wide.size(); start += kTextPiece) {
        const std::size_t n = std::min(kTextPiece, wide.size() - start);
        dx.assign(n, 0);
        const double first = pos;
        for (std::size_t i = 0; i < n; ++i) {
            const double next =
                pos + f.advance[static_cast<unsigned char>(text[start + i])] * scale;
            dx[i] = px(next) - px(pos);
            pos = next;
        }
        if (pos < -scale * 2 || first > right)
            continue;
        if (!::ExtTextOutW(dc, px(first), y, 0, nullptr, wide.data() + start, static_cast<UINT>(n),
                           dx.data()))
            failJob();
    }
}

HPEN GdiPrintDevice::pen(const Pen& pen) {
    const int width = std::max(1, px(pen.width));
    const COLORREF color = static_cast<COLORREF>(pen.color) & 0xFFFFFF;
    auto it = job_->pens.find({width, color});
    if (it != job_->pens.end())
        return it->second;
    LOGBRUSH brush{BS_SOLID, color, 0};
    HPEN p = ::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                            static_cast<DWORD>(width), &brush, 0, nullptr);
    if (!p)
        failJob();
    return job_->pens.emplace(std::make_pair(width, color), p).first->second;
}

void GdiPrintDevice::line(double x1, double y1, double x2, double y2, const Pen& pen) {
    requireJob();
    HPEN p = this->pen(pen);
    HGDIOBJ old = ::SelectObject(job_->dc, p);
    const bool ok =
        ::MoveToEx(job_->dc, px(x1), px(y1), nullptr) && ::LineTo(job_->dc, px(x2), px(y2));
    ::SelectObject(job_->dc, old);
    if (!ok)
        failJob();
}

void GdiPrintDevice::outline(const DeviceRect& r, const Pen& pen) {
    requireJob();
    HPEN p = this->pen(pen);
    // A closed polyline with square caps: at the corner where it starts and
    // ends, the two caps fill the same square a mitre would.
    const int l = px(r.x), t = px(r.y), rr = px(r.x + r.width), b = px(r.y + r.height);
    const POINT points[5] = {{l, t}, {rr, t}, {rr, b}, {l, b}, {l, t}};
    HGDIOBJ old = ::SelectObject(job_->dc, p);
    const bool ok = ::Polyline(job_->dc, points, 5);
    ::SelectObject(job_->dc, old);
    if (!ok)
        failJob();
}

void GdiPrintDevice::fill(const DeviceRect& r, std::int32_t color) {
    requireJob();
    const COLORREF c = static_cast<COLORREF>(color) & 0xFFFFFF;
    HBRUSH& brush = job_->brushes[c];
    if (!brush)
        brush = ::CreateSolidBrush(c);
    if (!brush)
        failJob();
    RECT rect{px(std::min(r.x, r.x + r.width)), px(std::min(r.y, r.y + r.height)),
              px(std::max(r.x, r.x + r.width)), px(std::max(r.y, r.y + r.height))};
    if (!::FillRect(job_->dc, &rect, brush))
        failJob();
}

void GdiPrintDevice::picture(const DeviceRect& r, const Image& image) {
    requireJob();
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() < static_cast<std::size_t>(image.width) * image.height * 3)
        failJob();
    // A bottom-up DIB of 24-bit blue-green-red rows, each padded to 4 bytes:
    // the form every printer driver takes.
    const std::size_t stride = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
    std::vector<BYTE> bits(stride * image.height);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* src = image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3;
        BYTE* dst = bits.data() + static_cast<std::size_t>(image.height - 1 - y) * stride;
        for (int x = 0; x < image.width; ++x) {
            dst[x * 3] = src[x * 3 + 2];
            dst[x * 3 + 1] = src[x * 3 + 1];
            dst[x * 3 + 2] = src[x * 3];
        }
    }
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = image.width;
    bmi.bmiHeader.biHeight = image.height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    // A negative width or height mirrors the picture about (x, y), as
    // StretchDIBits itself does with a negative extent.
    const int x = px(r.x), y = px(r.y);
    const int w = px(r.x + r.width) - x, h = px(r.y + r.height) - y;
    if (w == 0 || h == 0)
        return;
    ::SetStretchBltMode(job_->dc, HALFTONE);
    ::SetBrushOrgEx(job_->dc, 0, 0, nullptr);
    if (::StretchDIBits(job_->dc, x, y, w, h, 0, 0, image.width, image.height, bits.data(), &bmi,
                        DIB_RGB_COLORS, SRCCOPY) == 0)
        failJob();
}

void GdiPrintDevice::newPage() {
    requireJob();
    job_->pageOpen = false;
    if (::EndPage(job_->dc) <= 0 || ::StartPage(job_->dc) <= 0)
        failJob();
    job_->pageOpen = true;
    // Some drivers reset the device context's attributes with every page.
    ::SetMapMode(job_->dc, MM_TEXT);
    ::SetBkMode(job_->dc, TRANSPARENT);
    ::SetTextAlign(job_->dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
}

std::string GdiPrintDevice::endJob() {
    requireJob();
    job_->pageOpen = false;
    if (::EndPage(job_->dc) <= 0)
        failJob();
    if (::EndDoc(job_->dc) <= 0)
        failJob();
    job_->docStarted = false;
    std::string file = job_->outputFile;
    job_.reset();
    return file;
}

void GdiPrintDevice::cancelJob() noexcept {
    if (!job_)
        return;
    if (job_->docStarted)
        ::AbortDoc(job_->dc);
    // A file the job was writing into holds half a job at most.
    if (!job_->outputFile.empty() && job_->docStarted)
        ::DeleteFileW(wideFromAnsi(job_->outputFile).c_str());
    job_.reset();
}

}  // namespace lumaro::platform

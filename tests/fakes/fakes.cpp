#include "tests/fakes/fakes.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "support/codepage.h"
#include "support/errors.h"
#include "support/file_system.h"
#include "support/regional.h"

namespace lumaro::testing {

PageGeometry FakeDevice::geometry(int orientation) {
    return orientation == 2 ? PageGeometry{2970, 2100, 254, 254}
                            : PageGeometry{2100, 2970, 254, 254};
}

double FakeDevice::advance(const DeviceFont& font, std::string_view text) {
    ++measurements;
    if (font.points < failBelowPoints)
        raiseError(err::kPrinterError);
    if (!charWidth)
        return static_cast<double>(text.size()) * font.points;
    double tenths = 0;
    for (const char ch : text)
        tenths += charWidth(static_cast<unsigned char>(ch));
    return tenths * font.points;
}

FontMetrics FakeDevice::metrics(const DeviceFont& font) {
    if (font.points < failBelowPoints)
        raiseError(err::kPrinterError);
    return FontMetrics{font.points * 3, font.points * 4};
}

void FakeDevice::checkReady() {
    if (!ready)
        raiseError(err::kPrinterError);
}

namespace {

// "name a b c ...": a call as played, its numbers as the stream writes them.
template <class... Values>
std::string describe(const char* name, Values... values) {
    std::ostringstream out;
    out << name;
    ((out << ' ' << values), ...);
    return out.str();
}

}  // namespace

void FakeDevice::call(std::string line) {
    if (inJob_ && callsInJob_++ == failAtCall)
        raiseError(err::kPrinterError);
    played.push_back(std::move(line));
}

void FakeDevice::beginJob(const JobInfo& job) {
    checkReady();
    inJob_ = true;
    callsInJob_ = 0;
    played.push_back(describe("begin", job.number, job.orientation));
}

void FakeDevice::text(double x, double baseline, std::string_view text, const DeviceFont& font,
                      std::int32_t color) {
    call(describe("text", x, baseline, text) + " [" + describe(font.family.c_str(), font.points) +
         (font.bold ? " bold" : "") + (font.italic ? " italic" : "") +
         (font.underline ? " underline" : "") + "] " + std::to_string(color));
}

void FakeDevice::line(double x1, double y1, double x2, double y2, const Pen& pen) {
    call(describe("line", x1, y1, x2, y2, pen.width, pen.color));
}

void FakeDevice::outline(const DeviceRect& r, const Pen& pen) {
    call(describe("outline", r.x, r.y, r.width, r.height, pen.width, pen.color));
}

void FakeDevice::fill(const DeviceRect& r, std::int32_t color) {
    call(describe("fill", r.x, r.y, r.width, r.height, color));
}

void FakeDevice::picture(const DeviceRect& r, const Image& image) {
    call(describe("picture", r.x, r.y, r.width, r.height) + " " + std::to_string(image.width) +
         "x" + std::to_string(image.height));
}

void FakeDevice::newPage() {
    call("newpage");
}

std::string FakeDevice::endJob() {
    call("end");
    inJob_ = false;
    ++jobsDelivered;
    return {};
}

void FakeDevice::cancelJob() noexcept {
    if (!inJob_)
        return;
    inJob_ = false;
    ++jobsCancelled;
    played.push_back("cancel");
}

// Turns what the surface reports into DrawCalls, in scale units.
class FakeSurface::Recorder : public SurfaceObserver {
  public:
    explicit Recorder(FakeSurface& s) : s_(s) {}

    void text(int, int page, double x, double y, double w, double h, const std::string& text,
              const FontState& font, std::int32_t color) override {
        s_.calls.push_back({DrawCall::Text, page, x, y, x + w, y + h, text, font.name, font.size,
                            font.bold, font.italic, font.underline, color});
    }
    void line(int, int page, double x1, double y1, double x2, double y2,
              std::int32_t color) override {
        s_.calls.push_back(shape(DrawCall::Line, page, x1, y1, x2, y2, color));
    }
    void box(int, int page, double x1, double y1, double x2, double y2, bool filled,
             std::int32_t color) override {
        s_.calls.push_back(
            shape(filled ? DrawCall::FilledBox : DrawCall::Box, page, x1, y1, x2, y2, color));
    }
    void picture(int, int page, const std::string& file, double x, double y, double w,
                 double h) override {
        DrawCall c = shape(DrawCall::Picture, page, x, y, x + w, y + h, 0);
        c.text = file;
        s_.calls.push_back(std::move(c));
    }
    void newPage(int, int page) override {
        s_.calls.push_back(shape(DrawCall::NewPage, page - 1, 0, 0, 0, 0, 0));
    }
    void abort(int, int) override { ++s_.jobsAborted; }
    void endDoc(int, int pages) override {
        ++s_.endDocCalls;
        if (pages > 0) {
            ++s_.jobsEnded;
            s_.calls.push_back(shape(DrawCall::EndDoc, pages, 0, 0, 0, 0, 0));
        }
    }

  private:
    static DrawCall shape(DrawCall::Kind kind, int page, double x1, double y1, double x2, double y2,
                          std::int32_t color) {
        return DrawCall{kind, page, x1, y1, x2, y2, {}, {}, 0, false, false, false, color};
    }
    FakeSurface& s_;
};

FakeSurface::FakeSurface()
    : PrintSurface(FontTable::standIns(), clock), recorder_(std::make_unique<Recorder>(*this)) {
    addObserver(*recorder_);
    useDevice(device);
    setScaleMode(6);
    setScaleWidth(210);
    setScaleHeight(297);
    setFontName(kDocumentFont);
    setFontSize(9);
}

FakeSurface::~FakeSurface() {
    abort();
    removeObserver(*recorder_);
}

std::vector<DrawCall> FakeSurface::texts() const {
    return callsOf(DrawCall::Text);
}

std::vector<DrawCall> FakeSurface::texts(const std::string& t, bool prefix) const {
    std::vector<DrawCall> out;
    for (const auto& c : calls) {
        if (c.kind == DrawCall::Text && (prefix ? c.text.rfind(t, 0) == 0 : c.text == t))
            out.push_back(c);
    }
    return out;
}

std::vector<DrawCall> FakeSurface::callsOf(DrawCall::Kind kind) const {
    std::vector<DrawCall> out;
    for (const auto& c : calls) {
        if (c.kind == kind)
            out.push_back(c);
    }
    return out;
}

double proportionalWidth(unsigned char ch) {
    if (ch == ' ' || ch == 'i' || ch == 'l' || ch == '.')
        return 0.28;
    if (ch == 'm' || ch == 'W' || ch == 'M')
        return 1.45;
    return 0.5 + static_cast<double>((ch * 37) % 9) / 10.0;
}

std::shared_ptr<PrintDevice> FakePrinterSystem::open(const std::string& name) {
    auto& device = opened_[name];
    if (!device)
        device = std::make_shared<FakeDevice>(name);
    return device;
}

std::shared_ptr<PrintDevice> FakePrinterSystem::openPdf(const std::string&) {
    auto& device = opened_[std::string("\0pdf", 4)];
    if (!device)
        device = std::make_shared<FakeDevice>("Lumaro PDF");
    return device;
}

lumaro::Picture FakePictureLoader::load(const std::string& path) {
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".bad") == 0) {
        raiseError(err::kInvalidPicture);
    }
    auto image = std::make_shared<Image>();
    image->width = 300;
    image->height = 200;
    image->dotsPerMetreX = image->dotsPerMetreY = 10000;
    image->rgb.assign(300 * 200 * 3, 0x80);
    return lumaro::Picture{next_++, path, image};
}

namespace {

// From UTF-8 the standard library takes a path as such on every system, never
// through the machine's code page.
std::filesystem::path nativePath(const std::string& cp1252) {
    const std::string utf8 = toUtf8(cp1252);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

TempFolder::TempFolder() {
    // Test processes run side by side: random_device, not rand().
    std::random_device random;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate = base / ("lumaro-test-" + std::to_string(random()));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            const std::u8string utf8 = candidate.u8string();
            path_ = fromUtf8(std::string(utf8.begin(), utf8.end()));
            break;
        }
    }
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(nativePath(path_), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(nativePath(path_), ec);
}

std::string TempFolder::file(const std::string& name) const {
    return fs::joinPath(path_, name);
}

void TempFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(nativePath(file(name)), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::string> TempFolder::read(const std::string& name) const {
    std::ifstream in(nativePath(file(name)), std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TestWorld::TestWorld() {
    services.iniPath = folder.file("Halmor.ini");
}

std::string TestWorld::log() const {
    return folder.read(formatDate_yy_mm_dd(clock.time) + ".txt").value_or("");
}

std::string w(const std::string& utf8) {
    return fromUtf8(utf8);
}

}  // namespace lumaro::testing

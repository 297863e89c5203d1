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

void FakeSurface::setFontSize(double s) {
    if (s < minFontSize)
        raiseError(err::kInvalidProperty);
    size_ = s;
}

void FakeSurface::record(DrawCall c) {
    c.page = page;
    calls.push_back(std::move(c));
    drawnSinceEnd_ = true;
}

void FakeSurface::print(const std::string& text) {
    DrawCall c;
    c.kind = DrawCall::Text;
    c.x = x_;
    c.y = y_;
    c.x2 = x_ + textWidth(text);
    --widthMeasurements;  // our own measuring is not the caller's
    c.y2 = y_ + textHeight(text);
    c.text = text;
    c.font = font_;
    c.size = size_;
    c.bold = bold_;
    c.italic = italic_;
    c.underline = underline_;
    c.color = color_;
    x_ = c.x2;
    record(std::move(c));
}

double FakeSurface::textWidth(const std::string& text) {
    ++widthMeasurements;
    return static_cast<double>(text.size()) * size_ / 10.0;
}

double FakeSurface::textHeight(const std::string&) {
    return size_ * 0.4;
}

void FakeSurface::line(double x1, double y1, double x2, double y2) {
    DrawCall c;
    c.kind = DrawCall::Line;
    c.x = x1;
    c.y = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.color = color_;
    record(std::move(c));
}

void FakeSurface::boxOutline(double x1, double y1, double x2, double y2) {
    DrawCall c;
    c.kind = DrawCall::Box;
    c.x = x1;
    c.y = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.color = color_;
    record(std::move(c));
}

void FakeSurface::filledBox(double x1, double y1, double x2, double y2, std::int32_t color) {
    DrawCall c;
    c.kind = DrawCall::FilledBox;
    c.x = x1;
    c.y = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.color = color;
    record(std::move(c));
}

void FakeSurface::paintPicture(const lumaro::Picture& p, double x, double y,
                               std::optional<double> w, std::optional<double> h) {
    DrawCall c;
    c.kind = DrawCall::Picture;
    c.x = x;
    c.y = y;
    c.x2 = x + w.value_or(naturalPictureWidth);
    c.y2 = y + h.value_or(naturalPictureHeight);
    c.text = p.file;
    record(std::move(c));
}

void FakeSurface::newPage() {
    DrawCall c;
    c.kind = DrawCall::NewPage;
    record(std::move(c));
    ++page;
}

void FakeSurface::endDoc() {
    ++endDocCalls;
    if (drawnSinceEnd_) {
        ++jobsEnded;
        DrawCall c;
        c.kind = DrawCall::EndDoc;
        c.page = page;
        calls.push_back(c);
    }
    drawnSinceEnd_ = false;
    page = 1;
}

std::vector<DrawCall> FakeSurface::texts() const {
    std::vector<DrawCall> out;
    for (const auto& c : calls) {
        if (c.kind == DrawCall::Text)
            out.push_back(c);
    }
    return out;
}

const DrawCall* FakeSurface::findText(const std::string& t) const {
    for (const auto& c : calls) {
        if (c.kind == DrawCall::Text && c.text == t)
            return &c;
    }
    return nullptr;
}

lumaro::Picture FakePictureLoader::load(const std::string& path) {
    loaded.push_back(path);
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".bad") == 0) {
        raiseError(err::kInvalidPicture);
    }
    return lumaro::Picture{next_++, path, nullptr};
}

namespace {

// The program's texts, file names included, are Windows-1252; the standard
// library takes a path from UTF-8 as such on every system (as UTF-16 on
// Windows), never through whatever code page the machine happens to use.
std::filesystem::path nativePath(const std::string& cp1252) {
    const std::string utf8 = toUtf8(cp1252);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

TempFolder::TempFolder() {
    // Test processes run side by side under ctest -j, so the name must not
    // repeat across processes: random_device, not rand().
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

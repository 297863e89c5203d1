// Fakes for the core's tests: the real print surface (every rule of it) on a
// device of fixed metrics, recording what is drawn; a settable clock, recorded
// messages, printers, pictures and a temporary program folder. On the
// documents' scale (210 x 297) a character is size/10 units wide and a text
// size*0.4 high, whatever the font, so layouts can be worked out by hand.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "printing/context.h"
#include "printing/printer_system.h"
#include "support/errors.h"
#include "support/services.h"

namespace lumaro::testing {

class FixedClock : public Clock {
  public:
    DateTime now() const override { return time; }
    DateTime time{2026, 12, 5, 14, 3, 27};
};

// Device units are tenths of a millimetre on an A4 sheet (254 dpi).
class FakeDevice : public PrintDevice {
  public:
    explicit FakeDevice(std::string name = "Fake Printer") : deviceName(std::move(name)) {}

    std::string name() const override { return deviceName; }
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

    std::string deviceName;
    // Width of a character in tenths of the font size; empty: 1.0 for all.
    std::function<double(unsigned char)> charWidth;
    double failBelowPoints = 0;  // measuring a smaller font raises 482
    bool ready = true;           // false: checkReady raises 482
    int failAtCall = -1;         // the n-th drawing call of a job (0-based) raises 482
    int measurements = 0;        // advance calls that reached the device
    // What reached the device, one line per call ("begin 1 2", "text 100 230 ...").
    std::vector<std::string> played;
    int jobsDelivered = 0;
    int jobsCancelled = 0;

  private:
    void call(std::string line);
    bool inJob_ = false;
    int callsInJob_ = 0;
};

struct DrawCall {
    enum Kind { Text, Line, Box, FilledBox, Picture, NewPage, EndDoc } kind = Text;
    int page = 1;                         // sheet of the current job, 1-based
    double x = 0, y = 0, x2 = 0, y2 = 0;  // Text/Picture: x,y top-left; x2,y2 = x+w, y+h
    std::string text;                     // Windows-1252; Picture: the file
    std::string font;
    double size = 0;
    bool bold = false, italic = false, underline = false;
    std::int32_t color = 0;
};

namespace detail {
// Built before the surface that uses them.
struct FakeSurfaceParts {
    FixedClock clock;
    std::shared_ptr<FakeDevice> device = std::make_shared<FakeDevice>();
};
}  // namespace detail

// The real surface on a FakeDevice, set up as documents set it (millimetres,
// A4 portrait 210 x 297), in "Veranda" 9 points, recording what is drawn.
class FakeSurface : private detail::FakeSurfaceParts, public PrintSurface {
  public:
    FakeSurface();
    ~FakeSurface();

    FakeDevice& fakeDevice() { return *device; }
    // Width measurements the surface's cache did not answer.
    int widthMeasurements() const { return device->measurements; }

    // What was drawn, in order, across all jobs.
    std::vector<DrawCall> calls;
    std::vector<DrawCall> texts() const;
    // Texts equal to t (Windows-1252), or starting with it.
    std::vector<DrawCall> texts(const std::string& t, bool prefix = false) const;
    std::vector<DrawCall> callsOf(DrawCall::Kind kind) const;
    int jobsEnded = 0;    // endDoc calls that ended a job that drew something
    int jobsAborted = 0;  // jobs discarded: never ended, or dropped by the device
    int endDocCalls = 0;

  private:
    class Recorder;
    std::unique_ptr<Recorder> recorder_;
};

// Characters of different widths, like a real font, so that a first guess from
// the average width is usually off (tenths of the size, as charWidth takes them).
double proportionalWidth(unsigned char ch);

class ProportionalSurface : public FakeSurface {
  public:
    ProportionalSurface() { fakeDevice().charWidth = proportionalWidth; }
};

// System printers by name and the built-in "Lumaro PDF", each a FakeDevice.
class FakePrinterSystem : public PrinterSystem {
  public:
    FakePrinterSystem(std::vector<std::string> names, std::string defaultPrinter)
        : names_(std::move(names)), default_(std::move(defaultPrinter)) {}
    std::vector<std::string> names() override { return names_; }
    std::string defaultName() override { return default_; }
    std::shared_ptr<PrintDevice> open(const std::string& name) override;
    std::shared_ptr<PrintDevice> openPdf(const std::string& folder) override;

  private:
    std::vector<std::string> names_;
    std::string default_;
    std::map<std::string, std::shared_ptr<PrintDevice>> opened_;
};

struct ShownMessage {
    std::string text, title;  // Windows-1252
    MessageIcon icon;
};

class RecordedMessages : public Messages {
  public:
    void show(const std::string& text, const std::string& title, MessageIcon icon) override {
        shown.push_back({text, title, icon});
    }
    std::vector<ShownMessage> shown;
};

// Pictures by name: ".bad" raises 481, any other is 300 x 200 pixels at 254 dpi
// (30 x 20 units on the documents' scale) with a fresh handle.
class FakePictureLoader : public PictureLoader {
  public:
    lumaro::Picture load(const std::string& path) override;

  private:
    int next_ = 1;
};

// A fresh temporary folder, removed with everything in it. Names and paths are
// Windows-1252, like every text of the program.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }  // also valid as Windows-1252
    std::string file(const std::string& name) const;   // path joined with name
    void write(const std::string& name, const std::string& bytes) const;
    std::optional<std::string> read(const std::string& name) const;

  private:
    std::string path_;
};

// Services on a temporary program folder (iniPath: its Halmor.ini), a fixed
// clock, German separators and recorded messages.
struct TestWorld {
    TempFolder folder;
    FixedClock clock;
    RecordedMessages messages;
    Services services{clock, messages, Regional{}, folder.path(), ""};
    FakeSurface surface;
    FakePictureLoader pictures;
    Context context{services, surface, pictures, PageBounds{}};
    TestWorld();
    // The day log of the fixed clock's day, or "" when there is none.
    std::string log() const;
};

// Windows-1252 from a UTF-8 literal, for comparisons in tests.
std::string w(const std::string& utf8);

// The number of the run-time error that call raises, 0 when it raises none.
template <class Call>
int errorOf(Call&& call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace lumaro::testing

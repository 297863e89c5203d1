// Fakes for the core's tests: a print surface with fixed, simple metrics that
// records every call, a clock tests can set, recorded message boxes, a picture
// loader without files, and a temporary program folder.
//
// Metrics of the fake surface: a character is fontSize / 10 units wide (1.0 at
// 10 points, whatever the font or style) and a text is fontSize * 0.4 units high
// (4.0 at 10 points), so every position in a layout can be worked out by hand.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "printing/context.h"
#include "support/errors.h"
#include "support/services.h"

namespace lumaro::testing {

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

class FakeSurface : public PrintSurface {
  public:
    void setScaleMode(int mode) override { scaleMode = mode; }
    void setOrientation(int o) override { orientation_ = o; }
    int orientation() const override { return orientation_; }
    void setScaleWidth(double w) override { scaleWidth_ = w; }
    double scaleWidth() const override { return scaleWidth_; }
    void setScaleHeight(double h) override { scaleHeight_ = h; }
    double scaleHeight() const override { return scaleHeight_; }
    void setCurrentX(double x) override { x_ = x; }
    double currentX() const override { return x_; }
    void setCurrentY(double y) override { y_ = y; }
    double currentY() const override { return y_; }
    void setFontName(const std::string& n) override { font_ = n; }
    std::string fontName() const override { return font_; }
    void setFontSize(double s) override;  // below minFontSize raises error 380
    double fontSize() const override { return size_; }
    void setFontBold(bool on) override { bold_ = on; }
    bool fontBold() const override { return bold_; }
    void setFontItalic(bool on) override { italic_ = on; }
    bool fontItalic() const override { return italic_; }
    void setFontUnderline(bool on) override { underline_ = on; }
    bool fontUnderline() const override { return underline_; }
    void setForeColor(std::int32_t c) override { color_ = c; }
    std::int32_t foreColor() const override { return color_; }

    void print(const std::string& text) override;
    double textWidth(const std::string& text) override;
    double textHeight(const std::string& text) override;
    void line(double x1, double y1, double x2, double y2) override;
    void boxOutline(double x1, double y1, double x2, double y2) override;
    void filledBox(double x1, double y1, double x2, double y2, std::int32_t color) override;
    void paintPicture(const lumaro::Picture& p, double x, double y, std::optional<double> w,
                      std::optional<double> h) override;
    void newPage() override;
    void endDoc() override;
    std::string deviceName() const override { return device; }

    // What was drawn, in order, across all jobs.
    std::vector<DrawCall> calls;
    // Texts only, in order.
    std::vector<DrawCall> texts() const;
    // The first text call whose text equals t (Windows-1252), or nullptr.
    const DrawCall* findText(const std::string& t) const;
    int widthMeasurements = 0;  // textWidth calls, for the wrap benchmark
    int jobsEnded = 0;          // endDoc calls that ended a job that drew something
    int endDocCalls = 0;
    int page = 1;
    int scaleMode = 0;
    double minFontSize = 1;  // the fake refuses smaller sizes, like a real device
    std::string device = "Fake Printer";
    // Natural picture size in scale units, for paintPicture without size.
    double naturalPictureWidth = 30, naturalPictureHeight = 20;

  private:
    void record(DrawCall c);
    bool drawnSinceEnd_ = false;
    int orientation_ = 1;
    double scaleWidth_ = 210, scaleHeight_ = 297;
    double x_ = 0, y_ = 0;
    std::string font_ = "Veranda";
    double size_ = 9;
    bool bold_ = false, italic_ = false, underline_ = false;
    std::int32_t color_ = 0;
};

class FixedClock : public Clock {
  public:
    DateTime now() const override { return time; }
    DateTime time{2026, 12, 5, 14, 3, 27};
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

// Pictures by file name: any file whose name ends in ".bad" raises 481, any
// other gives a picture with a fresh handle.
class FakePictureLoader : public PictureLoader {
  public:
    lumaro::Picture load(const std::string& path) override;
    std::vector<std::string> loaded;

  private:
    int next_ = 1;
};

// A fresh folder under the system's temporary folder, removed again with
// everything in it. Names and paths are Windows-1252, like every text of the
// program; file() joins with the system's separator as the program does.
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

// Services on a temporary program folder with a fixed clock, German separators
// and recorded messages; iniPath points at Halmor.ini in that folder.
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

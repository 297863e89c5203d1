// Text widths already measured on the current measuring device, so that a
// text measured again in the same font costs a lookup instead of a shaping
// run. Layouts measure the same texts over and over: a block is measured,
// then drawn; a wrapped text is measured whole for its alignment, for the
// line count and for the wrap itself; labels repeat on every record.
//
// The cache gives back exactly what the font metrics gave the first time, so
// nothing drawn moves by a hair. It holds for one device signature (printer
// and orientation, which fix the device's resolution and font engine) and is
// dropped when that changes, or when it grows past a bound.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace lumaro::platform {

// Everything of a font that the surface passes to makeFont.
struct FontSpec {
    const std::string& name;
    double size;
    bool bold, italic, underline;
};

class WidthCache {
  public:
    explicit WidthCache(std::size_t maxEntries = kMaxEntries) : maxEntries_(maxEntries) {}

    // Widths measured from here on belong to this device; those of another
    // device are forgotten. printer names the printer, spooler tells a system
    // printer's own device from a PDF writer (also the stand-in for a printer
    // that has gone), and the resolution completes what the metrics depend on.
    void useDevice(const QString& printer, bool spooler, int orientation, double dpiX, double dpiY);

    // The advance of text in font, in device pixels: measured by measure()
    // the first time, remembered after.
    template <class Measure>
    double advance(const FontSpec& font, const std::string& text, Measure measure) {
        makeKey(font, text);
        if (const auto it = widths_.find(key_); it != widths_.end())
            return it->second;
        const double width = measure();
        if (widths_.size() >= maxEntries_)
            widths_.clear();
        widths_.emplace(key_, width);
        return width;
    }

    std::size_t size() const { return widths_.size(); }

    // More than a long batch's distinct texts ever come to per device; the
    // bound only keeps a pathological document from growing it without end.
    static constexpr std::size_t kMaxEntries = 200000;

  private:
    void makeKey(const FontSpec& font, const std::string& text);

    std::size_t maxEntries_;
    QString printer_;
    bool spooler_ = false;
    int orientation_ = 0;
    double dpiX_ = 0, dpiY_ = 0;
    std::string key_;  // reused, so a hit allocates nothing
    std::unordered_map<std::string, double> widths_;
};

}  // namespace lumaro::platform

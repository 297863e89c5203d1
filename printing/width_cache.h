// Text widths already measured on the current measuring device, so that a
// text measured again in the same font costs a lookup instead of a shaping
// run. Layouts measure the same texts over and over: a block is measured,
// then drawn; a wrapped text is measured whole for its alignment, for the
// line count and for the wrap itself; labels repeat on every record.
//
// The cache gives back exactly what the device gave the first time, so
// nothing drawn moves by a hair. It holds for one device in one orientation
// and is dropped when that changes, or when it grows past a bound.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "printing/surface_events.h"

namespace lumaro {

class WidthCache {
  public:
    explicit WidthCache(std::size_t maxEntries = kMaxEntries) : maxEntries_(maxEntries) {}

    // Widths measured from here on belong to this device (compared by
    // identity) in this orientation; those of another are forgotten.
    void useDevice(const void* device, int orientation);

    // The advance of text in font: measured by measure() the first time,
    // remembered after.
    template <class Measure>
    double advance(const FontState& font, const std::string& text, Measure measure) {
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
    void makeKey(const FontState& font, const std::string& text);

    std::size_t maxEntries_;
    const void* device_ = nullptr;
    int orientation_ = 0;
    std::string key_;  // reused, so a hit allocates nothing
    std::unordered_map<std::string, double> widths_;
};

}  // namespace lumaro

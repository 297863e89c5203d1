#include "platform/qt/width_cache.h"

#include <cstring>

namespace lumaro::platform {

void WidthCache::useDevice(const QString& printer, bool spooler, int orientation, double dpiX,
                           double dpiY) {
    if (printer == printer_ && spooler == spooler_ && orientation == orientation_ &&
        dpiX == dpiX_ && dpiY == dpiY_)
        return;
    widths_.clear();
    printer_ = printer;
    spooler_ = spooler;
    orientation_ = orientation;
    dpiX_ = dpiX;
    dpiY_ = dpiY;
}

void WidthCache::makeKey(const FontSpec& font, const std::string& text) {
    // Length-prefixed name, the size's exact bits and the style flags, then the
    // text: no two fonts or texts can run into the same key.
    const auto nameLength = static_cast<std::uint32_t>(font.name.size());
    char fixed[sizeof nameLength + sizeof font.size + 1];
    std::memcpy(fixed, &nameLength, sizeof nameLength);
    std::memcpy(fixed + sizeof nameLength, &font.size, sizeof font.size);
    fixed[sizeof fixed - 1] =
        static_cast<char>((font.bold ? 1 : 0) | (font.italic ? 2 : 0) | (font.underline ? 4 : 0));
    key_.clear();
    key_.append(fixed, sizeof fixed);
    key_.append(font.name);
    key_.append(text);
}

}  // namespace lumaro::platform

#include "printing/width_cache.h"

#include <cstring>

namespace lumaro {

void WidthCache::useDevice(const void* device, int orientation) {
    if (device == device_ && orientation == orientation_)
        return;
    widths_.clear();
    device_ = device;
    orientation_ = orientation;
}

void WidthCache::makeKey(const FontState& font, const std::string& text) {
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

}  // namespace lumaro

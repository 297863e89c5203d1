// Where the PDF printer finds its fonts: the platform hands over the whole
// TrueType file of the font it uses for a family in a style (fontconfig on
// Linux, GetFontData on Windows), so the PDF embeds, and its widths measure,
// exactly the font the system would draw with.
#pragma once

#include <string>

namespace lumaro::pdf {

struct FontFile {
    std::string bytes;  // the whole file; empty when the system has no font for it
    int faceIndex = 0;  // the font within a collection (.ttc); 0 for a single font
};

class FontSource {
  public:
    virtual ~FontSource() = default;
    // family as the print surface's font table gives it (Windows-1252).
    virtual FontFile fontFile(const std::string& family, bool bold, bool italic) = 0;
};

}  // namespace lumaro::pdf

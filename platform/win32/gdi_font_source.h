// The PDF printer's fonts on Windows: the font file GDI selects for a family
// and style, read back with GetFontData. It is the very font the printers
// draw with and measure (gdi_print_device.h), so a PDF embeds, and its widths
// measure, what paper would show.
#pragma once

#include <string>

#include "pdf/font_source.h"

namespace lumaro::platform {

class GdiFontSource : public pdf::FontSource {
  public:
    // The whole file, and for a font in a collection (.ttc) the whole
    // collection with the font's index in it. Empty when GDI gives no
    // TrueType font with outlines of its own (glyf) for the family.
    pdf::FontFile fontFile(const std::string& family, bool bold, bool italic) override;
};

}  // namespace lumaro::platform

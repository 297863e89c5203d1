// The PDF printer's fonts on Linux: fontconfig names the file of the font for
// a family and style, the same way Qt resolves the family for the system's
// printers, so both draw with the same font.
#pragma once

#include <string>

#include "pdf/font_source.h"

namespace lumaro::platform {

class FontconfigFontSource : public pdf::FontSource {
  public:
    // The best match among the TrueType fonts: fontconfig's order for the
    // family, weight and slant, skipping fonts the PDF printer cannot embed
    // (CFF outlines, bitmaps). An empty file when there is none or it cannot
    // be read.
    pdf::FontFile fontFile(const std::string& family, bool bold, bool italic) override;
};

}  // namespace lumaro::platform

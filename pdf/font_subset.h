// A TrueType font program holding only the glyphs one PDF file draws, so that
// each file carries a few kilobytes of font instead of the whole file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/true_type_font.h"

namespace lumaro::pdf {

// Builds the subset: glyph i of the result is glyphs[i] of the font, so the
// PDF can address glyphs by their new numbers. glyphs must begin with 0 (the
// box for missing characters, which every font program must have first) and
// name each glyph once; the parts of composite glyphs (the base letter and
// the accent of "ä") are appended to it. Hinting instructions are left out:
// they only serve screens at small sizes, and a PDF is rendered unhinted.
// Raises RuntimeError 482 for composite glyphs the font does not describe
// soundly (a part outside the font, a glyph made of itself, nesting deeper
// than any real font).
std::string subsetFont(const TrueTypeFont& font, std::vector<std::uint16_t>& glyphs);

}  // namespace lumaro::pdf

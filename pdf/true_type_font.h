// A TrueType font read from its file's own tables, once: what measuring needs
// (advance widths, line metrics), what drawing needs (the glyph of each
// Windows-1252 byte, the underline) and what embedding needs (glyph outlines,
// the values of the font descriptor).
//
// Widths are the design widths of the hmtx table, as Windows measures text
// without kerning; the height of a line is usWinAscent + usWinDescent of the
// OS/2 table, as Windows measures a line. All lengths here are in font design
// units (unitsPerEm to the em).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/binary.h"

namespace lumaro::pdf {

struct FontFacts {
    int unitsPerEm = 1000;
    int winAscent = 0, winDescent = 0;  // both positive: above and below the baseline
    // The top of the underline (negative: below the baseline) and its thickness.
    int underlinePosition = 0, underlineThickness = 0;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;  // the bounding box of all glyphs
    int ascender = 0, descender = 0;             // hhea, for the font descriptor
    int capHeight = 0;
    int weightClass = 400;
    double italicAngle = 0;  // degrees, counter-clockwise from upright
    bool italic = false, fixedPitch = false;
    // The PostScript name (name table, ID 6), only the characters a PDF name
    // may hold unescaped; "Font" when the file names none.
    std::string postScriptName;
};

class TrueTypeFont {
  public:
    // Reads the font from the whole file (faceIndex picks one font of a
    // collection). Raises RuntimeError 482 when the bytes are no TrueType
    // font that can be measured and embedded: a table missing or reaching
    // past the end of the file, CFF outlines, no Unicode character map.
    explicit TrueTypeFont(std::string file, int faceIndex = 0);
    TrueTypeFont(const TrueTypeFont&) = delete;
    TrueTypeFont& operator=(const TrueTypeFont&) = delete;

    const FontFacts& facts() const { return facts_; }
    int glyphCount() const { return glyphCount_; }

    // The glyph that draws a Windows-1252 byte: the font's own for its
    // Unicode character, glyph 0 (the font's box for a missing character)
    // when the font has none.
    std::uint16_t glyphOf(unsigned char byte) const { return byteGlyphs_[byte]; }
    // The advance of a text in design units, the sum of its glyphs' widths.
    std::int64_t advance(std::string_view cp1252) const {
        std::int64_t sum = 0;
        for (char c : cp1252)
            sum += byteAdvances_[static_cast<unsigned char>(c)];
        return sum;
    }

    int advanceOfGlyph(std::uint16_t glyph) const;
    int leftSideBearingOfGlyph(std::uint16_t glyph) const;
    // The glyph's outline as the glyf table holds it; empty for a glyph
    // without outline and for one whose place in the table is not valid.
    std::string_view glyphData(std::uint16_t glyph) const;
    // The tables the subset copies and adjusts (head, hhea, maxp).
    Bytes head() const { return head_; }
    Bytes hhea() const { return hhea_; }
    Bytes maxp() const { return maxp_; }

  private:
    void readTables(int faceIndex);
    void readMetrics();
    void readCharacterMap();
    void readName();
    Bytes table(std::uint32_t t) const;

    std::string file_;
    Bytes bytes_;
    // The table directory of the face: tag, offset and length of each table.
    std::string_view directory_;
    Bytes head_, hhea_, maxp_, hmtx_, loca_, glyf_;
    int glyphCount_ = 0;
    int longMetrics_ = 0;  // entries of hmtx with their own advance
    bool longOffsets_ = false;
    FontFacts facts_;
    std::array<std::uint16_t, 256> byteGlyphs_{};
    std::array<int, 256> byteAdvances_{};
};

}  // namespace lumaro::pdf

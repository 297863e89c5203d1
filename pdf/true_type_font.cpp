#include "pdf/true_type_font.h"

#include <algorithm>
#include <utility>

#include "support/codepage.h"

namespace lumaro::pdf {
namespace {

[[noreturn]] void bad() {
    raiseError(err::kPrinterError);
}

constexpr std::uint32_t kTrueType = 0x00010000;
constexpr std::uint32_t kTrueTypeMac = tag("true");
constexpr std::uint32_t kCollection = tag("ttcf");

// The glyph of a character in a format 4 subtable (segments of 16-bit
// characters), 0 when the subtable has none.
std::uint16_t lookUpFormat4(const Bytes& t, std::uint32_t c) {
    if (c > 0xFFFF)
        return 0;
    const std::size_t segX2 = t.u16(6);
    if (segX2 == 0 || segX2 % 2 != 0)
        bad();
    const std::size_t ends = 14, starts = 16 + segX2, deltas = 16 + 2 * segX2,
                      rangeOffsets = 16 + 3 * segX2;
    for (std::size_t i = 0; i < segX2; i += 2) {
        const std::uint32_t end = t.u16(ends + i);
        if (c > end)
            continue;
        const std::uint32_t start = t.u16(starts + i);
        if (c < start)
            return 0;
        const std::uint16_t delta = t.u16(deltas + i);
        const std::uint16_t rangeOffset = t.u16(rangeOffsets + i);
        if (rangeOffset == 0)
            return static_cast<std::uint16_t>(c + delta);
        // The offset counts from its own place in the table.
        const std::size_t at = rangeOffsets + i + rangeOffset + 2 * (c - start);
        if (!t.has(at, 2))
            return 0;
        const std::uint16_t g = t.u16(at);
        return g == 0 ? 0 : static_cast<std::uint16_t>(g + delta);
    }
    return 0;
}

// The glyph of a character in a format 12 subtable (groups of 32-bit
// characters), 0 when the subtable has none.
std::uint16_t lookUpFormat12(const Bytes& t, std::uint32_t c) {
    const std::uint32_t groups = t.u32(12);
    if (!t.has(16, std::size_t{groups} * 12))
        bad();
    for (std::uint32_t i = 0; i < groups; ++i) {
        const std::size_t g = 16 + std::size_t{i} * 12;
        const std::uint32_t first = t.u32(g), last = t.u32(g + 4);
        if (c >= first && c <= last) {
            const std::uint64_t glyph = std::uint64_t{t.u32(g + 8)} + (c - first);
            return glyph > 0xFFFF ? 0 : static_cast<std::uint16_t>(glyph);
        }
    }
    return 0;
}

// Keeps the characters a PDF name takes unescaped and a font name uses.
std::string nameCharacters(std::string_view s) {
    std::string out;
    for (char c : s) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '+')
            out += c;
    }
    return out.substr(0, 63);
}

}  // namespace

TrueTypeFont::TrueTypeFont(std::string file, int faceIndex)
    : file_(std::move(file)), bytes_(file_) {
    readTables(faceIndex);
    readMetrics();
    readCharacterMap();
    readName();
}

Bytes TrueTypeFont::table(std::uint32_t t) const {
    const Bytes dir(directory_);
    for (std::size_t at = 0; at + 16 <= dir.size(); at += 16) {
        if (dir.u32(at) == t)
            return bytes_.sub(dir.u32(at + 8), dir.u32(at + 12));
    }
    return Bytes();
}

void TrueTypeFont::readTables(int faceIndex) {
    std::size_t face = 0;
    if (bytes_.u32(0) == kCollection) {
        const std::uint32_t fonts = bytes_.u32(8);
        if (faceIndex < 0 || static_cast<std::uint32_t>(faceIndex) >= fonts)
            bad();
        face = bytes_.u32(12 + 4 * static_cast<std::size_t>(faceIndex));
    }
    // CFF outlines ("OTTO") cannot be embedded as a TrueType font program.
    const std::uint32_t version = bytes_.u32(face);
    if (version != kTrueType && version != kTrueTypeMac)
        bad();
    const std::size_t tables = bytes_.u16(face + 4);
    directory_ = bytes_.sub(face + 12, tables * 16).view();
    // Every table, used here or not, must lie in the file: a file cut short
    // anywhere is refused, not read in part.
    const Bytes dir(directory_);
    for (std::size_t at = 0; at < dir.size(); at += 16)
        bytes_.sub(dir.u32(at + 8), dir.u32(at + 12));

    head_ = table(tag("head"));
    hhea_ = table(tag("hhea"));
    maxp_ = table(tag("maxp"));
    hmtx_ = table(tag("hmtx"));
    loca_ = table(tag("loca"));
    glyf_ = table(tag("glyf"));
    if (head_.size() < 54 || hhea_.size() < 36 || maxp_.size() < 6 || glyf_.empty())
        bad();
    glyphCount_ = maxp_.u16(4);
    longMetrics_ = hhea_.u16(34);
    const int locFormat = head_.i16(50);
    if (glyphCount_ < 1 || longMetrics_ < 1 || longMetrics_ > glyphCount_ ||
        (locFormat != 0 && locFormat != 1))
        bad();
    longOffsets_ = locFormat == 1;
    if (!hmtx_.has(0, 4 * static_cast<std::size_t>(longMetrics_)) ||
        !loca_.has(0, (longOffsets_ ? 4u : 2u) * (static_cast<std::size_t>(glyphCount_) + 1)))
        bad();
}

void TrueTypeFont::readMetrics() {
    FontFacts& f = facts_;
    f.unitsPerEm = head_.u16(18);
    // The format allows 16 to 16384; anything else makes every width nonsense.
    if (f.unitsPerEm < 16 || f.unitsPerEm > 16384)
        bad();
    f.xMin = head_.i16(36);
    f.yMin = head_.i16(38);
    f.xMax = head_.i16(40);
    f.yMax = head_.i16(42);
    const std::uint16_t macStyle = head_.u16(44);
    f.ascender = hhea_.i16(4);
    f.descender = hhea_.i16(6);

    // Without OS/2 (fonts made for the Mac) Windows would not list the font;
    // the horizontal header's values are the nearest.
    const Bytes os2 = table(tag("OS/2"));
    if (os2.size() >= 78) {
        f.weightClass = os2.u16(4);
        f.winAscent = os2.u16(74);
        f.winDescent = os2.u16(76);
        f.italic = (os2.u16(62) & 1) != 0;
        f.capHeight = os2.size() >= 90 && os2.u16(0) >= 2 ? os2.i16(88) : 0;
    } else {
        f.winAscent = std::max(0, f.ascender);
        f.winDescent = std::max(0, -f.descender);
        f.weightClass = (macStyle & 1) ? 700 : 400;
    }
    if (f.winAscent + f.winDescent <= 0) {
        // A font that gives Windows no line at all: its horizontal header's.
        f.winAscent = std::max(0, f.ascender);
        f.winDescent = std::max(0, -f.descender);
    }
    if (f.winAscent + f.winDescent <= 0)
        f.winAscent = f.unitsPerEm;  // still none: an em
    if (f.capHeight <= 0)
        f.capHeight = f.ascender * 7 / 10;
    f.italic = f.italic || (macStyle & 2) != 0;

    const Bytes post = table(tag("post"));
    if (post.size() >= 16) {
        f.italicAngle = static_cast<std::int32_t>(post.u32(4)) / 65536.0;
        f.underlinePosition = post.i16(8);
        f.underlineThickness = post.i16(10);
        f.fixedPitch = post.u32(12) != 0;
    }
    if (f.underlineThickness <= 0) {
        // No underline given: a twentieth of the em, a tenth below the baseline.
        f.underlineThickness = std::max(1, f.unitsPerEm / 20);
        f.underlinePosition = -f.unitsPerEm / 10;
    }
}

void TrueTypeFont::readCharacterMap() {
    const Bytes cmap = table(tag("cmap"));
    if (cmap.empty())
        bad();
    // The best Unicode subtable: full Unicode (format 12) before the 16-bit
    // one (format 4); a symbol font's map (3, 0) holds its characters at
    // 0xF000 + the byte, where Windows looks for them.
    Bytes best;
    int bestRank = 0;
    bool symbol = false;
    const std::size_t subtables = cmap.u16(2);
    for (std::size_t i = 0; i < subtables; ++i) {
        const std::size_t rec = 4 + i * 8;
        const std::uint16_t platform = cmap.u16(rec), encoding = cmap.u16(rec + 2);
        const Bytes sub = cmap.from(cmap.u32(rec + 4));
        const std::uint16_t format = sub.u16(0);
        int rank = 0;
        if (format == 12 && (platform == 3 || platform == 0))
            rank = 4;
        else if (format == 4 && platform == 3 && encoding == 1)
            rank = 3;
        else if (format == 4 && platform == 0)
            rank = 2;
        else if (format == 4 && platform == 3 && encoding == 0)
            rank = 1;
        if (rank > bestRank) {
            bestRank = rank;
            best = sub;
            symbol = rank == 1;
        }
    }
    if (bestRank == 0)
        bad();
    const bool twelve = bestRank == 4;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const std::uint32_t c = symbol ? 0xF000 + byte : toUnicode(byte);
        std::uint16_t g = twelve ? lookUpFormat12(best, c) : lookUpFormat4(best, c);
        if (g >= glyphCount_)
            g = 0;
        byteGlyphs_[byte] = g;
        byteAdvances_[byte] = advanceOfGlyph(g);
    }
}

void TrueTypeFont::readName() {
    const Bytes name = table(tag("name"));
    std::string found;
    if (name.size() >= 6) {
        const std::size_t count = name.u16(2);
        const std::size_t strings = name.u16(4);
        for (std::size_t i = 0; i < count && found.empty(); ++i) {
            const std::size_t rec = 6 + i * 12;
            if (!name.has(rec, 12))
                break;
            const std::uint16_t platform = name.u16(rec), id = name.u16(rec + 6);
            const std::size_t length = name.u16(rec + 8), offset = name.u16(rec + 10);
            if (id != 6 || !name.has(strings + offset, length))
                continue;
            const std::string_view s = name.sub(strings + offset, length).view();
            if (platform == 3 || platform == 0) {
                // UTF-16 big-endian: its ASCII characters are every second byte.
                std::string ascii;
                for (std::size_t k = 1; k < s.size(); k += 2)
                    ascii += s[k - 1] == 0 ? s[k] : '?';
                found = nameCharacters(ascii);
            } else if (platform == 1) {
                found = nameCharacters(s);
            }
        }
    }
    facts_.postScriptName = found.empty() ? "Font" : found;
}

int TrueTypeFont::advanceOfGlyph(std::uint16_t glyph) const {
    // Glyphs past the last long entry share its advance.
    const int entry = std::min<int>(glyph, longMetrics_ - 1);
    return hmtx_.u16(4 * static_cast<std::size_t>(entry));
}

int TrueTypeFont::leftSideBearingOfGlyph(std::uint16_t glyph) const {
    if (glyph < longMetrics_)
        return hmtx_.i16(4 * static_cast<std::size_t>(glyph) + 2);
    const std::size_t at = 4 * static_cast<std::size_t>(longMetrics_) +
                           2 * static_cast<std::size_t>(glyph - longMetrics_);
    return hmtx_.has(at, 2) ? hmtx_.i16(at) : 0;
}

std::string_view TrueTypeFont::glyphData(std::uint16_t glyph) const {
    if (glyph >= glyphCount_)
        return {};
    std::size_t from = 0, to = 0;
    if (longOffsets_) {
        from = loca_.u32(4 * std::size_t{glyph});
        to = loca_.u32(4 * std::size_t{glyph} + 4);
    } else {
        from = 2 * std::size_t{loca_.u16(2 * std::size_t{glyph})};
        to = 2 * std::size_t{loca_.u16(2 * std::size_t{glyph} + 2)};
    }
    if (to <= from || !glyf_.has(from, to - from))
        return {};
    return glyf_.sub(from, to - from).view();
}

}  // namespace lumaro::pdf

// The font parser and the subsetter on the real Debian fonts and on broken
// ones. Expected glyphs were read from the files apart from this code.
#include "pdf/true_type_font.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "pdf/font_subset.h"
#include "pdf/testing_fonts.h"
#include "support/codepage.h"
#include "tests/fakes/fakes.h"

namespace lumaro::pdf {
namespace {

using lumaro::testing::errorOf;
using lumaro::testing::w;
using testing::kDejaVu;
using testing::kLiberation;
using testing::readFile;

#define READ_FONT(var, path)                                    \
    const std::string var = readFile(path);                     \
    if (var.empty())                                            \
    GTEST_SKIP() << path                                        \
                 << " cannot be read here (fonts-dejavu-core, " \
                    "fonts-liberation2)"

TEST(TrueTypeFont, MapsWindows1252ThroughUnicodeToTheFontsGlyphs) {
    READ_FONT(file, kLiberation + "LiberationSerif-Italic.ttf");
    const TrueTypeFont font(file);
    // „ “ – … and € are in the byte range where Windows-1252 is not Latin-1.
    const std::string text = w("„Zitat“ – Ende…€");
    const std::vector<int> glyphs = {2026, 61, 76, 87, 68, 87, 2024, 3,
                                     2015, 3,  40, 81, 71, 72, 2031, 2088};
    ASSERT_EQ(text.size(), glyphs.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        EXPECT_EQ(font.glyphOf(static_cast<unsigned char>(text[i])), glyphs[i]) << i;
    EXPECT_EQ(font.glyphOf(0x81), 0);
}

TEST(TrueTypeFont, WhatIsNoUsableTrueTypeFontIsAPrinterError) {
    READ_FONT(file, kDejaVu + "DejaVuSans.ttf");
    std::vector<std::pair<std::string, std::string>> bad = {
        {"empty", ""},
        {"header only", file.substr(0, 12)},
        {"directory cut", file.substr(0, 100)},
        {"last byte missing", file.substr(0, file.size() - 1)},
        {"CFF outlines", "OTTO" + file.substr(4)},
        {"collection without fonts", std::string("ttcf\0\1\0\0\0\0\0\0", 12)},
    };
    // Cut in the middle of every table.
    const Bytes b(file);
    for (std::size_t at = 12; at + 16 <= 12 + 16 * std::size_t{b.u16(4)}; at += 16)
        bad.emplace_back("cut in a table", file.substr(0, b.u32(at + 8) + b.u32(at + 12) / 2));
    std::mt19937 random(1);
    std::string noise(5000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    bad.emplace_back("noise", noise);
    bad.emplace_back("noise after a true header", file.substr(0, 12) + noise);
    for (const auto& [what, bytes] : bad)
        EXPECT_EQ(errorOf([&] { TrueTypeFont font(bytes); }), err::kPrinterError) << what;
}

// The tables of a font program, for looking into a subset.
std::map<std::string, Bytes> tablesOf(const std::string& font) {
    std::map<std::string, Bytes> tables;
    const Bytes b(font);
    for (std::size_t at = 12; at < 12 + 16 * std::size_t{b.u16(4)}; at += 16)
        tables[std::string(font.substr(at, 4))] = b.sub(b.u32(at + 8), b.u32(at + 12));
    return tables;
}

TEST(FontSubset, HoldsTheGlyphsAskedForAndThePartsOfComposites) {
    READ_FONT(file, kDejaVu + "DejaVuSans.ttf");
    const TrueTypeFont font(file);
    const std::string text = w("Größe ä€");
    std::vector<std::uint16_t> glyphs = {0};
    for (char c : text) {
        const std::uint16_t g = font.glyphOf(static_cast<unsigned char>(c));
        if (std::find(glyphs.begin(), glyphs.end(), g) == glyphs.end())
            glyphs.push_back(g);
    }
    const std::size_t asked = glyphs.size();
    const std::string subset = subsetFont(font, glyphs);

    // "ä" is "a" and the dieresis: both came along, after the glyphs asked for.
    const std::uint16_t a = font.glyphOf('a'), umlaut = font.glyphOf(0xE4);
    ASSERT_LT(Bytes(font.glyphData(umlaut)).i16(0), 0) << "ä should be a composite";
    EXPECT_NE(std::find(glyphs.begin() + asked, glyphs.end(), a), glyphs.end());
    EXPECT_EQ(std::set<std::uint16_t>(glyphs.begin(), glyphs.end()).size(), glyphs.size());

    auto t = tablesOf(subset);  // no hinting programs, no names, no kerning
    std::string names;
    for (const auto& [name, table] : t)
        names += name + " ";
    EXPECT_EQ(names, "glyf head hhea hmtx loca maxp post ");
    const auto n = glyphs.size();
    EXPECT_EQ(t["maxp"].u16(4), n);
    for (std::size_t i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t["hmtx"].u16(4 * i), font.advanceOfGlyph(glyphs[i]));
        const Bytes original(font.glyphData(glyphs[i]));
        const std::uint32_t from = t["loca"].u32(4 * i), to = t["loca"].u32(4 * i + 4);
        ASSERT_LE(from, to);
        if (original.empty()) {
            EXPECT_EQ(from, to);
            continue;
        }
        const Bytes copy = t["glyf"].sub(from, to - from);
        EXPECT_EQ(copy.u16(0), original.u16(0));  // the same glyph
        if (copy.i16(0) >= 0) {
            EXPECT_EQ(copy.u16(10 + 2 * copy.u16(0)), 0);  // no instructions
            continue;
        }
        // A composite names its parts by their numbers in the subset.
        for (std::size_t at = 10;;) {
            const std::uint16_t flags = copy.u16(at);
            EXPECT_LT(copy.u16(at + 2), n);
            EXPECT_EQ(flags & 0x0100, 0);  // no instructions follow
            if (!(flags & 0x0020))
                break;
            at += 4 + ((flags & 0x0001) ? 4 : 2) +
                  ((flags & 0x0008)   ? 2
                   : (flags & 0x0040) ? 4
                   : (flags & 0x0080) ? 8
                                      : 0);
        }
    }
    EXPECT_LT(subset.size(), 4000u);
}

TEST(FontSubset, ACompositeMadeOfItselfIsAPrinterError) {
    READ_FONT(file, kDejaVu + "DejaVuSans.ttf");
    const TrueTypeFont original(file);
    const std::uint16_t umlaut = original.glyphOf(0xE4);
    auto t = tablesOf(file);
    const std::size_t start = t["head"].i16(50) == 1 ? t["loca"].u32(4 * std::size_t{umlaut})
                                                     : 2 * t["loca"].u16(2 * std::size_t{umlaut});
    const std::size_t at = static_cast<std::size_t>(t["glyf"].view().data() - file.data()) + start;
    std::string changed = file;
    setU16(changed, at + 12, umlaut);  // the first part is the glyph itself
    const TrueTypeFont font(changed);
    std::vector<std::uint16_t> glyphs = {0, umlaut};
    EXPECT_EQ(errorOf([&] { subsetFont(font, glyphs); }), err::kPrinterError);
    std::vector<std::uint16_t> notFirst = {5};
    EXPECT_EQ(errorOf([&] { subsetFont(font, notFirst); }), err::kPrinterError);
}

}  // namespace
}  // namespace lumaro::pdf

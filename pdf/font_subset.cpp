#include "pdf/font_subset.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "pdf/binary.h"

namespace lumaro::pdf {
namespace {

[[noreturn]] void bad() {
    raiseError(err::kPrinterError);
}

// Flags of a composite glyph's component.
constexpr std::uint16_t kArgsAreWords = 0x0001;
constexpr std::uint16_t kHasScale = 0x0008;
constexpr std::uint16_t kMoreComponents = 0x0020;
constexpr std::uint16_t kHasXYScale = 0x0040;
constexpr std::uint16_t kHasTwoByTwo = 0x0080;
constexpr std::uint16_t kHasInstructions = 0x0100;

// No real font nests composites more than a few levels; a deeper chain is a
// circle or a broken file.
constexpr int kMaxNesting = 16;

struct Component {
    std::size_t flagsAt;  // where its flags and glyph number stand in the glyph data
    std::uint16_t glyph;
};

// The components of a composite glyph, and where they end (the optional
// instructions follow). Empty for a simple glyph.
std::vector<Component> componentsOf(const Bytes& g, std::size_t& end) {
    std::vector<Component> parts;
    end = g.size();
    if (g.size() < 10 || g.i16(0) >= 0)
        return parts;
    std::size_t at = 10;
    for (;;) {
        const std::uint16_t flags = g.u16(at);
        parts.push_back({at, g.u16(at + 2)});
        at += 4 + ((flags & kArgsAreWords) ? 4 : 2);
        if (flags & kHasScale)
            at += 2;
        else if (flags & kHasXYScale)
            at += 4;
        else if (flags & kHasTwoByTwo)
            at += 8;
        if (at > g.size())
            bad();
        if (!(flags & kMoreComponents))
            break;
    }
    end = at;
    return parts;
}

// The glyph data without its hinting instructions.
std::string withoutInstructions(
    const Bytes& g, const std::vector<Component>& parts, std::size_t partsEnd,
    const std::unordered_map<std::uint16_t, std::uint16_t>& renumbered) {
    std::string out;
    if (g.size() < 10)
        return out;  // no outline
    const int contours = g.i16(0);
    if (contours >= 0) {
        const std::size_t lengthAt = 10 + 2 * static_cast<std::size_t>(contours);
        const std::size_t instructions = g.u16(lengthAt);
        const std::size_t rest = lengthAt + 2 + instructions;
        if (rest > g.size())
            bad();
        out.assign(g.view().substr(0, lengthAt));
        putU16(out, 0);
        out.append(g.view().substr(rest));
        return out;
    }
    out.assign(g.view().substr(0, partsEnd));
    for (const Component& c : parts) {
        setU16(out, c.flagsAt, g.u16(c.flagsAt) & ~kHasInstructions);
        setU16(out, c.flagsAt + 2, renumbered.at(c.glyph));
    }
    return out;
}

std::uint32_t checksum(const std::string& table) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < table.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k)
            word =
                word << 8 | (i + k < table.size() ? static_cast<unsigned char>(table[i + k]) : 0);
        sum += word;
    }
    return sum;
}

class Subsetter {
  public:
    Subsetter(const TrueTypeFont& font, std::vector<std::uint16_t>& glyphs)
        : font_(font), glyphs_(glyphs) {}

    std::string build() {
        if (glyphs_.empty() || glyphs_[0] != 0)
            bad();
        for (std::size_t i = 0; i < glyphs_.size(); ++i)
            renumbered_.emplace(glyphs_[i], static_cast<std::uint16_t>(i));
        // Parts are appended as they are found, and looked at in turn.
        for (std::size_t i = 0; i < glyphs_.size(); ++i) {
            std::size_t end = 0;
            for (const Component& c : componentsOf(Bytes(font_.glyphData(glyphs_[i])), end)) {
                if (c.glyph >= font_.glyphCount())
                    bad();
                if (renumbered_.emplace(c.glyph, static_cast<std::uint16_t>(glyphs_.size())).second)
                    glyphs_.push_back(c.glyph);
            }
            if (glyphs_.size() > 0xFFFF)
                bad();
        }
        for (std::uint16_t g : glyphs_)
            nesting(g, 0);
        return assemble();
    }

  private:
    // How deep the composite g nests; raises 482 for a circle or a chain too deep.
    int nesting(std::uint16_t g, int depth) {
        if (depth > kMaxNesting)
            bad();
        const auto known = depth_.find(g);
        if (known != depth_.end()) {
            if (depth + known->second > kMaxNesting)
                bad();
            return known->second;
        }
        std::size_t end = 0;
        int deepest = 0;
        for (const Component& c : componentsOf(Bytes(font_.glyphData(g)), end))
            deepest = std::max(deepest, 1 + nesting(c.glyph, depth + 1));
        if (depth + deepest > kMaxNesting)
            bad();
        depth_.emplace(g, deepest);
        return deepest;
    }

    std::string assemble() {
        const auto count = static_cast<std::uint32_t>(glyphs_.size());
        std::string glyf, loca, hmtx;
        for (std::uint16_t g : glyphs_) {
            putU32(loca, static_cast<std::uint32_t>(glyf.size()));
            const Bytes data(font_.glyphData(g));
            std::size_t end = 0;
            const std::vector<Component> parts = componentsOf(data, end);
            glyf += withoutInstructions(data, parts, end, renumbered_);
            glyf.resize((glyf.size() + 3) & ~std::size_t{3}, '\0');
            putU16(hmtx, static_cast<std::uint32_t>(font_.advanceOfGlyph(g)));
            putU16(hmtx, static_cast<std::uint16_t>(font_.leftSideBearingOfGlyph(g)));
        }
        putU32(loca, static_cast<std::uint32_t>(glyf.size()));

        std::string head(font_.head().view().substr(0, 54));
        setU32(head, 8, 0);   // checkSumAdjustment, set below
        setU16(head, 50, 1);  // long offsets in loca
        std::string hhea(font_.hhea().view().substr(0, 36));
        setU16(hhea, 34, count);  // every glyph has its own advance
        std::string maxp(font_.maxp().view().substr(0, font_.maxp().size() >= 32 ? 32 : 6));
        setU16(maxp, 4, count);
        // post format 3: the underline and pitch, no glyph names.
        const FontFacts& f = font_.facts();
        std::string post;
        putU32(post, 0x00030000);
        putU32(post, static_cast<std::uint32_t>(static_cast<std::int32_t>(f.italicAngle * 65536)));
        putU16(post, static_cast<std::uint16_t>(f.underlinePosition));
        putU16(post, static_cast<std::uint16_t>(f.underlineThickness));
        putU32(post, f.fixedPitch ? 1 : 0);
        post.append(16, '\0');

        // In the order of their tags, as the directory must list them.
        const std::array<std::pair<const char*, const std::string*>, 7> tables{{{"glyf", &glyf},
                                                                                {"head", &head},
                                                                                {"hhea", &hhea},
                                                                                {"hmtx", &hmtx},
                                                                                {"loca", &loca},
                                                                                {"maxp", &maxp},
                                                                                {"post", &post}}};
        std::string out;
        putU32(out, 0x00010000);
        putU16(out, tables.size());
        putU16(out, 64);  // searchRange: 16 * the greatest power of 2 <= 7
        putU16(out, 2);   // entrySelector: log2(4)
        putU16(out, tables.size() * 16 - 64);
        std::size_t offset = 12 + tables.size() * 16;
        std::size_t headAt = 0;
        for (const auto& [name, data] : tables) {
            out.append(name, 4);
            putU32(out, checksum(*data));
            putU32(out, static_cast<std::uint32_t>(offset));
            putU32(out, static_cast<std::uint32_t>(data->size()));
            if (data == &head)
                headAt = offset;
            offset += (data->size() + 3) & ~std::size_t{3};
        }
        for (const auto& entry : tables) {
            out += *entry.second;
            out.resize((out.size() + 3) & ~std::size_t{3}, '\0');
        }
        setU32(out, headAt + 8, 0xB1B0AFBA - checksum(out));
        return out;
    }

    const TrueTypeFont& font_;
    std::vector<std::uint16_t>& glyphs_;
    std::unordered_map<std::uint16_t, std::uint16_t> renumbered_;
    std::unordered_map<std::uint16_t, int> depth_;
};

}  // namespace

std::string subsetFont(const TrueTypeFont& font, std::vector<std::uint16_t>& glyphs) {
    return Subsetter(font, glyphs).build();
}

}  // namespace lumaro::pdf

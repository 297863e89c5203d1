#include "platform/qt/fontconfig_font_source.h"

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <optional>

#include "support/codepage.h"

namespace lumaro::platform {
namespace {

struct PatternFree {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FontSetFree {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};

// In one read of its known size: a font file is hundreds of kilobytes, and
// copying it a character at a time cost more than writing the whole PDF.
std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), size))
        return {};
    return bytes;
}

// The font's file when it is a TrueType font the PDF printer can embed.
std::optional<pdf::FontFile> trueTypeFile(FcPattern* font) {
    FcChar8* format = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(font, FC_FONTFORMAT, 0, &format) != FcResultMatch ||
        std::strcmp(reinterpret_cast<const char*>(format), "TrueType") != 0 ||
        FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
        return std::nullopt;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    std::string bytes = readFile(reinterpret_cast<const char*>(file));
    if (bytes.empty())
        return std::nullopt;
    // The upper half of the index names an instance of a variable font;
    // its default instance is what the file's tables describe.
    return pdf::FontFile{std::move(bytes), index & 0xFFFF};
}

}  // namespace

pdf::FontFile FontconfigFontSource::fontFile(const std::string& family, bool bold, bool italic) {
    if (!FcInit())
        return {};
    const std::string utf8 = toUtf8(family);
    std::unique_ptr<FcPattern, PatternFree> pattern(FcPatternCreate());
    if (!pattern)
        return {};
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    // The best match first: sorting every font of the system costs more
    // than the rest of a one-record document.
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, PatternFree> best(FcFontMatch(nullptr, pattern.get(), &result));
    if (best) {
        if (auto file = trueTypeFile(best.get()))
            return std::move(*file);
    }
    // The sorted list, so that a family whose best match is an OpenType font
    // with CFF outlines still finds a TrueType one.
    std::unique_ptr<FcFontSet, FontSetFree> fonts(
        FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
    if (!fonts)
        return {};
    for (int i = 0; i < fonts->nfont; ++i) {
        if (auto file = trueTypeFile(fonts->fonts[i]))
            return std::move(*file);
    }
    return {};
}

}  // namespace lumaro::platform

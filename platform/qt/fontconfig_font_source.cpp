#include "platform/qt/fontconfig_font_source.h"

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "support/codepage.h"

namespace lumaro::platform {
namespace {

struct PatternFree {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FontSetFree {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
    // The sorted list, not only the best match, so that a family whose best
    // match is an OpenType font with CFF outlines still finds a TrueType one.
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcFontSet, FontSetFree> fonts(
        FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
    if (!fonts)
        return {};
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        FcChar8* format = nullptr;
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(font, FC_FONTFORMAT, 0, &format) != FcResultMatch ||
            std::strcmp(reinterpret_cast<const char*>(format), "TrueType") != 0 ||
            FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
            continue;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        std::string bytes = readFile(reinterpret_cast<const char*>(file));
        if (bytes.empty())
            continue;
        // The upper half of the index names an instance of a variable font;
        // its default instance is what the file's tables describe.
        return pdf::FontFile{std::move(bytes), index & 0xFFFF};
    }
    return {};
}

}  // namespace lumaro::platform

// For tests, samples, the fuzzer and the benchmark only: the fonts of Debian's
// fonts-dejavu-core and fonts-liberation2 by family and style, read straight
// from their files, as a font source that needs no fontconfig.
#pragma once

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "pdf/font_source.h"

namespace lumaro::pdf::testing {

inline const std::string kDejaVu = "/usr/share/fonts/truetype/dejavu/";
inline const std::string kLiberation = "/usr/share/fonts/truetype/liberation2/";

// The whole file, or "" when it cannot be read.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file of a family in a style: regular, bold, italic, bold italic.
inline std::string fontPath(const std::string& family, bool bold, bool italic) {
    const int style = (bold ? 1 : 0) + (italic ? 2 : 0);
    static const std::map<std::string, std::vector<std::string>> files = {
        {"DejaVu Sans",
         {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSans-Oblique.ttf",
          "DejaVuSans-BoldOblique.ttf"}},
        {"DejaVu Serif",
         {"DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf", "DejaVuSerif-Italic.ttf",
          "DejaVuSerif-BoldItalic.ttf"}},
        {"DejaVu Sans Mono",
         {"DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf", "DejaVuSansMono-Oblique.ttf",
          "DejaVuSansMono-BoldOblique.ttf"}},
    };
    const auto found = files.find(family);
    if (found != files.end())
        return kDejaVu + found->second[static_cast<std::size_t>(style)];
    for (const char* liberation : {"Sans", "Serif", "Mono"}) {
        if (family == std::string("Liberation ") + liberation) {
            static const char* const suffix[] = {"Regular", "Bold", "Italic", "BoldItalic"};
            return kLiberation + "Liberation" + liberation + "-" + suffix[style] + ".ttf";
        }
    }
    return "";
}

class DebianFonts : public FontSource {
  public:
    FontFile fontFile(const std::string& family, bool bold, bool italic) override {
        ++requests;
        const std::string path = fontPath(family, bold, italic);
        return FontFile{path.empty() ? std::string() : readFile(path), 0};
    }
    int requests = 0;
};

}  // namespace lumaro::pdf::testing

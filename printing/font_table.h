// The one place where the font names documents ask for become the fonts a
// system has. The surface measures and draws through it alike, so a text is
// always measured in the very font that draws it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumaro {

// The font every document is set in, spelled as the host spells it; the
// tables below map it to Verdana or its stand-in.
inline constexpr const char* kDocumentFont = "Veranda";

class FontTable {
  public:
    struct Entry {
        std::string_view asked;   // compared without regard to case
        std::string_view family;  // what the device gets
    };

    // empty: the family for an empty (or blank) name. Names not in the table
    // go to the device as given, trimmed; the device finds its own fallback.
    FontTable(std::vector<Entry> entries, std::string_view empty);

    // Linux: metric-compatible stand-ins from Debian's fonts. "Veranda" and
    // "Verdana" -> DejaVu Sans; "Arial", "Helvetica", "MS Sans Serif" ->
    // Liberation Sans; "Times New Roman" -> Liberation Serif; "Courier New" ->
    // Liberation Mono; empty -> DejaVu Sans.
    static const FontTable& standIns();
    // Windows has the fonts the documents name; only the documents' own
    // misspelling "Veranda" needs help. Empty -> Verdana.
    static const FontTable& windows();

    // The family for a (Windows-1252) font name.
    std::string family(std::string_view asked) const;

  private:
    std::vector<Entry> entries_;
    std::string_view empty_;
};

}  // namespace lumaro

#include "printing/font_table.h"

#include <utility>

namespace lumaro {

namespace {

// All white space around a font name goes, not only the blanks the program's
// Trim (support/trim.h) removes: no font name begins or ends with a tab or a
// line break, and a template's name may carry one.
bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Font names on Windows ignore case; the table holds ASCII names only.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

}  // namespace

FontTable::FontTable(std::vector<Entry> entries, std::string_view empty)
    : entries_(std::move(entries)), empty_(empty) {}

const FontTable& FontTable::standIns() {
    static const FontTable table({{kDocumentFont, "DejaVu Sans"},
                                  {"Verdana", "DejaVu Sans"},
                                  {"Arial", "Liberation Sans"},
                                  {"Helvetica", "Liberation Sans"},
                                  {"MS Sans Serif", "Liberation Sans"},
                                  {"Times New Roman", "Liberation Serif"},
                                  {"Courier New", "Liberation Mono"}},
                                 "DejaVu Sans");
    return table;
}

const FontTable& FontTable::windows() {
    static const FontTable table({{kDocumentFont, "Verdana"}}, "Verdana");
    return table;
}

std::string FontTable::family(std::string_view asked) const {
    const std::string_view name = trimmed(asked);
    if (name.empty())
        return std::string(empty_);
    for (const Entry& e : entries_) {
        if (sameName(name, e.asked))
            return std::string(e.family);
    }
    return std::string(name);
}

}  // namespace lumaro

#include "templates/template_entry.h"

#include <optional>

#include "support/conversions.h"
#include "support/trim.h"
#include "xml/xml_tags.h"

namespace lumaro {

namespace {

// The raw value, or nothing when the field is missing or only blanks.
std::optional<std::string> field(const Services& s, const std::string& content, const char* name) {
    std::string v = XMLWertHolen(s.messages, content, name);
    if (trimBlanks(v).empty())
        return std::nullopt;
    return v;
}

std::string textField(const Services& s, const std::string& content, const char* name) {
    return field(s, content, name).value_or(std::string());
}

double numberField(const Services& s, const std::string& content, const char* name) {
    auto v = field(s, content, name);
    return v ? systemToDouble(*v, s.regional) : 0.0;
}

// Flags are numbers written with a point whatever the locale, as the host's
// own forms store them; any number but 0 switches the style on, while words
// such as "ja" or "true" read as 0 and leave it off.
bool flagField(const Services& s, const std::string& content, const char* name) {
    auto v = field(s, content, name);
    return v && valOfText(*v) != 0.0;
}

}  // namespace

double readOben(const Services& s, const std::string& content) {
    return numberField(s, content, "oben");
}

void readRemainingFields(const Services& s, const std::string& content, TemplateEntry& e) {
    e.typ = textField(s, content, "Typ");
    e.links = numberField(s, content, "links");
    e.breite = numberField(s, content, "Breite");
    e.hoehe = numberField(s, content, "Hoehe");
    e.schriftart = textField(s, content, "Schriftart");
    e.groesse = numberField(s, content, "Groesse");
    if (e.groesse == 0)
        e.groesse = 10;
    e.fett = flagField(s, content, "fett");
    e.kursiv = flagField(s, content, "kursiv");
    e.wortlaut = textField(s, content, "Wortlaut");
    e.farbe = toInt32(numberField(s, content, "Farbe"));
    // Rounded but not narrowed: a code far out of range simply matches no
    // alignment, which is what any other unknown code does.
    e.ausrichtung = roundHalfEven(numberField(s, content, "Ausrichtung"));
}

}  // namespace lumaro

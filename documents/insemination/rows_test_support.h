// Reads a finished template back into its entries, field by field, so tests
// can say where a row stands rather than compare whole texts.
#pragma once

#include <string>
#include <vector>

#include "support/services.h"
#include "xml/xml_tags.h"

namespace lumaro::testing {

struct Row {
    std::string typ, oben, links, breite, ausrichtung, wortlaut, datenTyp, raw;
};

inline std::vector<Row> rowsOf(Messages& m, const std::string& vorlage) {
    std::vector<Row> rows;
    std::string rest = vorlage, entry;
    while (XMLTagAusschneiden(m, rest, "FormularDaten", entry, rest, true)) {
        Row r;
        r.typ = XMLWertHolen(m, entry, "Typ");
        r.oben = XMLWertHolen(m, entry, "oben");
        r.links = XMLWertHolen(m, entry, "links");
        r.breite = XMLWertHolen(m, entry, "Breite");
        r.ausrichtung = XMLWertHolen(m, entry, "Ausrichtung");
        r.wortlaut = XMLWertHolen(m, entry, "Wortlaut");
        r.datenTyp = XMLWertHolen(m, entry, "DatenTyp");
        r.raw = entry;
        rows.push_back(r);
    }
    return rows;
}

// A layout entry as the host writes it.
inline std::string textEntry(const std::string& fields) {
    return "<FormularDaten><FormularTyp>Besamungsschein</FormularTyp><Typ>Text</Typ>" + fields +
           "</FormularDaten>";
}

}  // namespace lumaro::testing

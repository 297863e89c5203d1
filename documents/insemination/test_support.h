// Test helpers: a finished template read back into its entries, field by
// field, so tests can say where a row stands rather than compare whole texts;
// host-style entries; and the run-time error a call must raise.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/errors.h"
#include "support/services.h"
#include "xml/xml_tags.h"

namespace lumaro::testing {

struct Row {
    std::string typ, oben, links, breite, ausrichtung, wortlaut;
};

inline std::vector<Row> rowsOf(Messages& m, const std::string& vorlage) {
    std::vector<Row> rows;
    std::string rest = vorlage, entry;
    while (XMLTagAusschneiden(m, rest, "FormularDaten", entry, rest, true)) {
        rows.push_back({XMLWertHolen(m, entry, "Typ"), XMLWertHolen(m, entry, "oben"),
                        XMLWertHolen(m, entry, "links"), XMLWertHolen(m, entry, "Breite"),
                        XMLWertHolen(m, entry, "Ausrichtung"), XMLWertHolen(m, entry, "Wortlaut")});
    }
    return rows;
}

inline std::string textEntry(const std::string& fields) {
    return "<FormularDaten><FormularTyp>Besamungsschein</FormularTyp><Typ>Text</Typ>" + fields +
           "</FormularDaten>";
}

template <class F>
void expectError(int number, F&& call) {
    try {
        call();
        ADD_FAILURE() << "no error, expected " << number;
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), number);
    }
}

}  // namespace lumaro::testing

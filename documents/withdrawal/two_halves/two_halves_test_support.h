// Test helpers: WZBeleg.xml records built from a few parts (UTF-8 in, the
// file's Windows-1252 out) and look-ups in what the fake surface recorded.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "tests/fakes/fakes.h"

namespace lumaro::testing {

inline std::string tag(const std::string& name, const std::string& value) {
    return "<" + name + ">" + value + "</" + name + ">";
}

struct Drug {
    std::string status = "Angewandt", name = "Mittel", menge = "1", einheit = "ml";
    std::string charge, form, fleisch = "0", milch = "0", anweisung;
    std::string nichtVerdoppeln;  // empty: no element
    std::string xml() const {
        return tag(
            "Medikament",
            tag("Menge", menge) + tag("Einheit", einheit) + tag("AbgabeStatus", status) +
                tag("Bezeichnung", name) + tag("Darreichungsform", form) + tag("Charge", charge) +
                tag("WZFleischTage", fleisch) + tag("WZMilchTage", milch) +
                tag("Anwendungsanweisung", anweisung) +
                (nichtVerdoppeln.empty() ? "" : tag("WZBeiBioNichtVerdoppeln", nichtVerdoppeln)));
    }
};

struct Cure {
    std::string nummer = "1", animal = "AT 4711", diagnose = "Mastitis", monitoring;
    std::vector<Drug> drugs{Drug{}};
    std::string xml() const {
        std::string s =
            tag("BehandlungsNummer", nummer) + tag("Patient", tag("Nummer", animal)) +
            tag("Diagnose", tag("Bezeichnung", diagnose) + tag("Monitoring", monitoring));
        for (const Drug& d : drugs)
            s += d.xml();
        return tag("Behandlung", s);
    }
};

struct Record {
    std::string templates;  // FormularDaten elements
    std::string lfbis = "1234567", customer = "Josef Huber", address = "Dorfstraße 5, 4600 Wels";
    std::string vetNumber = "4711", bio, doubled, date = "05.03.2024";
    std::string flags;  // further elements of the record, e.g. tag("WZEndeZeigen", "True")
    std::vector<Cure> cures{Cure{}};
    // Windows-1252, as the host writes the file.
    std::string xml() const {
        std::string s =
            templates + tag("Eigentum1", "Eigentum der Tierarztpraxis") +
            tag("Eigentum2", "Dr. Berger, Linz") +
            tag("Tierarzt", tag("Name", "Dr. Anna Berger") + tag("Nummer", vetNumber)) +
            tag("Kunde", tag("LFBIS", lfbis) + tag("Name", customer) + tag("Adresse", address) +
                             tag("Bio", bio) + tag("WZBereitsVerdoppelt", doubled)) +
            tag("BehandlungsDatum", date) + tag("LaufendeNummer", "17") + flags;
        for (const Cure& c : cures)
            s += c.xml();
        return w(tag("Wartezeitenzettel", s));
    }
};

// A FormularDaten "Text" entry in 10 points.
inline std::string textEntry(int oben, int links, const std::string& wortlaut) {
    return tag("FormularDaten", tag("Typ", "Text") + tag("oben", std::to_string(oben)) +
                                    tag("links", std::to_string(links)) + tag("Groesse", "10") +
                                    tag("Wortlaut", wortlaut));
}

// The drawing calls of one print job (1-based).
inline std::vector<DrawCall> jobCalls(const FakeSurface& s, int job) {
    std::vector<DrawCall> out;
    for (const DrawCall& c : s.calls) {
        job -= c.kind == DrawCall::EndDoc;
        if (job == 1 && c.kind != DrawCall::EndDoc)
            out.push_back(c);
    }
    return out;
}

// Text calls whose text equals (or, with prefix, starts with) the UTF-8 text.
inline std::vector<DrawCall> texts(const std::vector<DrawCall>& calls, const std::string& utf8,
                                   bool prefix = false) {
    std::vector<DrawCall> out;
    const std::string t = w(utf8);
    for (const DrawCall& c : calls) {
        if (c.kind == DrawCall::Text && (prefix ? c.text.rfind(t, 0) == 0 : c.text == t))
            out.push_back(c);
    }
    return out;
}

inline bool hasLine(const std::vector<DrawCall>& calls, double x1, double x2, double y) {
    for (const DrawCall& c : calls) {
        if (c.kind == DrawCall::Line && std::abs(c.x - x1) < 1e-9 && std::abs(c.x2 - x2) < 1e-9 &&
            c.y == y)
            return true;
    }
    return false;
}

}  // namespace lumaro::testing

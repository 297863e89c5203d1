// Test helpers: WZBeleg.xml records built from a few parts (UTF-8 in, the
// file's Windows-1252 out) and look-ups in what the fake surface recorded.
#pragma once

#include <string>
#include <vector>

#include "tests/fakes/fakes.h"

namespace lumaro::testing {

inline std::string tag(const std::string& name, const std::string& value) {
    return "<" + name + ">" + value + "</" + name + ">";
}

struct Drug {
    std::string status = "Angewandt";
    std::string name = "Mittel";
    std::string menge = "1";
    std::string einheit = "ml";
    std::string charge;
    std::string form;
    std::string fleisch = "0";
    std::string milch = "0";
    std::string nichtVerdoppeln;  // empty: no element
    std::string anweisung;

    std::string xml() const {
        std::string s = tag("Menge", menge) + tag("Einheit", einheit) +
                        tag("AbgabeStatus", status) + tag("Bezeichnung", name) +
                        tag("Darreichungsform", form) + tag("Charge", charge) +
                        tag("WZFleischTage", fleisch) + tag("WZMilchTage", milch) +
                        tag("Anwendungsanweisung", anweisung);
        if (!nichtVerdoppeln.empty())
            s += tag("WZBeiBioNichtVerdoppeln", nichtVerdoppeln);
        return tag("Medikament", s);
    }
};

struct Cure {
    std::string nummer = "1";
    std::string animals = "AT 4711";  // one patient's number; empty: no patient
    std::string diagnose = "Mastitis";
    std::string monitoring;
    std::vector<Drug> drugs{Drug{}};

    std::string xml() const {
        std::string s = tag("BehandlungsNummer", nummer);
        if (!animals.empty())
            s += tag("Patient", tag("Nummer", animals) + tag("Name", ""));
        s += tag("Diagnose", tag("Bezeichnung", diagnose) + tag("Monitoring", monitoring));
        for (const Drug& d : drugs)
            s += d.xml();
        return tag("Behandlung", s);
    }
};

struct Record {
    std::string templates;  // FormularDaten elements
    std::string eigentum1 = "Eigentum der Tierarztpraxis";
    std::string eigentum2 = "Dr. Berger, Linz";
    std::string vetName = "Dr. Anna Berger";
    std::string vetNumber = "4711";
    std::string lfbis = "1234567";
    std::string customer = "Josef Huber";
    std::string address = "Dorfstraße 5, 4600 Wels";
    std::string bio;
    std::string doubled;
    std::string date = "05.03.2024";
    std::string number = "17";
    std::string flags;  // further elements of the record, e.g. tag("WZEndeZeigen", "True")
    std::vector<Cure> cures{Cure{}};

    // Windows-1252, as the host writes the file.
    std::string xml() const {
        std::string s =
            templates + tag("Eigentum1", eigentum1) + tag("Eigentum2", eigentum2) +
            tag("Tierarzt", tag("Name", vetName) + tag("Nummer", vetNumber)) +
            tag("Kunde", tag("LFBIS", lfbis) + tag("Name", customer) + tag("Adresse", address) +
                             tag("Bio", bio) + tag("WZBereitsVerdoppelt", doubled)) +
            tag("BehandlungsDatum", date) + tag("LaufendeNummer", number) + flags;
        for (const Cure& c : cures)
            s += c.xml();
        return w(tag("Wartezeitenzettel", s));
    }
};

// A FormularDaten "Text" entry.
inline std::string textEntry(double oben, double links, const std::string& wortlaut) {
    return tag("FormularDaten", tag("Typ", "Text") + tag("oben", std::to_string(int(oben))) +
                                    tag("links", std::to_string(int(links))) +
                                    tag("Groesse", "10") + tag("Wortlaut", wortlaut));
}

// The calls of one print job (1-based), in order.
inline std::vector<DrawCall> jobCalls(const FakeSurface& s, int job) {
    std::vector<DrawCall> out;
    int current = 1;
    for (const DrawCall& c : s.calls) {
        if (c.kind == DrawCall::EndDoc) {
            ++current;
            continue;
        }
        if (current == job)
            out.push_back(c);
    }
    return out;
}

// Every text call with exactly this text (given in UTF-8).
inline std::vector<DrawCall> textsEqual(const std::vector<DrawCall>& calls,
                                        const std::string& utf8) {
    std::vector<DrawCall> out;
    const std::string t = w(utf8);
    for (const DrawCall& c : calls) {
        if (c.kind == DrawCall::Text && c.text == t)
            out.push_back(c);
    }
    return out;
}

// Every text call whose text starts with the prefix (UTF-8).
inline std::vector<DrawCall> textsStarting(const std::vector<DrawCall>& calls,
                                           const std::string& utf8) {
    std::vector<DrawCall> out;
    const std::string t = w(utf8);
    for (const DrawCall& c : calls) {
        if (c.kind == DrawCall::Text && c.text.compare(0, t.size(), t) == 0)
            out.push_back(c);
    }
    return out;
}

inline std::vector<DrawCall> ofKind(const std::vector<DrawCall>& calls, DrawCall::Kind kind) {
    std::vector<DrawCall> out;
    for (const DrawCall& c : calls) {
        if (c.kind == kind)
            out.push_back(c);
    }
    return out;
}

}  // namespace lumaro::testing

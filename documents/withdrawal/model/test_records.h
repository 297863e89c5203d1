// WZBeleg.xml records built from parts: UTF-8 literals in, Windows-1252 out.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/fakes/fakes.h"

// Cases name only the fields they are about; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace lumaro::testing {

inline std::string element(const std::string& tag, const std::string& value) {
    return "<" + tag + ">" + value + "</" + tag + ">";
}

struct Med {
    std::string status = "Angewandt";
    std::string bezeichnung = "Mittel";
    std::string einheit = "ml";
    std::string charge;
    std::string form;
    std::string fleisch = "0";
    std::string milch = "0";
    std::string nichtVerdoppeln;  // empty: no tag
    std::string anweisung;

    std::string xml() const {
        std::string s = element("Menge", "1") + element("Einheit", einheit) +
                        element("AbgabeStatus", status) + element("Bezeichnung", bezeichnung) +
                        element("Darreichungsform", form) + element("Charge", charge) +
                        element("WZFleischTage", fleisch) + element("WZMilchTage", milch);
        if (!nichtVerdoppeln.empty())
            s += element("WZBeiBioNichtVerdoppeln", nichtVerdoppeln);
        s += element("Anwendungsanweisung", anweisung);
        return w(element("Medikament", s));
    }
};

struct Beh {
    std::string nummer = "1";
    std::vector<std::pair<std::string, std::string>> patients{{"AT 123456789", "Berta"}};
    bool withDiagnose = true;
    std::string diagnose = "Mastitis";
    std::string monitoring;
    std::vector<Med> meds{Med{}};

    std::string xml() const {
        std::string s = w(element("BehandlungsNummer", nummer));
        for (const auto& [nr, name] : patients)
            s += w(element("Patient", element("Nummer", nr) + element("Name", name)));
        if (withDiagnose)
            s += w(element("Diagnose",
                           element("Bezeichnung", diagnose) + element("Monitoring", monitoring)));
        for (const Med& m : meds)
            s += m.xml();
        return element("Behandlung", s);
    }
};

struct Rec {
    std::string templates;  // FormularDaten elements, UTF-8
    std::string eigentum1 = "Tierarztpraxis Dr. Anna Berger";
    std::string eigentum2 = "Hauptplatz 3, 4020 Linz";
    std::string tierarztNummer = "4711";
    std::string lfbis = "1234567";
    std::string kundeName = "Josef Huber";
    std::string bio;
    std::string verdoppelt;
    std::string datum = "05.03.2024";
    std::vector<std::pair<std::string, std::string>> flags;
    std::vector<Beh> treatments{Beh{}};

    std::string xml() const {
        std::string s =
            templates + element("Eigentum1", eigentum1) + element("Eigentum2", eigentum2) +
            element("Tierarzt",
                    element("Name", "Dr. Anna Berger") + element("Nummer", tierarztNummer)) +
            element("Kunde", element("LFBIS", lfbis) + element("Name", kundeName) +
                                 element("Adresse", "Dorfstraße 5, 4600 Wels") +
                                 element("Bio", bio) + element("WZBereitsVerdoppelt", verdoppelt)) +
            element("BehandlungsDatum", datum) + element("LaufendeNummer", "17");
        for (const auto& [name, value] : flags)
            s += element(name, value);
        std::string out = w(s);
        for (const Beh& b : treatments)
            out += b.xml();
        return element("Wartezeitenzettel", out);
    }
};

}  // namespace lumaro::testing

// The A4 and A5 sheets on the fake surface. What the examples draw is pinned by
// their traces (two copies, the signature block on its page or on the next,
// the periods); these are the rules no example reaches.
#include <gtest/gtest.h>

#include "documents/withdrawal/model/test_records.h"
#include "documents/withdrawal/sheets/withdrawal_renderers.h"

namespace lumaro::testing {
namespace {

using Renderer = bool (*)(Context&, WithdrawalRunState&, const std::string&);

struct Printed {
    TestWorld t;
    WithdrawalRunState state;
    bool result;
    Printed(const std::string& xml, Renderer render = MediInhaltDruckenA4Blaetter)
        : result(render(t.context, state, xml)) {}
    std::vector<DrawCall> operator()(const std::string& utf8) const {
        return t.surface.texts(w(utf8));
    }
};

std::string words(int count, const std::string& word) {
    std::string s = word;
    for (int i = 1; i < count; ++i)
        s += " " + word;
    return s;
}

// One treatment: an applied drug and a dispensed one.
Rec dairyRecord() {
    Rec r;
    r.treatments[0].meds = {Med{.charge = "PS2319A", .fleisch = "7", .milch = "2,5"},
                            Med{.status = "Abgegeben", .einheit = "Stk.", .charge = "CX-7781"}};
    return r;
}

TEST(Sheets, AnimalsAdvanceByTheCaptionOnlyWhenTheyAreEmpty) {
    // Size 7: a line is 2.8 high; the diagnosis stands 3 below the block.
    const std::pair<std::string, double> cases[] = {
        {"", 2.8}, {"AT 1", 2.8}, {std::string(300, 'X'), 0.0}};
    for (const auto& [animal, advance] : cases) {
        Rec r = dairyRecord();
        r.treatments[0].patients.clear();
        if (!animal.empty())
            r.treatments[0].patients.push_back({animal, ""});
        Printed p(r.xml());
        EXPECT_NEAR(p("Diagnose:").at(0).y - p("Identität:").at(0).y, advance + 3, 1e-9)
            << animal.size();
    }
}

TEST(Sheets, ADiagnosisIsNotRepeatedForATreatmentWithoutOne) {
    Rec r;
    r.treatments = {Beh{.diagnose = "Gebärparese"}, Beh{.withDiagnose = false}};
    Printed p(r.xml());
    EXPECT_EQ(p("Gebärparese").size(), 2u) << "once per copy, not again for treatment 2";
}

TEST(Sheets, TheFirstRecordsOwnerLinesServeTheWholeRun) {
    Rec second = dairyRecord();
    second.eigentum1 = "";
    second.eigentum2 = "Andere Adresse";
    Printed p(dairyRecord().xml() + second.xml());
    EXPECT_EQ(p("Tierarztpraxis Dr. Anna Berger").size(), 2u);
    EXPECT_TRUE(p("Andere Adresse").empty());
    Printed none(w("<WZBeleg>Wartezeiten A4 für Tierhalter</WZBeleg>"));
    EXPECT_TRUE(none.result && none.t.surface.calls.empty())
        << "a text without records prints nothing and succeeds";
}

TEST(Sheets, ARecordNotForTheVetIsPrintedOnceForTheKeeper) {
    Rec r = dairyRecord();
    r.flags = {{"A4NichtFuerTierarzt", "True"}};
    const std::string title = "Aufzeichnungen über Anwendung und Abgabe von Tierarzneimittel";
    EXPECT_EQ(Printed(dairyRecord().xml())(title).size(), 2u);
    EXPECT_EQ(Printed(r.xml())(title).size(), 1u);
}

// Treatments with monitoring and a dispensed drug with long instructions,
// preceded by fillers of growing diagnoses that move them through every
// position near the bottom; every third one a herd filling several lines.
Rec longRecord(int treatments, int fillers) {
    Rec r;
    r.flags = {{"BereichFuerTierhalter", "True"}};
    for (int i = 0; i < fillers; ++i)
        r.treatments.push_back(Beh{.diagnose = words(1 + 9 * i, "Klauenrehe")});
    for (int i = 0; i < treatments; ++i) {
        Beh b{.monitoring = "Eutergesundheit",
              .meds = {Med{.fleisch = "3"}, Med{.status = "Abgegeben",
                                                .bezeichnung = "Abgabe " + std::to_string(i),
                                                .anweisung = words(30, "Anweisung")}}};
        for (int animal = 0; i % 3 == 2 && animal < 40; ++animal)
            b.patients.push_back({"AT 8374659" + std::to_string(10 + animal), "Kuh"});
        r.treatments.push_back(b);
    }
    return r;
}

// Every text above the bottom limit, the feet on it; the animals block, the
// periods' heading and a dispensed drug with its keeper's fields kept whole.
void expectPagesKeptWhole(const FakeSurface& s, double bottom) {
    const auto& calls = s.calls;
    const auto index = [&](const std::string& t, std::size_t from) {
        while (from < calls.size() && (calls[from].kind != DrawCall::Text || calls[from].text != t))
            ++from;
        return from;
    };
    const std::string title = w("Aufzeichnungen über Anwendung und Abgabe von Tierarzneimittel");
    const std::size_t copy2 = index(title, index(title, 0) + 1);
    int feet = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const DrawCall& c = calls[i];
        if (c.kind != DrawCall::Text || c.text.empty())
            continue;
        const bool foot = c.text.rfind("Seite  ", 0) == 0 || c.text.rfind("LFBIS ", 0) == 0;
        feet += foot;
        EXPECT_TRUE(foot ? c.y == bottom + 1 : c.y < bottom) << c.text << " page " << c.page;
        std::size_t end = i;
        if (c.text == w("Identität:")) {
            while (end + 1 < calls.size() && calls[end + 1].kind == DrawCall::Text &&
                   calls[end + 1].text.rfind("Behandlung Nr.", 0) != 0)
                ++end;
            EXPECT_LT(calls[end].y2, bottom - 1);
        } else if (c.text == "  Wartezeiten in Tagen  ") {
            EXPECT_LT(c.y - 0.5 + 6, bottom);
        } else if (c.text.rfind("1 ml Abgabe ", 0) == 0 && i < copy2) {
            end = index(w("Wartezeit endet am"), i);
            ASSERT_LT(end, calls.size());
        }
        for (std::size_t j = i; j <= end; ++j)
            EXPECT_EQ(calls[j].page, c.page) << c.text;
    }
    EXPECT_GT(feet, 0);
}

TEST(Sheets, PagesChangeAtTheBottomLimitWithBlocksKeptWholeAndAFootOnEachSheet) {
    struct Case {
        int treatments, fillers;
        bool upperHalf;
    };
    std::vector<Case> cases = {{5, 0, true}, {12, 0, false}};
    for (int fillers = 0; fillers <= 8; ++fillers)
        cases.push_back({9, fillers, false});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.fillers) + " fillers" + (c.upperHalf ? ", upper half" : ""));
        Rec r = longRecord(c.treatments, c.fillers);
        if (c.upperHalf)
            r.flags.push_back({"NurObereHaelfte", "True"});
        Printed p(r.xml());
        ASSERT_TRUE(p.result);
        const int bottom = c.upperHalf ? 138 : 287;
        expectPagesKeptWhole(p.t.surface, bottom);
        const int pages = static_cast<int>(p.t.surface.callsOf(DrawCall::NewPage).size());
        EXPECT_GE(pages, 2);
        EXPECT_EQ(p("Seite   1").size(), 2u) << "in both copies";
        EXPECT_EQ(p.t.surface.texts("Seite  ", true).size(), pages + 1u);
        int footRules = 0;
        for (const DrawCall& c : p.t.surface.callsOf(DrawCall::Line))
            footRules += c.y == bottom && c.x == 10 && c.x2 == 90;
        EXPECT_EQ(footRules, pages + 1);
    }
}

TEST(Sheets, BadRecordsAreRefusedWithTheRenderersName) {
    const std::string tooLong =
        "Fehler 3265 (Die Daten sind zu lang für das Feld der Medikamententabelle) in Prozedur ";
    struct Case {
        const char* what;
        Renderer render;
        void (*spoil)(Rec&);
        std::string message;
        int ended;  // jobs ended: those of the good record before it
    } cases[] = {
        {"no drugs", MediInhaltDruckenA4Blaetter,
         [](Rec& r) { r.treatments[0].meds = {Med{.status = "Verworfen"}}; }, "", 0},
        {"empty date", MediInhaltDruckenA4Blaetter, [](Rec& r) { r.datum = "  "; },
         "Ungültiges Behandlungsdatum!", 1},
        {"17 characters of batch", MediInhaltDruckenA4Blaetter,
         [](Rec& r) { r.treatments[0].meds[1].charge = "CX-7781-2026-0042"; },
         tooLong + "MediInhaltDruckenA4Blaetter in Modul FunktionenDrucker", 0},
        {"overlong unit", MediInhaltDruckenA5Blaetter,
         [](Rec& r) { r.treatments[0].meds[0].einheit = "Milliliter je kg"; },
         tooLong + "MediInhaltDruckenA5Blaetter in Modul FunktionenDrucker", 0},
        // After a template's first printed text its faults reach the page head.
        {"template fault", MediInhaltDruckenA4Blaetter,
         [](Rec& r) {
             r.templates =
                 "<FormularDaten><Typ>Text</Typ><Wortlaut>Praxis</Wortlaut></FormularDaten>"
                 "<FormularDaten><Typ>Text</Typ><oben>zwei</oben></FormularDaten>";
         },
         "Fehler 13 (Typen unverträglich) in Prozedur KopfA4Drucken im Modul FunktionenDrucker", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rec bad = dairyRecord();
        c.spoil(bad);
        // A bad record stops the run: those before it are ended, none after it drawn.
        Printed p(c.ended ? dairyRecord().xml() + bad.xml() : bad.xml() + dairyRecord().xml(),
                  c.render);
        EXPECT_FALSE(p.result);
        EXPECT_EQ(p.t.surface.endDocCalls, c.ended);
        ASSERT_EQ(p.t.messages.shown.size(), c.message.empty() ? 0u : 1u);
        if (c.message.empty()) {
            EXPECT_TRUE(p.t.surface.calls.empty());
            continue;
        }
        EXPECT_EQ(p.t.messages.shown[0].text, w(c.message));
        EXPECT_EQ(p.t.messages.shown[0].title, "");
        EXPECT_EQ(p.t.messages.shown[0].icon, MessageIcon::Stop);
        if (c.message.rfind("Fehler 3265", 0) == 0) {
            EXPECT_NE(p.t.log().find("    " + w(c.message)), std::string::npos) << p.t.log();
        }
    }
}

}  // namespace
}  // namespace lumaro::testing

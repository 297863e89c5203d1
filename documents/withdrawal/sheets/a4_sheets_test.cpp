#include <gtest/gtest.h>

#include "documents/withdrawal/sheets/sheet_test_support.h"
#include "documents/withdrawal/sheets/withdrawal_renderers.h"

namespace lumaro {
namespace {

using testing::Beh;
using testing::DrawCall;
using testing::Med;
using testing::Rec;
using testing::w;

class A4Sheets : public ::testing::Test {
  protected:
    testing::TestWorld world;
    testing::FakeSurface& surface = world.surface;
    WithdrawalRunState state;

    bool print(const std::string& xml) {
        return MediInhaltDruckenA4Blaetter(world.context, state, xml);
    }
    std::vector<DrawCall> texts(const std::string& utf8) {
        return testing::textsEqual(surface, w(utf8));
    }
    int newPages() const { return testing::countKind(surface, DrawCall::NewPage); }
};

// One treatment: an applied drug (7 and 2,5 days) and a dispensed one (4 and 5).
Rec dairyRecord() {
    Rec r;
    Med applied{.bezeichnung = "Penicillin",
                .menge = "20",
                .charge = "PS2319A",
                .form = "Injektionssuspension",
                .fleisch = "7",
                .milch = "2,5"};
    Med dispensed{.status = "Abgegeben",
                  .bezeichnung = "Cefalexin",
                  .menge = "4",
                  .einheit = "Stk.",
                  .charge = "CX-7781",
                  .fleisch = "4",
                  .milch = "5",
                  .anweisung = "Nach dem Melken je einen Injektor."};
    r.treatments = {Beh{.meds = {applied, dispensed}}};
    return r;
}

// What each example draws is pinned down by its expected trace
// (bench/check_traces.py); the tests here hold the rules one at a time,
// including those no example reaches.

TEST_F(A4Sheets, AnimalsAdvanceByTheCaptionOnlyWhenTheyAreEmpty) {
    // Size 7 on the fake: a line is 2.8 high, a character 0.7 wide; the
    // diagnosis follows the animals block and the 3 after it.
    struct Case {
        std::vector<std::pair<std::string, std::string>> patients;
        double advance;
    } cases[] = {
        {{}, 2.8},                             // no animals: the caption's height
        {{{"AT 1", "Berta"}}, 2.8},            // one line
        {{{std::string(300, 'X'), ""}}, 0.0},  // a word wider than the line: 0
    };
    for (const Case& c : cases) {
        world.surface.calls.clear();
        Rec r = dairyRecord();
        r.treatments[0].patients = c.patients;
        ASSERT_TRUE(print(r.xml()));
        const auto caption = texts("Identität:");
        const auto diagnosis = texts("Diagnose:");
        ASSERT_FALSE(caption.empty());
        ASSERT_FALSE(diagnosis.empty());
        EXPECT_NEAR(diagnosis[0].y - caption[0].y, c.advance + 3, 1e-9) << c.patients.size();
    }
}

TEST_F(A4Sheets, AppliedDrugsAreJoinedAndADiagnosisIsNotRepeated) {
    Rec r;
    r.treatments = {Beh{.diagnose = "Gebärparese"}, Beh{.withDiagnose = false}};
    r.treatments[0].meds = {Med{.bezeichnung = "Meloxicam",
                                .menge = "12,5",
                                .charge = "MX1",
                                .form = "Injektionslösung"},
                            Med{.status = "Abgegeben", .bezeichnung = "Dazwischen"},
                            Med{.bezeichnung = "Oxytocin", .menge = "2"}};
    ASSERT_TRUE(print(r.xml()));
    const auto joined = texts("12,5 ml Meloxicam [MX1], Injektionslösung, 2 ml Oxytocin");
    ASSERT_EQ(joined.size(), 2u);
    EXPECT_TRUE(joined[0].x == 10 && joined[0].size == 7);
    EXPECT_EQ(texts("Gebärparese").size(), 2u) << "once per copy, not again for treatment 2";
}

// Where the keeper's area follows the dispensed rows of the vet's copy is
// pinned by the A4 examples' traces; with only the keeper's copy it is there.
TEST_F(A4Sheets, TheKeepersOnlyCopyCarriesTheKeepersArea) {
    Rec r;
    r.flags = {{"BereichFuerTierhalter", "True"}, {"A4NichtFuerTierarzt", "True"}};
    r.treatments = {Beh{.meds = {Med{.status = "Abgegeben", .bezeichnung = "Erstes"}, Med{},
                                 Med{.status = "Abgegeben", .bezeichnung = "Zweites"}}},
                    Beh{.meds = {Med{.status = "Abgegeben", .bezeichnung = "Drittes"}}}};
    ASSERT_TRUE(print(r.xml()));
    EXPECT_EQ(newPages(), 0);
    EXPECT_EQ(surface.jobsEnded, 1);
    EXPECT_EQ(texts("Unterschrift Tierarzt").size(), 1u);
    EXPECT_EQ(texts("Rücknahme:").size(), 3u);
}

TEST_F(A4Sheets, FirstOwnerLinesOfTheRunAreKept) {
    Rec second = dairyRecord();
    second.eigentum1 = "";
    second.eigentum2 = "Andere Adresse";
    ASSERT_TRUE(print(dairyRecord().xml() + second.xml()));
    EXPECT_EQ(surface.jobsEnded, 2);
    EXPECT_EQ(texts("Tierarztpraxis Dr. Anna Berger").size(), 2u);
    EXPECT_TRUE(texts("Andere Adresse").empty());
    EXPECT_TRUE(print(w("<WZBeleg>Wartezeiten A4 für Tierhalter</WZBeleg>")))
        << "a text without records prints nothing and succeeds";
    EXPECT_EQ(surface.jobsEnded, 2);
}

// Page changes ---------------------------------------------------------------

// Treatments with monitoring, an applied and a dispensed drug with long
// instructions; every third one a whole herd whose animals fill several lines.
Rec longRecord(int treatments) {
    Rec r;
    r.flags = {{"BereichFuerTierhalter", "True"}};
    for (int i = 0; i < treatments; ++i) {
        Beh b{.monitoring = "Eutergesundheit",
              .meds = {Med{.fleisch = "3"}, Med{.status = "Abgegeben",
                                                .bezeichnung = "Abgabe " + std::to_string(i),
                                                .anweisung = testing::words(30, "Anweisung")}}};
        for (int animal = 0; i % 3 == 2 && animal < 40; ++animal)
            b.patients.push_back({"AT 8374659" + std::to_string(10 + animal), "Kuh"});
        r.treatments.push_back(b);
    }
    return r;
}

void expectContentAboveTheBottom(const testing::FakeSurface& s, double bottom) {
    int feet = 0;
    for (const DrawCall& c : s.calls) {
        if (c.kind != DrawCall::Text || c.text.empty())
            continue;
        const bool foot = c.text.rfind("Seite  ", 0) == 0 || c.text.rfind("LFBIS ", 0) == 0;
        feet += foot;
        EXPECT_TRUE(foot ? c.y == bottom + 1 : c.y < bottom) << c.text << " page " << c.page;
    }
    EXPECT_GT(feet, 0);
}

TEST_F(A4Sheets, PagesChangeAtTheBottomLimitWithAFootOnEachSheet) {
    for (const bool upperHalf : {false, true}) {
        SCOPED_TRACE(upperHalf ? "upper half" : "whole page");
        testing::TestWorld run;
        Rec r = longRecord(upperHalf ? 5 : 12);
        if (upperHalf)
            r.flags.push_back({"NurObereHaelfte", "True"});
        ASSERT_TRUE(MediInhaltDruckenA4Blaetter(run.context, state, r.xml()));
        const int bottom = upperHalf ? 138 : 287;
        EXPECT_EQ(run.context.bounds.intUntererRand, bottom);
        const int pages = testing::countKind(run.surface, DrawCall::NewPage);
        EXPECT_GE(pages, 3);
        expectContentAboveTheBottom(run.surface, bottom);
        EXPECT_EQ(testing::textsEqual(run.surface, "Seite   1").size(), 2u) << "in both copies";
        EXPECT_EQ(static_cast<int>(testing::textsStartingWith(run.surface, "Seite  ").size()),
                  pages + 1);
        int footRules = 0;
        for (const DrawCall& c : run.surface.calls)
            footRules += c.kind == DrawCall::Line && c.y == bottom && c.x == 10 && c.x2 == 90;
        EXPECT_EQ(footRules, pages + 1);
    }
}

// Checks what the page tests promise, on whatever page each block landed.
void expectBlocksKeptWhole(const testing::FakeSurface& s, double bottom) {
    const std::string title = w("Aufzeichnungen über Anwendung und Abgabe von Tierarzneimittel");
    const std::size_t copy2 = testing::indexOfText(s, title, testing::indexOfText(s, title) + 1);
    for (std::size_t i = 0; i < s.calls.size(); ++i) {
        const DrawCall& c = s.calls[i];
        if (c.kind != DrawCall::Text)
            continue;
        if (c.text == w("Identität:")) {
            // The animals block ends above bottom - 1 on the label's page.
            double end = c.y2;
            for (std::size_t j = i + 1; j < s.calls.size() && s.calls[j].kind == DrawCall::Text &&
                                        s.calls[j].text.rfind("Behandlung Nr.", 0) != 0;
                 ++j) {
                EXPECT_EQ(s.calls[j].page, c.page);
                end = s.calls[j].y2;
            }
            EXPECT_LT(end, bottom - 1);
        } else if (c.text == "  Wartezeiten in Tagen  ") {
            EXPECT_LT(c.y - 0.5 + 6, bottom);
        } else if (c.text.rfind("1 ml Abgabe ", 0) == 0 && i < copy2) {
            // A dispensed drug, its instructions and the keeper's fields stay together.
            const std::size_t fields = testing::indexOfText(s, w("Wartezeit endet am"), i);
            ASSERT_LT(fields, s.calls.size());
            for (std::size_t j = i; j <= fields; ++j)
                EXPECT_EQ(s.calls[j].page, c.page) << c.text;
        }
    }
}

TEST_F(A4Sheets, BlocksAreKeptWholeAcrossPageChanges) {
    // Treatments of different heights in front shift the long record through
    // every position near the bottom limit.
    for (int filler = 0; filler <= 8; ++filler) {
        testing::TestWorld run;
        Rec r = longRecord(9);
        for (int i = 0; i < filler; ++i)
            r.treatments.insert(r.treatments.begin(),
                                Beh{.diagnose = testing::words(1 + 9 * i, "Klauenrehe")});
        ASSERT_TRUE(MediInhaltDruckenA4Blaetter(run.context, state, r.xml()));
        SCOPED_TRACE("filler " + std::to_string(filler));
        expectBlocksKeptWhole(run.surface, 287);
        expectContentAboveTheBottom(run.surface, 287);
    }
}

// The signature block --------------------------------------------------------

// Each treatment (25.4), each one-line monitoring text (2.0) and each line of
// the general message (2.8, 25 words) moves the block down by a known step;
// the short title moves everything up by 9.
TEST_F(A4Sheets, SignatureBlockPlacementFollowsItsOverrun) {
    int asIs = 0, movedUp = 0, newPage = 0;
    for (int treatments = 6; treatments <= 10; ++treatments) {
        for (int monitored : {0, 3, 6}) {
            for (int lines = 1; lines <= 4; ++lines) {
                for (bool shortTitle : {false, true}) {
                    testing::TestWorld run;
                    const Rec r =
                        testing::steeredRecord(treatments, monitored, 25 * lines, shortTitle);
                    ASSERT_TRUE(MediInhaltDruckenA4Blaetter(run.context, state, r.xml()));
                    const testing::SignaturePlace p = testing::signaturePlace(run.surface, 2.8);
                    const double overrun = p.naturalStart + 16 - 287;
                    SCOPED_TRACE("overrun " + std::to_string(overrun));
                    if (p.captionPage != p.messagePage) {
                        EXPECT_GT(overrun, 10);
                        EXPECT_DOUBLE_EQ(p.captionY, 22);
                        ++newPage;
                    } else if (overrun > 0) {
                        EXPECT_LE(overrun, 10);
                        EXPECT_NEAR(p.captionY, 283, 1e-9);
                        ++movedUp;
                    } else {
                        EXPECT_NEAR(p.captionY, p.naturalStart + 12, 1e-9);
                        ++asIs;
                    }
                }
            }
        }
    }
    EXPECT_TRUE(asIs > 0 && movedUp > 0 && newPage > 0) << "the sweep met every case";
}

// Bad input ------------------------------------------------------------------

TEST_F(A4Sheets, RecordWithoutDrugsIsRefusedAndAnEmptyDateStopsWithAMessage) {
    Rec r = dairyRecord();
    r.treatments[0].meds = {Med{.status = "Verworfen"}};
    EXPECT_FALSE(print(r.xml() + dairyRecord().xml()));
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_TRUE(world.messages.shown.empty());

    r = dairyRecord();
    r.datum = "  ";
    EXPECT_FALSE(print(dairyRecord().xml() + r.xml()));
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text, w("Ungültiges Behandlungsdatum!"));
    EXPECT_EQ(world.messages.shown[0].title, "");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(surface.endDocCalls, 1) << "only the good record before it was ended";
}

TEST_F(A4Sheets, OverlongBatchIsReportedAndNothingEnded) {
    Rec r = dairyRecord();
    r.treatments[0].meds[1].charge = "CX-7781-2026-0042";  // 17 characters
    EXPECT_FALSE(print(r.xml()));
    const std::string report =
        w("Fehler 3265 (Die Daten sind zu lang für das Feld der Medikamententabelle) in Prozedur "
          "MediInhaltDruckenA4Blaetter in Modul FunktionenDrucker");
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text, report);
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_NE(world.log().find("    " + report), std::string::npos) << world.log();
    EXPECT_EQ(surface.endDocCalls, 0);
}

TEST_F(A4Sheets, FaultInThePracticeTemplateStopsTheRecord) {
    // After a template's first printed text its faults reach the page head,
    // which reports them; the record is not printed on.
    Rec r = dairyRecord();
    r.templates =
        "<FormularDaten><Typ>Text</Typ><Wortlaut>Praxis</Wortlaut></FormularDaten>"
        "<FormularDaten><Typ>Text</Typ><oben>zwei</oben><Wortlaut>x</Wortlaut>"
        "</FormularDaten>";
    EXPECT_FALSE(print(r.xml()));
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              w("Fehler 13 (Typen unverträglich) in Prozedur KopfA4Drucken im Modul "
                "FunktionenDrucker"));
    EXPECT_TRUE(texts("Josef Huber").empty());
    EXPECT_EQ(surface.endDocCalls, 0);
}

}  // namespace
}  // namespace lumaro

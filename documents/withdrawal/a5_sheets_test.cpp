#include <gtest/gtest.h>

#include "documents/withdrawal/sheet_test_support.h"
#include "documents/withdrawal/withdrawal_renderers.h"

namespace lumaro {
namespace {

using testing::Beh;
using testing::DrawCall;
using testing::Med;
using testing::Rec;
using testing::w;

class A5Sheets : public ::testing::Test {
  protected:
    testing::TestWorld world;
    testing::FakeSurface& surface = world.surface;
    WithdrawalRunState state;

    bool print(const std::string& xml) {
        return MediInhaltDruckenA5Blaetter(world.context, state, xml);
    }
    std::vector<DrawCall> texts(const std::string& utf8) {
        return testing::textsEqual(surface, w(utf8));
    }
    int newPages() const { return testing::countKind(surface, DrawCall::NewPage); }
};

Rec a5Record() {
    Rec r;
    Beh b;
    b.meds = {Med{.bezeichnung = "Meloxicam 20 mg/ml",
                  .menge = "12,5",
                  .charge = "MX1",
                  .form = "Injektionslösung",
                  .fleisch = "15",
                  .milch = "5"},
              Med{.bezeichnung = "Oxytocin", .menge = "2", .fleisch = "0", .milch = "0"},
              Med{.status = "Abgegeben",
                  .bezeichnung = "Cefalexin Euterinjektor",
                  .menge = "4",
                  .einheit = "Stk.",
                  .charge = "CX-7781",
                  .fleisch = "4",
                  .milch = "5",
                  .anweisung = "Nach dem Melken je einen Injektor."}};
    r.treatments = {b};
    return r;
}

TEST_F(A5Sheets, TextStandsInTheLeftHalfOfALandscapeSheet) {
    ASSERT_TRUE(print(a5Record().xml()));
    EXPECT_EQ(surface.orientation(), 2);
    EXPECT_EQ(surface.scaleWidth(), 297);
    EXPECT_EQ(surface.scaleHeight(), 210);
    EXPECT_EQ(world.context.bounds.intRechterRand, 134);
    EXPECT_EQ(world.context.bounds.intUntererRand, 200);

    for (const char* rightAligned :
         {"1234567", "  Wartezeiten in Tagen  ", "Fleisch 15  /  Milch 5", "Behandlung Nr. 1"}) {
        const auto found = texts(rightAligned);
        ASSERT_EQ(found.size(), 2u) << rightAligned;
        EXPECT_DOUBLE_EQ(found[0].x2, 134) << rightAligned;
    }
    EXPECT_DOUBLE_EQ(texts("Fleisch 4  /  Milch 5").at(0).x2, 133.5);
    for (const DrawCall& c : surface.calls) {
        if (c.kind == DrawCall::Text && !c.text.empty()) {
            EXPECT_LE(c.x2, 134 + 1e-9) << c.text;
        }
    }
    const DrawCall owner = texts("Tierarztpraxis Dr. Anna Berger").at(0);
    EXPECT_DOUBLE_EQ((owner.x + owner.x2) / 2, 72) << "centred between 10 and 134";
    EXPECT_DOUBLE_EQ(texts("1234567").at(0).size, 10);
    EXPECT_DOUBLE_EQ(texts("LFBIS: ").at(0).size, 8);
}

TEST_F(A5Sheets, AlwaysTwoCopiesEvenForTheKeeperAlone) {
    Rec r = a5Record();
    r.flags = {{"A4NichtFuerTierarzt", "True"}, {"NurObereHaelfte", "True"}};
    ASSERT_TRUE(print(r.xml()));
    EXPECT_EQ(newPages(), 1);
    EXPECT_EQ(surface.jobsEnded, 1);
    EXPECT_EQ(world.context.bounds.intUntererRand, 200) << "no upper-half option";
    EXPECT_EQ(texts("Unterschrift Tierarzt").size(), 1u);
    EXPECT_EQ(texts("Unterschrift Tierhalter").size(), 1u);
}

TEST_F(A5Sheets, CustomerBlockAndShortTitle) {
    Rec r = a5Record();
    ASSERT_TRUE(print(r.xml()));
    EXPECT_DOUBLE_EQ(texts("Josef Huber").at(0).y, 55);
    EXPECT_DOUBLE_EQ(texts("Dorfstraße 5, 4600 Wels").at(0).y, 59);
    const auto legal = testing::textsStartingWith(surface, w("gemäß"));
    ASSERT_FALSE(legal.empty());
    EXPECT_DOUBLE_EQ(legal[0].size, 8);

    testing::TestWorld second;
    r.flags = {{"KurzeUeberschrift", "True"}, {"LaufendeNummerZeigen", "True"}};
    ASSERT_TRUE(MediInhaltDruckenA5Blaetter(second.context, state, r.xml()));
    EXPECT_DOUBLE_EQ(testing::textsEqual(second.surface, "Josef Huber").at(0).y, 46);
    const DrawCall number = testing::textsEqual(second.surface, "Nr.:  17").at(0);
    EXPECT_DOUBLE_EQ(number.x2, 134);
    EXPECT_DOUBLE_EQ(number.size, 9);
}

TEST_F(A5Sheets, EndDatesWithFourDigitYearsBelowTheAppliedDrugs) {
    Rec r = a5Record();
    r.datum = "31.12.2026";
    r.flags = {{"WZEndeZeigen", "True"}};
    ASSERT_TRUE(print(r.xml()));
    const auto ends = texts("Wartezeiten enden am: Fleisch 15.01.2027 / Milch 05.01.2027");
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_DOUBLE_EQ(ends[0].x2, 134);
    EXPECT_TRUE(ends[0].bold);

    // Each applied drug on a line of its own, 4 apart, the end dates 4 below.
    const DrawCall first = texts("12,5 ml Meloxicam 20 mg/ml [MX1], Injektionslösung").at(0);
    const DrawCall second = texts("2 ml Oxytocin").at(0);
    EXPECT_DOUBLE_EQ(first.x, 10);
    EXPECT_DOUBLE_EQ(first.size, 8);
    EXPECT_DOUBLE_EQ(second.y, first.y + 4);
    EXPECT_DOUBLE_EQ(ends[0].y, second.y + 4);
    EXPECT_TRUE(testing::textsStartingWith(surface, "Wartezeiten-Ende").empty());
}

TEST_F(A5Sheets, LongDrugLineWrapsInsideTheHalf) {
    Rec r;
    // 159 characters: wider than the 124 units of the half at 8 points.
    r.treatments[0].meds = {Med{.bezeichnung = testing::words(9, "Suspension"),
                                .menge = "12,75",
                                .einheit = "Milliliter",
                                .charge = "LANG-12345",
                                .form = "Injektionssuspension zur i.m."},
                            Med{.bezeichnung = "Danach"}};
    ASSERT_TRUE(print(r.xml()));
    const auto first = testing::textsStartingWith(surface, "12,75 Milliliter Suspension");
    ASSERT_EQ(first.size(), 2u);
    const std::size_t next = testing::indexOfText(surface, "1 ml Danach");
    ASSERT_LT(next, surface.calls.size());
    const DrawCall secondLine = surface.calls[next - 1];
    EXPECT_DOUBLE_EQ(secondLine.x, 10);
    EXPECT_DOUBLE_EQ(secondLine.y, first[0].y + 3.2);
    EXPECT_LE(first[0].x2, 134);
    EXPECT_DOUBLE_EQ(surface.calls[next].y, secondLine.y + 4) << "the next drug starts below";
}

TEST_F(A5Sheets, DispensedDrugsWithTheKeepersFields) {
    Rec r = a5Record();
    r.flags = {{"BereichFuerTierhalter", "True"}};
    r.treatments[0].meds.push_back(Med{.status = "Abgegeben", .bezeichnung = "Zweites"});
    ASSERT_TRUE(print(r.xml()));
    const auto captions = texts("Abgegebene Medikamente, Wartezeiten und Anwendungsanweisung");
    ASSERT_EQ(captions.size(), 2u);
    EXPECT_DOUBLE_EQ(captions[0].size, 9);
    bool greyUnderCaption = false;
    for (const DrawCall& c : surface.calls) {
        greyUnderCaption |= c.kind == DrawCall::FilledBox && c.x == 10 && c.y == captions[0].y &&
                            c.color == 0xC0C0C0 && std::abs(c.x2 - (10 + 25 * 0.9)) < 1e-9;
    }
    EXPECT_TRUE(greyUnderCaption);

    const auto fields = texts("Identität der Tiere");
    EXPECT_EQ(fields.size(), 2u) << "after each dispensed row of copy 1";
    EXPECT_TRUE(texts("Rücknahme:").empty());
    EXPECT_TRUE(texts("Standort der Tiere").empty());
    const double fieldWidth = (134 - 10 - 9) / 4.0;
    const DrawCall last = texts("Wartezeit endet am").at(0);
    EXPECT_NEAR((last.x + last.x2) / 2, 10 + 3 * (fieldWidth + 3) + fieldWidth / 2, 1e-9);
    EXPECT_DOUBLE_EQ(last.size, 7);
    const DrawCall row = texts("4 Stk. Cefalexin Euterinjektor [CX-7781]").at(0);
    EXPECT_TRUE(row.bold);
    EXPECT_DOUBLE_EQ(row.size, 8);
    EXPECT_DOUBLE_EQ(
        testing::textsStartingWith(surface, "Anwendungsanweisung: Nach dem Melken").at(0).size, 8);
    const std::size_t copy2 = testing::firstIndexOf(surface, DrawCall::NewPage);
    EXPECT_LT(testing::indexOfText(surface, w("Identität der Tiere"), 0), copy2);
    EXPECT_EQ(testing::indexOfText(surface, w("Identität der Tiere"), copy2), surface.calls.size());
}

TEST_F(A5Sheets, ClosingPartNamesTheVetOnEachCopy) {
    ASSERT_TRUE(print(a5Record().xml()));
    const double width = (134 - 10 - 10) * 0.4;
    const DrawCall vet = texts("Unterschrift Tierarzt").at(0);
    const DrawCall keeper = texts("Unterschrift Tierhalter").at(0);
    EXPECT_NEAR((vet.x + vet.x2) / 2, 134 - width / 2, 1e-9);
    EXPECT_NEAR((keeper.x + keeper.x2) / 2, 134 - width / 2, 1e-9);
    EXPECT_EQ(vet.page, 1);
    EXPECT_EQ(keeper.page, 2);

    const auto names = texts("Dr. Anna Berger");
    ASSERT_EQ(names.size(), 2u);
    EXPECT_NEAR((names[0].x + names[0].x2) / 2, 134 - width / 2, 1e-9) << "under the rule";
    EXPECT_DOUBLE_EQ(names[0].y, vet.y + 4);
    EXPECT_DOUBLE_EQ(names[1].x, 10) << "at the left margin on the keeper's copy";

    EXPECT_EQ(texts("Tierarzt-Nr.:").size(), 2u);
    const DrawCall number = texts("4711").at(0);
    EXPECT_DOUBLE_EQ((number.x + number.x2) / 2, 72);
    const auto programmed = texts("Programmierung:");
    ASSERT_EQ(programmed.size(), 1u);
    EXPECT_DOUBLE_EQ(programmed[0].y, vet.y + 1);
    const auto address = texts("www.lumaro.example");
    ASSERT_EQ(address.size(), 1u);
    EXPECT_EQ(address[0].page, 1);
}

TEST_F(A5Sheets, NoVetNumberNoCaption) {
    Rec r = a5Record();
    r.tierarztNummer = "";
    ASSERT_TRUE(print(r.xml()));
    EXPECT_TRUE(texts("Tierarzt-Nr.:").empty());
}

Rec longRecord(int treatments) {
    Rec r;
    r.flags = {{"BereichFuerTierhalter", "True"}};
    for (int i = 0; i < treatments; ++i) {
        Beh b;
        b.monitoring = "Eutergesundheit";
        b.meds = {Med{.fleisch = "3", .milch = "4"},
                  Med{.status = "Abgegeben",
                      .bezeichnung = "Abgabe " + std::to_string(i + 1),
                      .anweisung = testing::words(12, "Anweisung")}};
        r.treatments.push_back(b);
    }
    return r;
}

TEST_F(A5Sheets, PagesChangeAt200WithTheFootInTheLeftHalf) {
    ASSERT_TRUE(print(longRecord(6).xml()));
    EXPECT_GE(newPages(), 3);
    for (const DrawCall& c : surface.calls) {
        if (c.kind != DrawCall::Text || c.text.empty())
            continue;
        if (c.text.rfind("Seite  ", 0) == 0 || c.text.rfind("LFBIS: 1", 0) == 0) {
            EXPECT_DOUBLE_EQ(c.y, 201) << c.text;
        } else {
            EXPECT_LT(c.y, 200) << c.text << " on page " << c.page;
        }
    }
    const DrawCall page1 = texts("Seite   1").at(0);
    EXPECT_DOUBLE_EQ(page1.x2, 134);
    EXPECT_DOUBLE_EQ(page1.size, 8);
    const DrawCall lfbis = texts("LFBIS: 1234567").at(0);
    EXPECT_DOUBLE_EQ((lfbis.x + lfbis.x2) / 2, 72);
    int footRules = 0;
    for (const DrawCall& c : surface.calls)
        footRules += (c.kind == DrawCall::Line && c.y == 200 && c.x == 10 && c.x2 == 134) ? 1 : 0;
    EXPECT_EQ(footRules, static_cast<int>(texts("LFBIS: 1234567").size()));
}

TEST_F(A5Sheets, SignatureBlockIsNeverDrawnHigher) {
    ASSERT_TRUE(print(longRecord(6).xml()));
    const std::size_t caption = testing::indexOfText(surface, "Unterschrift Tierarzt");
    ASSERT_LT(caption, surface.calls.size());
    const DrawCall vet = surface.calls[caption];
    // The block (12 + 4) ends above the bottom limit wherever it stands.
    EXPECT_LT(vet.y - 12 + 16, 200);
    // Whatever came before it on its page lies above where it starts.
    for (std::size_t i = 0; i < caption; ++i) {
        const DrawCall& c = surface.calls[i];
        if (c.kind == DrawCall::Text && c.page == vet.page && !c.text.empty()) {
            EXPECT_LE(c.y, vet.y - 12) << c.text;
        }
    }
}

TEST_F(A5Sheets, SignatureBlockGoesToANewPageWhenItWouldReachTheBottom) {
    // 13 words of "Nachricht " fill one message line of 124 at 9 points.
    int samePage = 0, newPage = 0;
    for (int treatments = 3; treatments <= 7; ++treatments) {
        for (int monitored : {0, 2, 5}) {
            for (int lines = 1; lines <= 7; ++lines) {
                for (bool shortTitle : {false, true}) {
                    testing::TestWorld run;
                    WithdrawalRunState runState;
                    const Rec r =
                        testing::steeredRecord(treatments, monitored, 13 * lines, shortTitle);
                    ASSERT_TRUE(MediInhaltDruckenA5Blaetter(run.context, runState, r.xml()));
                    const testing::SignaturePlace p = testing::signaturePlace(run.surface, 3.6);
                    const double end = p.naturalStart + 16;
                    SCOPED_TRACE("block end " + std::to_string(end));
                    if (end >= 200) {
                        EXPECT_EQ(p.captionPage, p.messagePage + 1);
                        EXPECT_DOUBLE_EQ(p.captionY, 22);
                        ++newPage;
                    } else {
                        EXPECT_EQ(p.captionPage, p.messagePage);
                        EXPECT_NEAR(p.captionY, p.naturalStart + 12, 1e-9);
                        samePage += end > 196 ? 1 : 0;
                    }
                }
            }
        }
    }
    EXPECT_GT(newPage, 0);
    EXPECT_GT(samePage, 0) << "no case ended just above the bottom";
}

TEST_F(A5Sheets, ErrorsNameTheA5Renderer) {
    Rec r = a5Record();
    r.treatments[0].meds[0].einheit = "Milliliter je kg";
    EXPECT_FALSE(print(r.xml()));
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              w("Fehler 3265 (Die Daten sind zu lang für das Feld der Medikamententabelle) in "
                "Prozedur MediInhaltDruckenA5Blaetter in Modul FunktionenDrucker"));
    EXPECT_EQ(surface.endDocCalls, 0);
}

TEST_F(A5Sheets, RefusesRecordsWithoutDrugsOrDate) {
    Rec r = a5Record();
    r.treatments[0].meds = {Med{.status = "unbekannt"}};
    EXPECT_FALSE(print(r.xml()));
    EXPECT_TRUE(surface.calls.empty());

    r = a5Record();
    r.datum = "";
    EXPECT_FALSE(print(r.xml()));
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text, w("Ungültiges Behandlungsdatum!"));
    EXPECT_EQ(surface.endDocCalls, 0);
}

TEST_F(A5Sheets, OrganicFarmWithBothPeriodsDoubled) {
    Rec r = a5Record();
    r.bio = "True";
    r.verdoppelt = "True";
    for (Med& m : r.treatments[0].meds)
        m.nichtVerdoppeln = "False";
    ASSERT_TRUE(print(r.xml()));
    const auto notices = texts("Biobetrieb! Wartezeiten sind bereits verdoppelt.");
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_DOUBLE_EQ(notices[0].size, 8);
    EXPECT_DOUBLE_EQ(notices[0].x2, 134 - 24 * 0.8 - 1);
    EXPECT_EQ(texts("Fleisch 30  /  Milch 10").size(), 2u);
    EXPECT_EQ(texts("Fleisch 8  /  Milch 10").size(), 2u);
}

}  // namespace
}  // namespace lumaro

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
    DrawCall only(const std::string& utf8) {
        const auto found = texts(utf8);
        EXPECT_EQ(found.size(), 1u) << utf8;
        return found.empty() ? DrawCall{} : found.front();
    }
    int newPages() const { return testing::countKind(surface, DrawCall::NewPage); }
};

Rec dairyRecord() {
    Rec r;
    Beh b;
    b.meds = {Med{.status = "Angewandt",
                  .bezeichnung = "Penicillin-Streptomycin Suspension",
                  .menge = "20",
                  .charge = "PS2319A",
                  .form = "Injektionssuspension",
                  .fleisch = "7",
                  .milch = "2,5"},
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

TEST_F(A4Sheets, PrintsTheVetsAndTheKeepersCopyAsOneJob) {
    Rec r = dairyRecord();
    r.templates =
        "<FormularDaten><Typ>Text</Typ><oben>12</oben><links>10</links>"
        "<Wortlaut>Praxis Dr. Berger</Wortlaut></FormularDaten>";
    ASSERT_TRUE(print(r.xml()));
    EXPECT_EQ(surface.jobsEnded, 1);
    EXPECT_EQ(newPages(), 1) << "copy 2 starts on a new sheet";
    EXPECT_EQ(surface.orientation(), 1);
    EXPECT_EQ(surface.scaleWidth(), 210);
    EXPECT_EQ(surface.scaleHeight(), 297);

    // The practice's templates head the vet's copy, the owner lines the keeper's.
    const DrawCall practice = only("Praxis Dr. Berger");
    EXPECT_EQ(practice.page, 1);
    EXPECT_DOUBLE_EQ(practice.y, 12);
    const DrawCall owner1 = only("Tierarztpraxis Dr. Anna Berger");
    const DrawCall owner2 = only("Hauptplatz 3, 4020 Linz");
    EXPECT_EQ(owner1.page, 2);
    EXPECT_DOUBLE_EQ(owner1.y, 11);
    EXPECT_DOUBLE_EQ(owner2.y, 15);
    EXPECT_TRUE(owner1.bold);
    EXPECT_DOUBLE_EQ(owner1.size, 10);
    EXPECT_DOUBLE_EQ((owner1.x + owner1.x2) / 2, 100) << "centred between 10 and 190";

    const auto titles = texts("Aufzeichnungen über Anwendung und Abgabe von Tierarzneimittel");
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_DOUBLE_EQ(titles[0].y, 37);
    EXPECT_EQ(testing::textsStartingWith(surface, w("gemäß Tierarzneimittel")).size(), 2u);
    EXPECT_EQ(texts("Unterschrift Tierarzt").size(), 2u);
    EXPECT_EQ(texts("Unterschrift Tierhalter").size(), 2u);
}

TEST_F(A4Sheets, RightAlignedTextsEndAt190) {
    ASSERT_TRUE(print(dairyRecord().xml()));
    EXPECT_EQ(world.context.bounds.intLinkerRand, 10);
    EXPECT_EQ(world.context.bounds.intRechterRand, 190);
    EXPECT_EQ(world.context.bounds.intUntererRand, 287);

    const DrawCall lfbis = texts("1234567").at(0);
    EXPECT_DOUBLE_EQ(lfbis.x2, 190);
    EXPECT_DOUBLE_EQ(lfbis.y, 50);
    EXPECT_DOUBLE_EQ(lfbis.size, 11);
    const DrawCall caption = texts("LFBIS: ").at(0);
    EXPECT_DOUBLE_EQ(caption.x2, lfbis.x);
    EXPECT_DOUBLE_EQ(caption.y, 50.5);
    EXPECT_DOUBLE_EQ(texts("  Wartezeiten in Tagen  ").at(0).x2, 190);
    EXPECT_DOUBLE_EQ(texts("Fleisch 7  /  Milch 2,5").at(0).x2, 190);
    EXPECT_DOUBLE_EQ(texts("Fleisch 4  /  Milch 5").at(0).x2, 189.5);

    const DrawCall name = texts("Josef Huber").at(0);
    EXPECT_DOUBLE_EQ(name.x, 10);
    EXPECT_DOUBLE_EQ(name.y, 50);
    EXPECT_DOUBLE_EQ(texts("Dorfstraße 5, 4600 Wels").at(0).y, 55);
}

TEST_F(A4Sheets, ShortTitleMovesTheCustomerBlockUp) {
    Rec r = dairyRecord();
    r.flags = {{"KurzeUeberschrift", "True"}};
    ASSERT_TRUE(print(r.xml()));
    EXPECT_EQ(texts("Nachweis über den Einsatz von Arzneimitteln bei Nutztieren").size(), 2u);
    EXPECT_TRUE(texts("Aufzeichnungen über Anwendung und Abgabe von Tierarzneimittel").empty());
    EXPECT_TRUE(testing::textsStartingWith(surface, w("gemäß")).empty());
    EXPECT_DOUBLE_EQ(texts("Josef Huber").at(0).y, 41);
    EXPECT_DOUBLE_EQ(texts("Dorfstraße 5, 4600 Wels").at(0).y, 46);
}

TEST_F(A4Sheets, DateLineAndRunningNumber) {
    Rec r = dairyRecord();
    ASSERT_TRUE(print(r.xml()));
    const DrawCall date = texts("Datum der Anwendung und Abgabe: 05.03.2024").at(0);
    EXPECT_DOUBLE_EQ(date.x, 10);
    EXPECT_DOUBLE_EQ(date.y, 32);
    EXPECT_TRUE(date.bold);
    EXPECT_TRUE(testing::textsStartingWith(surface, "Nr.:").empty())
        << "shown only with LaufendeNummerZeigen";

    testing::TestWorld second;
    r.flags = {{"LaufendeNummerZeigen", "True"}};
    ASSERT_TRUE(MediInhaltDruckenA4Blaetter(second.context, state, r.xml()));
    const auto numbers = testing::textsEqual(second.surface, "Nr.:  17");
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_DOUBLE_EQ(numbers[0].x2, 190);
    EXPECT_DOUBLE_EQ(numbers[0].size, 7);
}

TEST_F(A4Sheets, EndDatesWithTwoDigitYears) {
    Rec r = dairyRecord();
    r.datum = "31.02.2024";
    r.flags = {{"WZEndeZeigen", "True"}};
    ASSERT_TRUE(print(r.xml()));
    const auto ends = texts("Wartezeiten-Ende: Fleisch 09.03.24, Milch 04.03.24");
    ASSERT_EQ(ends.size(), 2u);
    // Right-aligned left of the period box: 190 - width of the caption without
    // its blanks at 7 points (20 * 0.7) - 4.
    EXPECT_DOUBLE_EQ(ends[0].x2, 190 - 14 - 4);
    EXPECT_DOUBLE_EQ(ends[0].y, texts("Fleisch 7  /  Milch 2,5").at(0).y);
}

TEST_F(A4Sheets, NoEndDatesWithoutTheFlagOrWithoutAppliedDrugs) {
    Rec r = dairyRecord();
    ASSERT_TRUE(print(r.xml()));
    EXPECT_TRUE(testing::textsStartingWith(surface, "Wartezeiten-Ende").empty());

    testing::TestWorld second;
    r.flags = {{"WZEndeZeigen", "True"}};
    r.treatments[0].meds = {Med{.status = "Abgegeben"}};
    ASSERT_TRUE(MediInhaltDruckenA4Blaetter(second.context, state, r.xml()));
    EXPECT_TRUE(testing::textsStartingWith(second.surface, "Wartezeiten-Ende").empty());
    EXPECT_TRUE(testing::textsStartingWith(second.surface, "Angewandte").empty());
    EXPECT_EQ(testing::textsEqual(second.surface, "Datum der Abgabe: 05.03.2024").size(), 2u);
}

TEST_F(A4Sheets, AppliedDrugsAreJoinedIntoOneText) {
    Rec r;
    Beh b;
    b.meds = {Med{.bezeichnung = "Meloxicam 20 mg/ml",
                  .menge = "12,5",
                  .charge = "MX1",
                  .form = "Injektionslösung",
                  .fleisch = "15",
                  .milch = "5"},
              Med{.status = "Abgegeben", .bezeichnung = "Dazwischen"},
              Med{.bezeichnung = "Oxytocin", .menge = "2", .fleisch = "0", .milch = "0"}};
    r.treatments = {b};
    ASSERT_TRUE(print(r.xml()));
    const auto joined = texts("12,5 ml Meloxicam 20 mg/ml [MX1], Injektionslösung, 2 ml Oxytocin");
    ASSERT_EQ(joined.size(), 2u);
    EXPECT_DOUBLE_EQ(joined[0].x, 10);
    EXPECT_DOUBLE_EQ(joined[0].size, 7);
    EXPECT_EQ(texts("Fleisch 15  /  Milch 5").size(), 2u);
}

TEST_F(A4Sheets, OneCopyForTheKeeperAlone) {
    Rec r = dairyRecord();
    r.flags = {{"A4NichtFuerTierarzt", "True"}, {"BereichFuerTierhalter", "True"}};
    ASSERT_TRUE(print(r.xml()));
    EXPECT_EQ(newPages(), 0);
    EXPECT_EQ(surface.jobsEnded, 1);
    EXPECT_EQ(texts("Unterschrift Tierarzt").size(), 1u);
    EXPECT_EQ(texts("Rücknahme:").size(), 1u) << "the only copy carries the keeper's area";
}

TEST_F(A4Sheets, KeepersAreaFollowsEveryDispensedRowOfTheFirstCopy) {
    Rec r;
    r.flags = {{"BereichFuerTierhalter", "True"}};
    Beh first;
    first.meds = {Med{.status = "Abgegeben", .bezeichnung = "Erstes"}, Med{},
                  Med{.status = "Abgegeben", .bezeichnung = "Zweites"}};
    Beh second;
    second.meds = {Med{.status = "Abgegeben", .bezeichnung = "Drittes"}};
    r.treatments = {first, second};
    ASSERT_TRUE(print(r.xml()));

    const std::size_t copy2 = testing::firstIndexOf(surface, DrawCall::NewPage);
    std::size_t at = 0;
    for (const char* drug : {"1 ml Erstes", "1 ml Zweites", "1 ml Drittes"}) {
        const std::size_t row = testing::indexOfText(surface, drug, at);
        const std::size_t area = testing::indexOfText(surface, w("Rücknahme:"), row);
        ASSERT_LT(area, copy2) << drug;
        EXPECT_LT(area, testing::indexOfText(surface, "1 ml Drittes", row + 1)) << drug;
        at = area;
    }
    EXPECT_EQ(texts("Rücknahme:").size(), 3u) << "none on the vet's... keeper's copy 2";

    // Five fields, dashed, 8 below the row's period line.
    const auto fields = texts("Anzahl + Identität der Tiere");
    ASSERT_EQ(fields.size(), 3u);
    const double fieldWidth = (190 - 10 - 12) / 5.0;
    const DrawCall last = texts("Wartezeit endet am").at(0);
    EXPECT_NEAR((last.x + last.x2) / 2, 10 + 4 * (fieldWidth + 3) + fieldWidth / 2, 1e-9);
    EXPECT_DOUBLE_EQ(last.size, 5);
}

TEST_F(A4Sheets, NoKeepersAreaWithoutTheFlag) {
    ASSERT_TRUE(print(dairyRecord().xml()));
    EXPECT_TRUE(texts("Rücknahme:").empty());
    EXPECT_TRUE(texts("Standort der Tiere").empty());
}

TEST_F(A4Sheets, OrganicNoticeStandsFramedBesideTheHeading) {
    Rec r = dairyRecord();
    r.bio = "True";
    r.verdoppelt = "True";
    r.treatments[0].meds[0].nichtVerdoppeln = "False";  // 7 and 2,5 doubled
    r.treatments[0].meds[1].nichtVerdoppeln = "False";  // 4 and 5 doubled
    ASSERT_TRUE(print(r.xml()));
    const auto notices = texts("Biobetrieb! Wartezeiten sind bereits verdoppelt.");
    ASSERT_EQ(notices.size(), 2u);
    const double headingWidth = 24 * 0.7;
    EXPECT_DOUBLE_EQ(notices[0].x2, 190 - headingWidth - 1);
    EXPECT_EQ(texts("Fleisch 14  /  Milch 5").size(), 2u);
    EXPECT_EQ(texts("Fleisch 8  /  Milch 10").size(), 2u);

    // Top and bottom rule of the frame end at the grey box.
    int frameRules = 0;
    for (const DrawCall& c : surface.calls) {
        if (c.kind == DrawCall::Line && c.x == notices[0].x - 1 && c.x2 == 190 - headingWidth)
            ++frameRules;
    }
    EXPECT_EQ(frameRules, 4) << "two per copy";
}

TEST_F(A4Sheets, TreatmentWithoutDiagnosisDoesNotRepeatThePreviousOne) {
    Rec r;
    Beh first;
    first.diagnose = "Gebärparese";
    Beh second;
    second.withDiagnose = false;
    r.treatments = {first, second};
    ASSERT_TRUE(print(r.xml()));
    EXPECT_EQ(texts("Gebärparese").size(), 2u) << "once per copy";
    EXPECT_EQ(texts("Diagnose:").size(), 4u);
}

TEST_F(A4Sheets, FirstOwnerLinesOfTheRunAreKept) {
    Rec first = dairyRecord();
    Rec second = dairyRecord();
    second.eigentum1 = "";
    second.eigentum2 = "Andere Adresse";
    ASSERT_TRUE(print(first.xml() + second.xml()));
    EXPECT_EQ(surface.jobsEnded, 2);
    EXPECT_EQ(texts("Tierarztpraxis Dr. Anna Berger").size(), 2u);
    EXPECT_EQ(texts("Hauptplatz 3, 4020 Linz").size(), 2u);
    EXPECT_TRUE(texts("Andere Adresse").empty());
}

TEST_F(A4Sheets, TextWithoutRecordsPrintsNothingAndSucceeds) {
    EXPECT_TRUE(print(w("<WZBeleg>Wartezeiten A4 für Tierhalter</WZBeleg>")));
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_TRUE(print(""));
}

// Page changes ---------------------------------------------------------------

Rec longRecord(int treatments) {
    Rec r;
    r.flags = {{"BereichFuerTierhalter", "True"}};
    r.laufendeNummer = "2026-0815";
    for (int i = 0; i < treatments; ++i) {
        Beh b;
        b.nummer = std::to_string(i + 1);
        b.monitoring = "Eutergesundheit";
        // Every third treatment is a whole herd: the animals fill several lines.
        if (i % 3 == 2) {
            b.patients.clear();
            for (int animal = 0; animal < 40; ++animal)
                b.patients.push_back({"AT 8374659" + std::to_string(10 + animal), "Kuh"});
        }
        b.meds = {Med{.fleisch = "3", .milch = "4"},
                  Med{.status = "Abgegeben",
                      .bezeichnung = "Abgabe " + std::to_string(i + 1),
                      .anweisung = testing::words(30, "Anweisung")}};
        r.treatments.push_back(b);
    }
    return r;
}

void expectContentAboveTheBottom(const testing::FakeSurface& s, double bottom) {
    int feet = 0;
    for (const DrawCall& c : s.calls) {
        if (c.kind != DrawCall::Text || c.text.empty())
            continue;
        if (c.text.rfind("Seite  ", 0) == 0 || c.text.rfind("LFBIS ", 0) == 0) {
            EXPECT_DOUBLE_EQ(c.y, bottom + 1);
            ++feet;
            continue;
        }
        EXPECT_LT(c.y, bottom) << c.text << " on page " << c.page;
    }
    EXPECT_GT(feet, 0);
}

TEST_F(A4Sheets, PagesChangeAtTheBottomLimit) {
    ASSERT_TRUE(print(longRecord(12).xml()));
    EXPECT_GE(newPages(), 3);
    expectContentAboveTheBottom(surface, 287);

    // Every sheet of a copy that needed more than one carries the foot.
    const auto firstFoot = texts("Seite   1");
    ASSERT_EQ(firstFoot.size(), 2u);
    EXPECT_DOUBLE_EQ(firstFoot[0].x, 10);
    EXPECT_DOUBLE_EQ(firstFoot[0].size, 6);
    const DrawCall lfbis = texts("LFBIS 1234567   2026-0815").at(0);
    EXPECT_DOUBLE_EQ(lfbis.x2, 90);
    const int sheets = newPages() + 1;
    EXPECT_EQ(static_cast<int>(testing::textsStartingWith(surface, "Seite  ").size()), sheets);
    // Later pages start at the top: no head, content from 10 on.
    const DrawCall second = testing::textsStartingWith(surface, "Seite   2").at(0);
    double firstOnPage2 = 1e9;
    for (const DrawCall& c : surface.calls) {
        if (c.kind == DrawCall::Line && c.page == second.page)
            firstOnPage2 = std::min(firstOnPage2, c.y);
    }
    EXPECT_GE(firstOnPage2, 10);
}

TEST_F(A4Sheets, UpperHalfOnlyBreaksAtHalfThePage) {
    Rec r = longRecord(5);
    r.flags.push_back({"NurObereHaelfte", "True"});
    ASSERT_TRUE(print(r.xml()));
    EXPECT_EQ(world.context.bounds.intUntererRand, 138);
    EXPECT_GE(newPages(), 3);
    expectContentAboveTheBottom(surface, 138);
    int footRules = 0;
    for (const DrawCall& c : surface.calls)
        footRules += (c.kind == DrawCall::Line && c.y == 138 && c.x == 10 && c.x2 == 90) ? 1 : 0;
    EXPECT_EQ(footRules, static_cast<int>(texts("LFBIS 1234567   2026-0815").size()));
}

TEST_F(A4Sheets, SingleSheetCopiesHaveNoFoot) {
    ASSERT_TRUE(print(dairyRecord().xml()));
    EXPECT_TRUE(testing::textsStartingWith(surface, "Seite").empty());
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
            for (std::size_t j = i + 1; j < s.calls.size(); ++j) {
                const DrawCall& line = s.calls[j];
                if (line.kind != DrawCall::Text || line.text.rfind("Behandlung Nr.", 0) == 0 ||
                    line.text == "Diagnose:")
                    break;
                EXPECT_EQ(line.page, c.page) << line.text;
                end = line.y2;
            }
            EXPECT_LT(end, bottom - 1);
        } else if (c.text == "  Wartezeiten in Tagen  ") {
            EXPECT_LT(c.y - 0.5 + 6, bottom) << "period heading on page " << c.page;
        } else if (c.text.rfind("1 ml Abgabe ", 0) == 0 && i < copy2) {
            // A dispensed drug, its instructions and the keeper's fields stay together.
            const std::size_t fields = testing::indexOfText(s, w("Wartezeit endet am"), i);
            ASSERT_LT(fields, s.calls.size());
            for (std::size_t j = i; j <= fields; ++j)
                EXPECT_EQ(s.calls[j].page, c.page) << c.text;
            EXPECT_LT(s.calls[fields].y, bottom);
        }
    }
}

TEST_F(A4Sheets, BlocksAreKeptWholeAcrossPageChanges) {
    // Treatments of different heights in front shift the long record through
    // every position near the bottom limit.
    for (int filler = 0; filler <= 8; ++filler) {
        testing::TestWorld run;
        WithdrawalRunState runState;
        Rec r = longRecord(9);
        for (int i = 0; i < filler; ++i) {
            Beh b;
            b.diagnose = testing::words(1 + 9 * i, "Klauenrehe");
            r.treatments.insert(r.treatments.begin(), b);
        }
        ASSERT_TRUE(MediInhaltDruckenA4Blaetter(run.context, runState, r.xml()));
        SCOPED_TRACE("filler " + std::to_string(filler));
        expectBlocksKeptWhole(run.surface, 287);
        expectContentAboveTheBottom(run.surface, 287);
    }
}

// The signature block --------------------------------------------------------

// 25 words of "Nachricht " fill one line of the general message (180 wide, 7 points).
constexpr int kWordsPerLine = 25;
constexpr double kMessageLine = 2.8;

testing::SignaturePlace signaturePlace(const testing::FakeSurface& s) {
    return testing::signaturePlace(s, kMessageLine);
}

Rec steeredRecord(int treatments, int monitored, int messageLines, bool shortTitle = false) {
    // Each treatment (25.4), each one-line monitoring text (2.0) and each
    // message line (2.8) moves the block down by a known step; the short
    // title moves everything up by 9.
    return testing::steeredRecord(treatments, monitored, kWordsPerLine * messageLines, shortTitle);
}

TEST_F(A4Sheets, SignatureBlockOverrunningBy6IsDrawn6Higher) {
    ASSERT_TRUE(print(steeredRecord(8, 8, 1, true).xml()));
    const testing::SignaturePlace p = signaturePlace(surface);
    ASSERT_NEAR(p.naturalStart + 16 - 287, 6, 1e-9) << "the record is built to overrun by 6";
    EXPECT_EQ(p.captionPage, p.messagePage);
    EXPECT_NEAR(p.captionY, p.naturalStart + 12 - 6, 1e-9);
    EXPECT_NEAR(p.captionY + 4, 287, 1e-9) << "the block ends on the bottom limit";
    const auto keeper = texts("Unterschrift Tierhalter");
    EXPECT_DOUBLE_EQ(keeper.at(0).y, p.captionY);
    // Both rules half a unit above their captions.
    int rules = 0;
    for (const DrawCall& c : surface.calls)
        rules +=
            (c.kind == DrawCall::Line && c.page == 1 && std::abs(c.y - (p.captionY - 0.5)) < 1e-9);
    EXPECT_EQ(rules, 2);
}

TEST_F(A4Sheets, SignatureBlockOverrunningBy11GoesToANewPage) {
    ASSERT_TRUE(print(steeredRecord(8, 6, 1).xml()));
    const testing::SignaturePlace p = signaturePlace(surface);
    ASSERT_NEAR(p.naturalStart + 16 - 287, 11, 1e-9) << "the record is built to overrun by 11";
    EXPECT_EQ(p.captionPage, p.messagePage + 1);
    EXPECT_DOUBLE_EQ(p.captionY, 10 + 12);
    EXPECT_EQ(texts("Seite   1").size(), 2u) << "both copies now have two sheets";
}

TEST_F(A4Sheets, SignatureBlockThatFitsStaysWhereItIs) {
    ASSERT_TRUE(print(steeredRecord(2, 0, 3).xml()));
    const testing::SignaturePlace p = signaturePlace(surface);
    EXPECT_DOUBLE_EQ(p.captionY, p.naturalStart + 12);
    const double width = (190 - 10 - 10) * 0.4;
    const DrawCall vet = texts("Unterschrift Tierarzt").at(0);
    EXPECT_NEAR((vet.x + vet.x2) / 2, 190 - width / 2, 1e-9);
    const DrawCall keeper = texts("Unterschrift Tierhalter").at(0);
    EXPECT_NEAR((keeper.x + keeper.x2) / 2, 10 + width / 2, 1e-9);
    EXPECT_TRUE(vet.italic);
}

TEST_F(A4Sheets, SignatureBlockPlacementFollowsItsOverrun) {
    int asIs = 0, movedUp = 0, newPage = 0;
    for (int treatments = 6; treatments <= 10; ++treatments) {
        for (int monitored : {0, 3, 6}) {
            for (int lines = 1; lines <= 4; ++lines) {
                for (bool shortTitle : {false, true}) {
                    testing::TestWorld run;
                    WithdrawalRunState runState;
                    const Rec r = steeredRecord(treatments, monitored, lines, shortTitle);
                    ASSERT_TRUE(MediInhaltDruckenA4Blaetter(run.context, runState, r.xml()));
                    const testing::SignaturePlace p = signaturePlace(run.surface);
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
    // The sweep is only worth something when it met every case.
    EXPECT_GT(asIs, 0);
    EXPECT_GT(movedUp, 0);
    EXPECT_GT(newPage, 0);
}

// Bad input ------------------------------------------------------------------

TEST_F(A4Sheets, RecordWithoutAppliedOrDispensedDrugsIsRefusedBeforeDrawing) {
    Rec r = dairyRecord();
    r.treatments[0].meds = {Med{.status = "Verworfen"}};
    EXPECT_FALSE(print(dairyRecord().xml() + r.xml() + dairyRecord().xml()));
    EXPECT_EQ(surface.jobsEnded, 1) << "the record before it is printed";
    EXPECT_EQ(texts("Unterschrift Tierarzt").size(), 2u) << "nothing of the refused one";
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(A4Sheets, EmptyTreatmentDateStopsWithAMessage) {
    Rec r = dairyRecord();
    r.datum = "  ";
    EXPECT_FALSE(print(r.xml()));
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text, w("Ungültiges Behandlungsdatum!"));
    EXPECT_EQ(world.messages.shown[0].title, "");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(surface.endDocCalls, 0);
}

TEST_F(A4Sheets, RecordWithoutTreatmentsNeedsNoDate) {
    Rec r = dairyRecord();
    r.datum = "";
    r.treatments = {};
    r.nachricht = "Abgabe laut Lieferschein: Angewandt";
    // The record mentions no drug with a status, so it is not printed ...
    EXPECT_FALSE(print(r.xml()));
    EXPECT_TRUE(world.messages.shown.empty());
    // ... but one whose drugs stand outside any treatment prints without a date.
    testing::TestWorld second;
    r.nachricht = "<AbgabeStatus>Abgegeben</AbgabeStatus>";
    EXPECT_TRUE(MediInhaltDruckenA4Blaetter(second.context, state, r.xml()));
    EXPECT_TRUE(second.messages.shown.empty());
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

TEST_F(A4Sheets, UnreadableTreatmentDateIsReported) {
    Rec r = dairyRecord();
    r.datum = "05.03.24";
    EXPECT_FALSE(print(r.xml()));
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text.rfind("Fehler 5 (", 0), 0u)
        << world.messages.shown[0].text;
    EXPECT_EQ(surface.endDocCalls, 0);
}

TEST_F(A4Sheets, GarbageNumbersPrintAsZero) {
    Rec r;
    r.treatments[0].meds = {
        Med{.bezeichnung = "Mittel", .menge = "viel", .fleisch = "lang", .milch = "-"}};
    ASSERT_TRUE(print(r.xml()));
    EXPECT_EQ(texts("0 ml Mittel").size(), 2u);
    EXPECT_EQ(texts("Fleisch 0  /  Milch 0").size(), 2u);
}

TEST_F(A4Sheets, ThousandRecordsAreThousandJobs) {
    std::string file;
    const std::string one = dairyRecord().xml();
    for (int i = 0; i < 1000; ++i)
        file += one + "\r\n";
    ASSERT_TRUE(print(file));
    EXPECT_EQ(surface.jobsEnded, 1000);
}

}  // namespace
}  // namespace lumaro

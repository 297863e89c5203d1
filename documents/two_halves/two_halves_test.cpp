// The two-halves renderer on the fake surface (a character is size/10 wide,
// a line size*0.4 high). Without head templates the content starts at 35; a
// treatment with one applied drug takes about 26 units.
#include "documents/two_halves/two_halves.h"

#include <gtest/gtest.h>

#include <cmath>

#include "documents/two_halves/two_halves_test_support.h"
#include "support/errors.h"

namespace lumaro::testing {
namespace {

std::vector<Cure> cures(int n, bool dispensedWithInstructions = false) {
    std::vector<Cure> out;
    for (int i = 1; i <= n; ++i) {
        Cure c;
        c.nummer = std::to_string(i);
        if (dispensedWithInstructions) {
            Drug d;
            d.status = "Abgegeben";
            d.name = "Mittel" + std::to_string(i);
            d.anweisung = "Anweisung" + std::to_string(i);
            c.drugs = {d};
        }
        out.push_back(c);
    }
    return out;
}

const std::string kHeading = "  Wartezeiten in Tagen  ";

TEST(TwoHalves, TextWithoutRecordPrintsNothingAndSucceeds) {
    TestWorld t;
    EXPECT_TRUE(MediInhaltDrucken2xA5(t.context, w("<Beleg>nichts</Beleg>")));
    EXPECT_TRUE(t.surface.calls.empty());
    EXPECT_EQ(t.surface.endDocCalls, 0);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(TwoHalves, EmptyDateStopsWithMessageAndKeepsEarlierRecords) {
    TestWorld t;
    Record good;
    Record bad;
    bad.date = "   ";
    bad.customer = "Zweiter Kunde";
    EXPECT_FALSE(MediInhaltDrucken2xA5(t.context, good.xml() + bad.xml()));

    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, w("Ungültiges Behandlungsdatum!"));
    EXPECT_EQ(t.messages.shown[0].title, "");
    EXPECT_EQ(t.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(t.surface.jobsEnded, 1);
    // Nothing of the refused record was drawn after the first job ended.
    ASSERT_FALSE(t.surface.calls.empty());
    EXPECT_EQ(t.surface.calls.back().kind, DrawCall::EndDoc);
    EXPECT_TRUE(textsEqual(t.surface.calls, "Zweiter Kunde").empty());
}

TEST(TwoHalves, EachRecordIsAJobOfItsOwnCountingSheetsFromOne) {
    TestWorld t;
    Record r;
    r.cures = cures(7);
    EXPECT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml() + r.xml()));

    EXPECT_EQ(t.surface.jobsEnded, 2);
    for (int job = 1; job <= 2; ++job) {
        SCOPED_TRACE(job);
        const auto calls = jobCalls(t.surface, job);
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front().page, 1);
        EXPECT_EQ(textsEqual(calls, "Eigentum der Tierarztpraxis").size(), 1u);
        // Foot of sheet 1 and continuation head of sheet 2, in both halves.
        EXPECT_EQ(textsEqual(calls, "Seite 1").size(), 2u);
        EXPECT_EQ(textsEqual(calls, "Seite 2").size(), 2u);
        EXPECT_TRUE(textsStarting(calls, "Seite 3").empty());
        EXPECT_EQ(textsEqual(calls, "Beh.Nr. 7").size(), 2u);
    }
}

TEST(TwoHalves, MarkerNarrowsTheRightHalfOnTheFirstSheetOnly) {
    TestWorld t;
    Record r;
    r.templates = "<FormularDaten><DatenTyp>Seitenwechsel in der Mitte</DatenTyp></FormularDaten>";
    r.flags = tag("LaufendeNummerZeigen", "True");
    r.cures = cures(7);
    ASSERT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
    const auto& calls = t.surface.calls;

    bool narrowRule = false;
    for (const DrawCall& c : ofKind(calls, DrawCall::Line))
        narrowRule |= c.x == 148 && c.x2 == 272 && c.y == 30;
    EXPECT_TRUE(narrowRule);

    const auto number = textsEqual(calls, "Nr.: 17");
    ASSERT_EQ(number.size(), 2u);
    EXPECT_DOUBLE_EQ(number[0].x2, 138);
    EXPECT_DOUBLE_EQ(number[1].x2, 272);
    const auto farm = textsEqual(calls, "1234567");
    ASSERT_EQ(farm.size(), 2u);
    EXPECT_DOUBLE_EQ(farm[1].x2, 272);
    const auto first = textsEqual(calls, "Beh.Nr. 1");
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1].page, 1);
    EXPECT_DOUBLE_EQ(first[1].x2, 272);

    const auto last = textsEqual(calls, "Beh.Nr. 7");
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[1].page, 2);
    EXPECT_DOUBLE_EQ(last[1].x2, 287);
    for (const DrawCall& c : textsEqual(calls, "Seite 2"))
        EXPECT_EQ(c.page, 2);
    EXPECT_DOUBLE_EQ(textsEqual(calls, "Seite 2")[1].x2, 287);
}

TEST(TwoHalves, RecordOnOneSheetHasNoFootButTheClosingBlockAtTheBottom) {
    TestWorld t;
    Record r;
    r.vetNumber = "";
    ASSERT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
    const auto& calls = t.surface.calls;

    EXPECT_TRUE(textsStarting(calls, "Seite").empty());
    for (const DrawCall& c : ofKind(calls, DrawCall::Line))
        EXPECT_NE(c.y, 200);
    for (const DrawCall& c : calls)
        EXPECT_EQ(c.page, 1);

    // Signature rules of width (138 - 10 - 10) * 0.4 = 47.2 ending at each
    // half's right edge, their captions centred below them.
    const auto vet = textsEqual(calls, "Unterschrift Tierarzt");
    ASSERT_EQ(vet.size(), 1u);
    EXPECT_DOUBLE_EQ(vet[0].x, 90.8 + (47.2 - 21 * 0.8) / 2);
    EXPECT_EQ(vet[0].y, 195);
    EXPECT_TRUE(vet[0].italic);
    const auto keeper = textsEqual(calls, "Unterschrift Tierhalter");
    ASSERT_EQ(keeper.size(), 1u);
    EXPECT_DOUBLE_EQ(keeper[0].x, 239.8 + (47.2 - 23 * 0.8) / 2);
    // Without a vet number only the right half names the field.
    const auto field = textsEqual(calls, "Tierarzt-Nr.:");
    ASSERT_EQ(field.size(), 1u);
    EXPECT_GT(field[0].x, 158);

    const auto programmer = textsEqual(calls, "Programmierung:");
    ASSERT_EQ(programmer.size(), 1u);
    EXPECT_EQ(programmer[0].x, 10);
    EXPECT_EQ(programmer[0].y, 197);
    const auto web = textsEqual(calls, "www.lumaro.example");
    ASSERT_EQ(web.size(), 1u);
    EXPECT_EQ(web[0].y, 199);
    // The vet's name under the left signature and at the start of the right half.
    const auto name = textsEqual(calls, "Dr. Anna Berger");
    ASSERT_EQ(name.size(), 2u);
    EXPECT_DOUBLE_EQ(name[0].x, 90.8 + (47.2 - 15 * 0.8) / 2);
    EXPECT_EQ(name[1].x, 158);
    EXPECT_EQ(name[1].y, 199);
}

TEST(TwoHalves, ClosingBlockFollowsTheFootTemplatesToANewSheet) {
    const std::string foot = textEntry(120, 12, "Praxis am Hauptplatz");
    {
        TestWorld t;
        Record r;
        r.templates = foot;
        ASSERT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
        const auto text = textsEqual(t.surface.calls, "Praxis am Hauptplatz");
        ASSERT_EQ(text.size(), 1u);
        EXPECT_EQ(text[0].page, 1);
        EXPECT_EQ(text[0].y, 120);
    }
    {
        // Three treatments run past 120: the foot templates would stand on them.
        TestWorld t;
        Record r;
        r.templates = foot;
        r.cures = cures(3);
        ASSERT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
        const auto& calls = t.surface.calls;
        EXPECT_EQ(textsEqual(calls, "Beh.Nr. 3")[0].page, 1);
        EXPECT_EQ(textsEqual(calls, "Praxis am Hauptplatz")[0].page, 2);
        EXPECT_EQ(textsEqual(calls, "Unterschrift Tierarzt")[0].page, 2);
        EXPECT_EQ(textsEqual(calls, "Seite 1")[0].y, 202);
        EXPECT_EQ(t.surface.jobsEnded, 1);
    }
}

TEST(TwoHalves, HeadingStandsFiveLowerWhenPeriodsAreAlreadyDoubled) {
    auto headingAndNotice = [](const std::string& doubled, const std::string& notice) {
        TestWorld t;
        Record r;
        r.bio = "True";
        r.doubled = doubled;
        EXPECT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
        const auto heading = textsEqual(t.surface.calls, kHeading);
        const auto n = textsEqual(t.surface.calls, notice);
        EXPECT_EQ(heading.size(), 2u);
        EXPECT_EQ(n.size(), 2u);
        // The notice ends 1 left of the grey box (24 characters at 8 points).
        EXPECT_DOUBLE_EQ(n[0].x2, 138 - 19.2 - 1);
        EXPECT_DOUBLE_EQ(n[1].x2, 287 - 19.2 - 1);
        EXPECT_TRUE(n[0].bold);
        return heading[0].y;
    };
    const double plain =
        headingAndNotice("", " Biobetrieb! Beachten Sie die Richtlinien Ihres Verbandes.");
    const double doubled =
        headingAndNotice("True", " Biobetrieb! Wartezeiten sind bereits verdoppelt.");
    EXPECT_DOUBLE_EQ(doubled - plain, 5);
}

TEST(TwoHalves, AppliedDrugsAreJoinedUnlessEachHasItsOwnLine) {
    Record r;
    Drug a;
    a.name = "Aa";
    Drug b;
    b.name = "Bb";
    b.menge = "2.5";
    b.charge = " X1 ";
    b.form = "Inj.";
    r.cures[0].drugs = {a, b};
    {
        TestWorld t;
        ASSERT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
        const auto joined = textsEqual(t.surface.calls, "1 ml Aa, 2,5 ml Bb [X1], Inj.");
        ASSERT_EQ(joined.size(), 2u);
        EXPECT_EQ(joined[0].x, 15);
        EXPECT_EQ(joined[1].x, 163);
        EXPECT_EQ(joined[0].size, 8);
        // The greatest periods stand on the heading's line, clear of the drugs.
        const auto heading = textsEqual(t.surface.calls, "Angewandte Medikamente");
        const auto periods = textsEqual(t.surface.calls, "Fleisch 0   Milch 0");
        ASSERT_EQ(periods.size(), 2u);
        EXPECT_LT(periods[1].y - heading[1].y, 2);
        for (const DrawCall& box : ofKind(t.surface.calls, DrawCall::FilledBox)) {
            if (box.y == periods[1].y) {
                EXPECT_LE(box.y2, joined[1].y);
            }
        }
    }
    {
        TestWorld t;
        r.flags = tag("MediSeparateZeilen", "True");
        ASSERT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
        EXPECT_TRUE(textsStarting(t.surface.calls, "1 ml Aa,").empty());
        const auto first = textsEqual(t.surface.calls, "1 ml Aa");
        const auto second = textsEqual(t.surface.calls, "2,5 ml Bb [X1], Inj.");
        ASSERT_EQ(first.size(), 2u);
        ASSERT_EQ(second.size(), 2u);
        EXPECT_EQ(first[0].x, 10);
        EXPECT_EQ(first[1].x, 158);
        EXPECT_DOUBLE_EQ(second[0].y - first[0].y, 4);
    }
}

TEST(TwoHalves, PeriodsEndDatesAndDoubledDispensedRows) {
    TestWorld t;
    Record r;
    r.bio = "True";
    r.doubled = "True";
    r.flags = tag("WZEndeZeigen", "True");
    Drug a;
    a.fleisch = "7";
    a.milch = "3";
    Drug b;
    b.fleisch = "2";
    b.milch = "5";
    Drug d;
    d.status = "Abgegeben";
    d.fleisch = "7";
    d.milch = "2";
    d.nichtVerdoppeln = "False";
    r.cures[0].drugs = {a, b, d};
    ASSERT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
    const auto& calls = t.surface.calls;

    // Applied rows keep their periods (no "False"), the dispensed one doubles.
    const auto greatest = textsEqual(calls, "Fleisch 7   Milch 5");
    ASSERT_EQ(greatest.size(), 2u);
    EXPECT_DOUBLE_EQ(greatest[1].x2, 287);
    EXPECT_TRUE(greatest[1].bold);
    const auto ends =
        textsEqual(calls, "Wartezeiten enden am: Fleisch 12.03.2024 / Milch 10.03.2024");
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_DOUBLE_EQ(ends[0].x2, 138 - 19.2 - 1);
    EXPECT_DOUBLE_EQ(ends[1].x2, 287 - 19.2 - 1);
    const auto dispensed = textsEqual(calls, "Fleisch 14  /  Milch 4");
    ASSERT_EQ(dispensed.size(), 2u);
    EXPECT_DOUBLE_EQ(dispensed[0].x2, 138);
    EXPECT_GT(dispensed[0].y, ends[0].y);
}

TEST(TwoHalves, KeeperTableStandsInTheLeftHalfOnly) {
    TestWorld t;
    Record r;
    r.flags = tag("BereichFuerTierhalter", "True");
    r.cures = cures(1, true);
    ASSERT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
    const auto& calls = t.surface.calls;

    const double column = (128 - 12) / 5.0;
    const char* captions[] = {"Identität der Tiere", "Datum von - bis", "Menge",
                              "Unterschrift Anw.", "Wartezeit endet am"};
    double y = -1;
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(captions[i]);
        const auto c = textsEqual(calls, captions[i]);
        ASSERT_EQ(c.size(), 1u);
        const double left = 10 + i * (column + 3);
        EXPECT_NEAR((c[0].x + c[0].x2) / 2, left + column / 2, 1e-9);
        if (y < 0)
            y = c[0].y;
        EXPECT_EQ(c[0].y, y);
        bool rule = false;
        for (const DrawCall& l : ofKind(calls, DrawCall::Line))
            rule |= std::abs(l.x - left) < 1e-9 && std::abs(l.x2 - (left + column)) < 1e-9 &&
                    l.y == y - 0.5;
        EXPECT_TRUE(rule);
    }
    // 16 below the instructions' line.
    EXPECT_DOUBLE_EQ(y - textsEqual(calls, "Anwendungsanweisung: Anweisung1")[0].y, 16);
}

TEST(TwoHalves, DispensedBlocksAreNotSplitAcrossSheets) {
    TestWorld t;
    Record r;
    r.flags = tag("BereichFuerTierhalter", "True");
    r.cures = cures(6, true);
    ASSERT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
    const auto& calls = t.surface.calls;

    ASSERT_FALSE(textsEqual(calls, "Seite 2").empty());
    for (int i = 1; i <= 6; ++i) {
        SCOPED_TRACE(i);
        const auto drug = textsEqual(calls, "1 ml Mittel" + std::to_string(i));
        const auto instructions =
            textsEqual(calls, "Anwendungsanweisung: Anweisung" + std::to_string(i));
        ASSERT_EQ(drug.size(), 2u);
        ASSERT_EQ(instructions.size(), 2u);
        EXPECT_EQ(drug[0].page, instructions[0].page);
        // Neither the treatment's head nor the section heading stays behind.
        EXPECT_EQ(textsEqual(calls, "Beh.Nr. " + std::to_string(i))[0].page, drug[0].page);
        // Nothing of a block runs into the foot.
        EXPECT_LT(instructions[0].y2, 200);
    }
}

TEST(TwoHalves, MonitoringStandsBesideTheDiagnosisOrBelowAWideOne) {
    {
        TestWorld t;
        Record r;
        r.cures[0].monitoring = "Euter";
        ASSERT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
        const auto gm = textsEqual(t.surface.calls, "GM: Euter");
        const auto diagnosis = textsEqual(t.surface.calls, "Mastitis");
        ASSERT_EQ(gm.size(), 2u);
        // 1 left of the treatment-number column ("Beh.Nr. 1" at 9 points, + 2).
        EXPECT_DOUBLE_EQ(gm[0].x2, 138 - (9 * 0.9 + 2) - 1);
        EXPECT_DOUBLE_EQ(gm[0].y, diagnosis[0].y + 0.5);
        EXPECT_EQ(gm[0].size, 7);
    }
    {
        TestWorld t;
        Record r;
        r.cures[0].monitoring = "Euter";
        r.cures[0].diagnose = std::string(110, 'D');
        ASSERT_TRUE(MediInhaltDrucken2xA5(t.context, r.xml()));
        const auto gm = textsEqual(t.surface.calls, "GM: Euter");
        const auto diagnosis = textsEqual(t.surface.calls, std::string(110, 'D'));
        ASSERT_EQ(gm.size(), 2u);
        ASSERT_EQ(diagnosis.size(), 2u);
        EXPECT_GE(gm[0].y, diagnosis[0].y2);
        EXPECT_DOUBLE_EQ(gm[0].x2, 138 - (9 * 0.9 + 2) - 1);
    }
}

TEST(TwoHalves, ATextTooLongForItsColumnIsNotHandledHere) {
    TestWorld t;
    Record r;
    r.cures[0].drugs[0].einheit = "Milliliter!";
    try {
        MediInhaltDrucken2xA5(t.context, r.xml());
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::kFieldTooLong);
    }
    EXPECT_EQ(t.surface.endDocCalls, 0);
    EXPECT_TRUE(t.messages.shown.empty());
}

}  // namespace
}  // namespace lumaro::testing

// The two-halves renderer on the fake surface (a character is size/10 wide,
// a line size*0.4 high). Without head templates the content starts at 35; a
// treatment with one applied drug takes about 26 units of the 200.
#include "documents/withdrawal/two_halves/two_halves.h"

#include <gtest/gtest.h>

#include "documents/withdrawal/two_halves/two_halves_test_support.h"
#include "support/errors.h"

namespace lumaro::testing {
namespace {

// n treatments numbered from 1, with one applied drug, or with one dispensed
// drug "Mitteln" and its instructions "Anweisungn".
std::vector<Cure> cures(int n, bool dispensed = false) {
    std::vector<Cure> out(n);
    for (int i = 1; i <= n; ++i) {
        out[i - 1].nummer = std::to_string(i);
        if (dispensed) {
            Drug& d = out[i - 1].drugs[0];
            d.status = "Abgegeben";
            d.name = "Mittel" + std::to_string(i);
            d.anweisung = "Anweisung" + std::to_string(i);
        }
    }
    return out;
}

struct Printed {
    TestWorld t;
    bool result;
    explicit Printed(const std::string& text) : result(MediInhaltDrucken2xA5(t.context, text)) {}
    std::vector<DrawCall> operator()(const std::string& utf8, bool prefix = false) const {
        return texts(t.surface.calls, utf8, prefix);
    }
};

TEST(TwoHalves, EmptyDateStopsWithMessageAndKeepsEarlierRecords) {
    Record good, bad;
    bad.date = "   ";
    bad.customer = "Zweiter Kunde";
    Printed p(good.xml() + bad.xml());
    EXPECT_FALSE(p.result);
    ASSERT_EQ(p.t.messages.shown.size(), 1u);
    EXPECT_EQ(p.t.messages.shown[0].text, w("Ungültiges Behandlungsdatum!"));
    EXPECT_EQ(p.t.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(p.t.surface.jobsEnded, 1);
    EXPECT_EQ(p.t.surface.calls.back().kind, DrawCall::EndDoc);
    EXPECT_TRUE(p("Zweiter Kunde").empty());

    Printed none(w("<Beleg>nichts</Beleg>"));
    EXPECT_TRUE(none.result) << "a text without records prints nothing and succeeds";
    EXPECT_TRUE(none.t.surface.calls.empty());
}

TEST(TwoHalves, TheNameInTheLeftHalfKeepsClearOfTheFarmNumberOrIsPrintedWhole) {
    // The left half is 128 wide; at 10 points a character is 1 unit. A farm
    // number of 40 leaves 48 for the name, cut with "..."; one of 64 leaves
    // nothing, and the name is printed whole, as on the sheets.
    Record r;
    r.customer = std::string(60, 'N');
    r.lfbis = std::string(40, '9');
    Printed narrow(r.xml());
    const auto cut = narrow(std::string(60, 'N'));
    ASSERT_EQ(cut.size(), 1u);  // the right half's, whole
    EXPECT_GE(cut[0].x, 158);
    EXPECT_EQ(narrow(std::string(45, 'N') + "...").size(), 1u);

    r.lfbis = std::string(64, '9');
    Printed none(r.xml());
    const auto whole = none(std::string(60, 'N'));
    ASSERT_EQ(whole.size(), 2u);
    EXPECT_EQ(whole[0].x, 10);
}

TEST(TwoHalves, AnimalsAdvanceByTheCaptionOnlyWhenTheyAreEmpty) {
    // 9 points on the fake: a line is 3.6 high; the diagnosis stands 4 below
    // the animals block.
    struct Case {
        std::string animal;
        double advance;
    } cases[] = {{"", 3.6}, {"AT 4711", 3.6}, {std::string(300, 'X'), 0.0}};
    for (const Case& c : cases) {
        Record r;
        r.cures[0].animal = c.animal;
        Printed p(r.xml());
        const auto caption = p("Identität:");
        const auto diagnosis = p("Diagnose:");
        ASSERT_EQ(caption.size(), 2u);
        ASSERT_EQ(diagnosis.size(), 2u);
        EXPECT_NEAR(diagnosis[0].y - caption[0].y, c.advance + 4, 1e-9) << c.animal.size();
    }
}

TEST(TwoHalves, EachRecordIsAJobOfItsOwnCountingSheetsFromOne) {
    Record r;
    r.cures = cures(7);
    Printed p(r.xml() + r.xml());
    EXPECT_TRUE(p.result);
    EXPECT_EQ(p.t.surface.jobsEnded, 2);
    for (int job = 1; job <= 2; ++job) {
        const auto calls = jobCalls(p.t.surface, job);
        EXPECT_EQ(calls.at(0).page, 1);
        EXPECT_EQ(texts(calls, "Eigentum der Tierarztpraxis").size(), 1u);
        // Foot of sheet 1 and continuation head of sheet 2, in both halves.
        EXPECT_EQ(texts(calls, "Seite 1").size(), 2u);
        EXPECT_EQ(texts(calls, "Seite 2").size(), 2u);
        EXPECT_TRUE(texts(calls, "Seite 3", true).empty());
    }
}

TEST(TwoHalves, MarkerNarrowsTheRightHalfOnTheFirstSheetOnly) {
    Record r;
    r.templates = "<FormularDaten><DatenTyp>Seitenwechsel in der Mitte</DatenTyp></FormularDaten>";
    r.flags = tag("LaufendeNummerZeigen", "True");
    r.cures = cures(7);
    Printed p(r.xml());
    EXPECT_TRUE(hasLine(p.t.surface.calls, 148, 272, 30));
    EXPECT_DOUBLE_EQ(p("Nr.: 17").at(0).x2, 138);
    // Sheet 1 ends at 272 on the right, sheet 2 at 287.
    for (const char* s : {"Nr.: 17", "1234567", "Beh.Nr. 1", "Beh.Nr. 7", "Seite 2"}) {
        const auto right = p(s).at(1);
        EXPECT_DOUBLE_EQ(right.x2, right.page == 1 ? 272 : 287) << s;
    }
    EXPECT_EQ(p("Beh.Nr. 7").at(1).page, 2);
}

TEST(TwoHalves, RecordOnOneSheetHasNoFootButTheClosingBlockAtTheBottom) {
    Record r;
    r.vetNumber = "";
    Printed p(r.xml());
    EXPECT_TRUE(p("Seite", true).empty());
    for (const DrawCall& c : p.t.surface.calls) {
        EXPECT_EQ(c.page, 1);
        EXPECT_FALSE(c.kind == DrawCall::Line && c.y == 200);
    }
    // Signature rules 47.2 wide, (138 - 10 - 10) * 0.4, end at each half's
    // right edge with their captions centred below.
    const auto vet = p("Unterschrift Tierarzt").at(0);
    EXPECT_DOUBLE_EQ(vet.x, 90.8 + (47.2 - 21 * 0.8) / 2);
    EXPECT_EQ(vet.y, 195);
    // Without a vet number only the right half names the field.
    ASSERT_EQ(p("Tierarzt-Nr.:").size(), 1u);
    EXPECT_GT(p("Tierarzt-Nr.:")[0].x, 158);
}

TEST(TwoHalves, ClosingBlockFollowsTheFootTemplatesToANewSheet) {
    Record r;
    r.templates = textEntry(120, 12, "Praxis am Hauptplatz");
    Printed one(r.xml());
    EXPECT_EQ(one("Praxis am Hauptplatz").at(0).page, 1);
    EXPECT_EQ(one("Praxis am Hauptplatz").at(0).y, 120);
    // Three treatments run past 120: the foot templates would stand on them.
    r.cures = cures(3);
    Printed three(r.xml());
    EXPECT_EQ(three("Beh.Nr. 3").at(0).page, 1);
    EXPECT_EQ(three("Praxis am Hauptplatz").at(0).page, 2);
    EXPECT_EQ(three("Unterschrift Tierarzt").at(0).page, 2);
    EXPECT_EQ(three("Seite 1").at(0).y, 202);
}

TEST(TwoHalves, HeadingStandsFiveLowerWhenPeriodsAreAlreadyDoubled) {
    auto headingY = [](const std::string& doubled, const std::string& notice) {
        Record r;
        r.bio = "True";
        r.doubled = doubled;
        Printed p(r.xml());
        // The notice ends 1 left of the grey box (24 characters at 8 points).
        EXPECT_DOUBLE_EQ(p(notice).at(1).x2, 287 - 19.2 - 1);
        return p("  Wartezeiten in Tagen  ").at(0).y;
    };
    const double plain = headingY("", " Biobetrieb! Beachten Sie die Richtlinien Ihres Verbandes.");
    const double doubled = headingY("True", " Biobetrieb! Wartezeiten sind bereits verdoppelt.");
    EXPECT_DOUBLE_EQ(doubled - plain, 5);
}

TEST(TwoHalves, AppliedDrugsAreJoinedUnlessEachHasItsOwnLine) {
    Record r;
    Drug a, b;
    a.name = "Aa";
    b.name = "Bb";
    b.menge = "2.5";
    b.charge = " X1 ";
    b.form = "Inj.";
    r.cures[0].drugs = {a, b};
    Printed joined(r.xml());
    const auto text = joined("1 ml Aa, 2,5 ml Bb [X1], Inj.");
    ASSERT_EQ(text.size(), 2u);
    EXPECT_EQ(text[0].x, 15);
    EXPECT_EQ(text[1].x, 163);
    // The greatest periods stand on the heading's line, their box clear of the drugs.
    const auto periods = joined("Fleisch 0   Milch 0").at(1);
    EXPECT_LT(periods.y - joined("Angewandte Medikamente").at(1).y, 2);
    for (const DrawCall& box : joined.t.surface.calls) {
        if (box.kind == DrawCall::FilledBox && box.y == periods.y) {
            EXPECT_LE(box.y2, text[1].y);
        }
    }

    r.flags = tag("MediSeparateZeilen", "True");
    Printed separate(r.xml());
    EXPECT_TRUE(separate("1 ml Aa,", true).empty());
    const auto first = separate("1 ml Aa");
    const auto second = separate("2,5 ml Bb [X1], Inj.");
    ASSERT_EQ(first.size() + second.size(), 4u);
    EXPECT_EQ(first[1].x, 158);
    EXPECT_DOUBLE_EQ(second[0].y - first[0].y, 4);
}

TEST(TwoHalves, PeriodsEndDatesAndDoubledDispensedRows) {
    Record r;
    r.bio = r.doubled = "True";
    r.flags = tag("WZEndeZeigen", "True");
    Drug a, b, d;
    a.fleisch = d.fleisch = "7";
    a.milch = "3";
    b.fleisch = "2";
    b.milch = "5";
    d.status = "Abgegeben";
    d.milch = "2";
    d.nichtVerdoppeln = "False";
    r.cures[0].drugs = {a, b, d};
    Printed p(r.xml());
    // Applied rows keep their periods (no "False"), the dispensed one doubles.
    EXPECT_DOUBLE_EQ(p("Fleisch 7   Milch 5").at(1).x2, 287);
    const auto ends = p("Wartezeiten enden am: Fleisch 12.03.2024 / Milch 10.03.2024");
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_DOUBLE_EQ(ends[1].x2, 287 - 19.2 - 1);
    const auto dispensed = p("Fleisch 14  /  Milch 4");
    ASSERT_EQ(dispensed.size(), 2u);
    EXPECT_DOUBLE_EQ(dispensed[0].x2, 138);
    EXPECT_GT(dispensed[0].y, ends[0].y);
}

TEST(TwoHalves, KeeperTableStandsInTheLeftHalfOnly) {
    Record r;
    r.flags = tag("BereichFuerTierhalter", "True");
    r.cures = cures(1, true);
    Printed p(r.xml());
    const double column = (128 - 12) / 5.0;
    for (const char* caption : {"Identität der Tiere", "Datum von - bis", "Menge",
                                "Unterschrift Anw.", "Wartezeit endet am"})
        EXPECT_EQ(p(caption).size(), 1u) << caption;
    const auto last = p("Wartezeit endet am").at(0);
    EXPECT_NEAR((last.x + last.x2) / 2, 10 + 4 * (column + 3) + column / 2, 1e-9);
    EXPECT_EQ(last.y, p("Anwendungsanweisung: Anweisung1").at(0).y + 16);
}

TEST(TwoHalves, DispensedBlocksStayWholeAndWithTheirTreatment) {
    Record r;
    r.flags = tag("BereichFuerTierhalter", "True");
    r.cures = cures(6, true);
    Printed p(r.xml());
    ASSERT_FALSE(p("Seite 2").empty());
    for (int i = 1; i <= 6; ++i) {
        const auto drug = p("1 ml Mittel" + std::to_string(i)).at(0);
        const auto instructions = p("Anwendungsanweisung: Anweisung" + std::to_string(i)).at(0);
        EXPECT_EQ(drug.page, instructions.page) << i;
        EXPECT_EQ(p("Beh.Nr. " + std::to_string(i)).at(0).page, drug.page) << i;
        EXPECT_LT(instructions.y2, 200) << i;
    }
}

TEST(TwoHalves, MonitoringStandsBesideTheDiagnosisOrBelowAWideOne) {
    Record r;
    r.cures[0].monitoring = "Euter";
    Printed beside(r.xml());
    // 1 left of the treatment-number column: "Beh.Nr. 1" at 9 points, + 2.
    const double end = 138 - (9 * 0.9 + 2) - 1;
    EXPECT_DOUBLE_EQ(beside("GM: Euter").at(0).x2, end);
    EXPECT_DOUBLE_EQ(beside("GM: Euter").at(0).y, beside("Mastitis").at(0).y + 0.5);

    r.cures[0].diagnose = std::string(110, 'D');
    Printed below(r.xml());
    EXPECT_DOUBLE_EQ(below("GM: Euter").at(0).x2, end);
    EXPECT_GE(below("GM: Euter").at(0).y, below(std::string(110, 'D')).at(0).y2);
}

TEST(TwoHalves, ATextTooLongForItsColumnIsNotHandledHere) {
    TestWorld t;
    Record r;
    r.cures[0].drugs[0].einheit = "Milliliter!";
    EXPECT_EQ(errorOf([&] { MediInhaltDrucken2xA5(t.context, r.xml()); }), err::kFieldTooLong);
    EXPECT_EQ(t.surface.endDocCalls, 0);
}

}  // namespace
}  // namespace lumaro::testing

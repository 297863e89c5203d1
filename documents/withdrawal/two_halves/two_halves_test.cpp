// The two-halves renderer on the fake surface. What the examples draw (the
// right half narrowed by the marker, the heading, joined drug lines) is pinned.
#include "documents/withdrawal/two_halves/two_halves.h"

#include <gtest/gtest.h>

#include "documents/withdrawal/model/test_records.h"
#include "support/errors.h"

namespace lumaro::testing {
namespace {

struct Printed {
    TestWorld t;
    bool result;
    explicit Printed(const std::string& text) : result(MediInhaltDrucken2xA5(t.context, text)) {}
    std::vector<DrawCall> operator()(const std::string& utf8) const {
        return t.surface.texts(w(utf8));
    }
};

TEST(TwoHalves, BadRecordsStopTheRunAndKeepTheRecordsBeforeThem) {
    Rec good, bad;
    bad.datum = "   ";
    bad.kundeName = "Zweiter Kunde";
    Printed p(good.xml() + bad.xml());
    EXPECT_FALSE(p.result);
    ASSERT_EQ(p.t.messages.shown.size(), 1u);
    EXPECT_EQ(p.t.messages.shown[0].text, w("Ungültiges Behandlungsdatum!"));
    EXPECT_EQ(p.t.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(p.t.surface.jobsEnded, 1);
    EXPECT_TRUE(p("Zweiter Kunde").empty());

    // A text too long for its column is not handled here: it goes up.
    TestWorld t;
    bad = good;
    bad.treatments[0].meds[0].einheit = "Milliliter!";
    EXPECT_EQ(errorOf([&] { MediInhaltDrucken2xA5(t.context, bad.xml()); }), err::kFieldTooLong);
    EXPECT_EQ(t.surface.endDocCalls, 0);
}

TEST(TwoHalves, TheLeftHalfsHeadKeepsClearOfTheFarmNumber) {
    // The left half is 128 wide; at 10 points a character is 1 unit. A farm
    // number of 40 leaves 48 for the name, cut with "..."; one of 64 leaves
    // nothing, and the name is printed whole, as on the sheets.
    Rec r;
    r.kundeName = std::string(60, 'N');
    r.lfbis = std::string(40, '9');
    r.tierarztNummer = "";
    Printed narrow(r.xml());
    const auto cut = narrow(std::string(60, 'N'));
    ASSERT_EQ(cut.size(), 1u);  // the right half's, whole
    EXPECT_GE(cut[0].x, 158);
    EXPECT_EQ(narrow(std::string(45, 'N') + "...").size(), 1u);
    // Without a vet number only the right half names the field.
    ASSERT_EQ(narrow("Tierarzt-Nr.:").size(), 1u);
    EXPECT_GT(narrow("Tierarzt-Nr.:")[0].x, 158);

    r.lfbis = std::string(64, '9');
    Printed none(r.xml());
    const auto whole = none(std::string(60, 'N'));
    ASSERT_EQ(whole.size(), 2u);
    EXPECT_EQ(whole[0].x, 10);
}

TEST(TwoHalves, AnimalsAdvanceByTheCaptionOnlyWhenTheyAreEmpty) {
    // 9 points: a line is 3.6 high; the diagnosis stands 4 below the block.
    const std::pair<std::string, double> cases[] = {
        {"", 3.6}, {"AT 4711", 3.6}, {std::string(300, 'X'), 0.0}};
    for (const auto& [animal, advance] : cases) {
        Rec r;
        r.treatments[0].patients.clear();
        if (!animal.empty())
            r.treatments[0].patients.push_back({animal, ""});
        Printed p(r.xml());
        ASSERT_EQ(p("Identität:").size(), 2u);
        EXPECT_NEAR(p("Diagnose:").at(0).y - p("Identität:")[0].y, advance + 4, 1e-9)
            << animal.size();
    }
}

TEST(TwoHalves, PagesChangeWithBlocksKeptWholeAndTheClosingBlockAfterTheFootTemplates) {
    Rec r;
    r.flags = {{"BereichFuerTierhalter", "True"}};
    r.treatments.clear();
    for (const std::string i : {"1", "2", "3", "4", "5", "6"})
        r.treatments.push_back(Beh{.nummer = i,
                                   .meds = {Med{.status = "Abgegeben",
                                                .bezeichnung = "Mittel" + i,
                                                .anweisung = "Anweisung" + i}}});
    Printed p(r.xml());
    ASSERT_FALSE(p("Seite 2").empty());
    for (int i = 1; i <= 6; ++i) {
        const auto drug = p("1 ml Mittel" + std::to_string(i)).at(0);
        const auto instructions = p("Anwendungsanweisung: Anweisung" + std::to_string(i)).at(0);
        EXPECT_EQ(drug.page, instructions.page) << i;
        EXPECT_EQ(p("Beh.Nr. " + std::to_string(i)).at(0).page, drug.page) << i;
        EXPECT_LT(instructions.y2, 200) << i;
    }

    // A foot template at 120: one treatment ends above it, three run past it,
    // and the closing block follows the foot templates to a new sheet.
    r = Rec{};
    r.templates = element("FormularDaten",
                          "<Typ>Text</Typ><oben>120</oben><links>12</links>"
                          "<Groesse>10</Groesse><Wortlaut>Praxis</Wortlaut>");
    Printed one(r.xml());
    EXPECT_EQ(one("Praxis").at(0).page, 1);
    EXPECT_EQ(one("Praxis").at(0).y, 120);
    r.treatments = {Beh{}, Beh{}, Beh{.nummer = "3"}};
    Printed three(r.xml());
    EXPECT_EQ(three("Beh.Nr. 3").at(0).page, 1);
    EXPECT_EQ(three("Praxis").at(0).page, 2);
    EXPECT_EQ(three("Unterschrift Tierarzt").at(0).page, 2);
    EXPECT_EQ(three("Seite 1").at(0).y, 202);
}

}  // namespace
}  // namespace lumaro::testing

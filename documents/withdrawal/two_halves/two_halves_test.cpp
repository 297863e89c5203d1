// The two-halves renderer on the fake surface (a character is size/10 wide,
// a line size*0.4 high). Without head templates the content starts at 35; a
// treatment with one applied drug takes about 26 units of the 200. What the
// examples draw (records as jobs of their own, joined and separate drug
// lines, the periods' heading) is pinned by their expected traces.
#include "documents/withdrawal/two_halves/two_halves.h"

#include <gtest/gtest.h>

#include <cmath>

#include "documents/withdrawal/model/test_records.h"
#include "documents/withdrawal/two_halves/half_sheet.h"
#include "support/errors.h"

namespace lumaro::testing {
namespace {

// A FormularDaten "Text" entry in 10 points (UTF-8, as Rec::templates).
std::string textEntry(int oben, int links, const std::string& wortlaut) {
    return element("FormularDaten", element("Typ", "Text") + element("oben", std::to_string(oben)) +
                                        element("links", std::to_string(links)) +
                                        element("Groesse", "10") + element("Wortlaut", wortlaut));
}

// Text calls whose text equals (or, with prefix, starts with) the UTF-8 text.
std::vector<DrawCall> texts(const std::vector<DrawCall>& calls, const std::string& utf8,
                            bool prefix = false) {
    std::vector<DrawCall> out;
    const std::string t = w(utf8);
    for (const DrawCall& c : calls) {
        if (c.kind == DrawCall::Text && (prefix ? c.text.rfind(t, 0) == 0 : c.text == t))
            out.push_back(c);
    }
    return out;
}

bool hasLine(const std::vector<DrawCall>& calls, double x1, double x2, double y) {
    for (const DrawCall& c : calls) {
        if (c.kind == DrawCall::Line && std::abs(c.x - x1) < 1e-9 && std::abs(c.x2 - x2) < 1e-9 &&
            c.y == y)
            return true;
    }
    return false;
}

// n treatments numbered from 1, with one applied drug, or with one dispensed
// drug "Mitteln" and its instructions "Anweisungn".
std::vector<Beh> cures(int n, bool dispensed = false) {
    std::vector<Beh> out(n);
    for (int i = 1; i <= n; ++i) {
        out[i - 1].nummer = std::to_string(i);
        if (dispensed) {
            Med& d = out[i - 1].meds[0];
            d.status = "Abgegeben";
            d.bezeichnung = "Mittel" + std::to_string(i);
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
    Rec good, bad;
    bad.datum = "   ";
    bad.kundeName = "Zweiter Kunde";
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
    Rec r;
    r.kundeName = std::string(60, 'N');
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
        Rec r;
        r.treatments[0].patients.clear();
        if (!c.animal.empty())
            r.treatments[0].patients.push_back({c.animal, ""});
        Printed p(r.xml());
        const auto caption = p("Identität:");
        const auto diagnosis = p("Diagnose:");
        ASSERT_EQ(caption.size(), 2u);
        ASSERT_EQ(diagnosis.size(), 2u);
        EXPECT_NEAR(diagnosis[0].y - caption[0].y, c.advance + 4, 1e-9) << c.animal.size();
    }
}

TEST(TwoHalves, MarkerNarrowsTheRightHalfOnTheFirstSheetOnly) {
    Rec r;
    r.templates = "<FormularDaten><DatenTyp>Seitenwechsel in der Mitte</DatenTyp></FormularDaten>";
    r.flags = {{"LaufendeNummerZeigen", "True"}};
    r.treatments = cures(7);
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

TEST(TwoHalves, WithoutAVetNumberOnlyTheRightHalfNamesTheField) {
    Rec r;
    r.tierarztNummer = "";
    Printed p(r.xml());
    ASSERT_EQ(p("Tierarzt-Nr.:").size(), 1u);
    EXPECT_GT(p("Tierarzt-Nr.:")[0].x, 158);
}

TEST(TwoHalves, ClosingBlockFollowsTheFootTemplatesToANewSheet) {
    Rec r;
    r.templates = textEntry(120, 12, "Praxis am Hauptplatz");
    Printed one(r.xml());
    EXPECT_EQ(one("Praxis am Hauptplatz").at(0).page, 1);
    EXPECT_EQ(one("Praxis am Hauptplatz").at(0).y, 120);
    // Three treatments run past 120: the foot templates would stand on them.
    r.treatments = cures(3);
    Printed three(r.xml());
    EXPECT_EQ(three("Beh.Nr. 3").at(0).page, 1);
    EXPECT_EQ(three("Praxis am Hauptplatz").at(0).page, 2);
    EXPECT_EQ(three("Unterschrift Tierarzt").at(0).page, 2);
    EXPECT_EQ(three("Seite 1").at(0).y, 202);
}

TEST(TwoHalves, DispensedBlocksStayWholeAndWithTheirTreatment) {
    Rec r;
    r.flags = {{"BereichFuerTierhalter", "True"}};
    r.treatments = cures(6, true);
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

TEST(TwoHalves, ATextTooLongForItsColumnIsNotHandledHere) {
    TestWorld t;
    Rec r;
    r.treatments[0].meds[0].einheit = "Milliliter!";
    EXPECT_EQ(errorOf([&] { MediInhaltDrucken2xA5(t.context, r.xml()); }), err::kFieldTooLong);
    EXPECT_EQ(t.surface.endDocCalls, 0);
}

TEST(HalfSheet, FootAndSheetChangeWithTheNarrowRightHalf) {
    TestWorld t;
    Kopf2xA5Drucken(t.context, "", "", "", true);
    t.surface.setOrientation(1);  // a later sheet keeps the job's orientation
    t.surface.calls.clear();
    Fuss2xA5Drucken(t.context, 1, "1234567");
    // The foot of the first sheet keeps its narrow right half.
    EXPECT_TRUE(hasLine(t.surface.calls, 10, 138, 200));
    EXPECT_TRUE(hasLine(t.surface.calls, 148, 272, 200));
    const auto foot = texts(t.surface.calls, "Seite 1");
    ASSERT_EQ(foot.size(), 2u);
    EXPECT_EQ(foot[0].y, 202);
    EXPECT_DOUBLE_EQ(foot[1].x2, 272);

    t.surface.calls.clear();
    double y = 150;
    EXPECT_EQ(Seitenwechsel2xA5(t.context, 1, "1234567", y), 2);
    EXPECT_EQ(y, 12);
    EXPECT_EQ(t.surface.orientation(), 1);
    EXPECT_EQ(t.surface.calls.at(0).kind, DrawCall::NewPage);
    const auto pages = texts(t.surface.calls, "Seite 2");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_DOUBLE_EQ(pages[1].x2, 287) << "the later sheet has the whole right half";
    EXPECT_TRUE(hasLine(t.surface.calls, 10, 138, 12));
    EXPECT_TRUE(hasLine(t.surface.calls, 158, 287, 12));
}

}  // namespace
}  // namespace lumaro::testing

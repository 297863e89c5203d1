#include "documents/insemination/insemination.h"

#include <gtest/gtest.h>

#include "documents/insemination/test_support.h"
#include "tests/fakes/fakes.h"

namespace lumaro::testing {
namespace {

const std::string kValues =
    "<Besamung><Hofname>Moarhof</Hofname><Datum>05.12.2026</Datum>"
    "<SterilitaetsBehandlung>nein</SterilitaetsBehandlung><NameDerKuh>Resi &amp; Co</NameDerKuh>"
    "<Samenpreis>12,50</Samenpreis><Grundpreis>30</Grundpreis></Besamung>";

std::string valueEntry(const std::string& datenTyp,
                       const std::string& wortlaut = "<Wortlaut></Wortlaut>") {
    return textEntry("<oben>10</oben><links>20</links>" + wortlaut + "<DatenTyp>" + datenTyp +
                     "</DatenTyp>");
}

const std::string kCostEntry = textEntry(
    "<oben>200</oben><links>20</links><Groesse>10</Groesse><Ausrichtung>0</Ausrichtung>"
    "<Wortlaut></Wortlaut><DatenTyp>Aufstellung der Kosten</DatenTyp>");

CertificateTemplate build(RecordedMessages& m, const std::string& data) {
    return buildCertificateTemplate(m, Regional{}, data);
}

TEST(CertificateLayoutTest, LabelledEntriesGetTheirValuesAsTheyStand) {
    RecordedMessages m;
    const auto form = build(m, kValues + valueEntry("Hofname") + valueEntry("Datum der Besamung") +
                                   valueEntry(w("Sterilitätsbehandlung ja/nein")) +
                                   valueEntry("Name Kuh/Kalbin") + valueEntry("Kunden-ID"));
    const auto rows = rowsOf(m, form.vorlage);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].wortlaut, "Moarhof");
    EXPECT_EQ(rows[1].wortlaut, "05.12.2026");
    EXPECT_EQ(rows[2].wortlaut, "nein");
    EXPECT_EQ(rows[3].wortlaut, "Resi &amp; Co");
    EXPECT_EQ(rows[4].wortlaut, "");  // KundenID is not in the data
    EXPECT_TRUE(form.entriesFound);
}

TEST(CertificateLayoutTest, EntriesThatDoNotAskForAValuePassUnchanged) {
    RecordedMessages m;
    const std::vector<std::string> entries = {
        valueEntry("Hofname", "<Wortlaut>Hof:</Wortlaut>"),  // a text of its own
        valueEntry("Hofname", "<Wortlaut/>"),                // not the exact empty element
        valueEntry("Hofname", ""),                           // no Wortlaut at all
        valueEntry("hofname"),                               // labels are case-sensitive
        valueEntry("Hofname ", "<Wortlaut></Wortlaut>"),     // nor trimmed
        valueEntry("Unbekannt"),
        valueEntry(""),
        valueEntry("Aufstellung der Kosten", "<Wortlaut>Kosten</Wortlaut>"),
        "<FormularDaten><Typ>Linie</Typ><oben>5</oben><Breite>190</Breite></FormularDaten>",
    };
    std::string data = kValues, expected;
    for (const auto& e : entries) {
        data += "\r\n" + e;
        expected += e;  // no separator between entries
    }
    EXPECT_EQ(build(m, data).vorlage, expected);
}

TEST(CertificateLayoutTest, TwoCostListsFollowEachOtherAndTotalTheirOwnAmounts) {
    RecordedMessages m;
    const auto form = build(m, kValues + kCostEntry + valueEntry("Hofname") + kCostEntry);
    const auto rows = rowsOf(m, form.vorlage);
    // 7 rows per list (two items, rule, total), the Hofname entry between.
    ASSERT_EQ(rows.size(), 15u);
    EXPECT_EQ(rows[6].wortlaut, w("42,50 €"));
    EXPECT_EQ(rows[7].wortlaut, "Moarhof");
    // The second list goes on below the first: its advance starts at 13,
    // though its first item keeps the entry's own place.
    EXPECT_EQ(rows[8].wortlaut, "Grundtarif");
    EXPECT_EQ(rows[8].oben, "200");
    EXPECT_EQ(rows[10].wortlaut, "Samenpreis");
    EXPECT_EQ(rows[10].oben, "218");
    EXPECT_EQ(rows[12].oben, "224");
    EXPECT_EQ(rows[13].oben, "226");
    EXPECT_EQ(rows[14].wortlaut, w("42,50 €"));
}

TEST(CertificateLayoutTest, AValueRepeatedBeyondTheLimitIsRefused) {
    RecordedMessages m;
    const std::string big = "<Sonstiges>" + std::string(1000, 'x') + "</Sonstiges>";
    std::string data = big;
    for (int i = 0; i < 100; ++i)
        data += valueEntry("Sonstiges");
    EXPECT_NO_THROW(buildCertificateTemplate(m, Regional{}, data, 200000));
    expectError(7, [&] { buildCertificateTemplate(m, Regional{}, data, 50000); });
}

TEST(CertificateOptionsTest, CopiesAndSecondCopy) {
    RecordedMessages m;
    auto options = [&](const std::string& data) {
        return readCertificateOptions(m, Regional{}, data);
    };
    // Halves go to the even neighbour; 0 and no count mean one copy.
    const std::pair<const char*, int> copies[] = {{"", 1},    {"0", 1},   {"3", 3},
                                                  {"2,5", 2}, {"3,5", 4}, {"-1", -1}};
    for (const auto& [count, expected] : copies)
        EXPECT_EQ(options(*count ? "<Anzahl>" + std::string(count) + "</Anzahl>" : "").copies,
                  expected)
            << count;
    EXPECT_EQ(options("").secondOffset, 0);
    EXPECT_EQ(options("<DoppeltAufA4>Ja</DoppeltAufA4>").secondOffset, 150);
    for (const char* no : {"Nein", "ja", " Ja"})
        EXPECT_EQ(options("<DoppeltAufA4>" + std::string(no) + "</DoppeltAufA4>").secondOffset, 0)
            << no;
    expectError(6, [&] { options("<Anzahl>32768</Anzahl>"); });
}

class CertificatePrintTest : public ::testing::Test {
  protected:
    const std::string kForm = valueEntry("Titel", "<Wortlaut>Besamungsschein</Wortlaut>") +
                              valueEntry("Hofname") + kCostEntry;
    TestWorld world;
};

TEST_F(CertificatePrintTest, NegativeCountPrintsNothingOnAPortraitMillimetrePage) {
    // A landscape page with a bold font left behind by an earlier job.
    world.surface.setOrientation(2);
    world.surface.setScaleWidth(297);
    world.surface.setFontBold(true);
    world.surface.setFontName("Arial");
    EXPECT_TRUE(BesamungsscheinDrucken(world.context, "<Anzahl>-1</Anzahl>" + kForm));
    EXPECT_EQ(world.surface.calls.size(), 0u);
    EXPECT_EQ(world.surface.endDocCalls, 1);
    EXPECT_TRUE(world.messages.shown.empty());
    EXPECT_EQ(world.surface.orientation(), 1);
    EXPECT_EQ(world.surface.scaleWidth(), 210);
    EXPECT_EQ(world.surface.fontName(), "Veranda");
    EXPECT_FALSE(world.surface.fontBold());
}

TEST_F(CertificatePrintTest, AnOverflowingLayoutGoesUpBeforeAnythingIsDrawn) {
    const std::string tooLarge = textEntry(
        "<oben>200</oben><links>20</links><Groesse>469</Groesse><Wortlaut></Wortlaut>"
        "<DatenTyp>Aufstellung der Kosten</DatenTyp>");
    expectError(6, [&] { BesamungsscheinDrucken(world.context, kValues + kForm + tooLarge); });
    EXPECT_EQ(world.surface.calls.size(), 0u);
    EXPECT_EQ(world.surface.endDocCalls, 0);
}

}  // namespace
}  // namespace lumaro::testing

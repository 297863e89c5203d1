// The certificate's layout, copies and cost lists. What the examples draw (the
// labelled values, one cost list with its subsidy, two copies on a sheet) is
// pinned by their expected traces.
#include "documents/insemination/insemination.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>

#include "documents/insemination/certificate_data.h"
#include "documents/insemination/cost_list.h"
#include "documents/insemination/text_replace.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"
#include "xml/xml_tags.h"

namespace lumaro::testing {
namespace {

struct Row {
    std::string oben, wortlaut;
};

// A finished template read back into its entries.
std::vector<Row> rowsOf(Messages& m, const std::string& vorlage) {
    std::vector<Row> rows;
    std::string rest = vorlage, entry;
    while (XMLTagAusschneiden(m, rest, "FormularDaten", entry, rest, true))
        rows.push_back({XMLWertHolen(m, entry, "oben"), XMLWertHolen(m, entry, "Wortlaut")});
    return rows;
}

std::string textEntry(const std::string& fields) {
    return "<FormularDaten><FormularTyp>Besamungsschein</FormularTyp><Typ>Text</Typ>" + fields +
           "</FormularDaten>";
}

std::string valueEntry(const std::string& datenTyp) {
    return textEntry("<oben>10</oben><Wortlaut></Wortlaut><DatenTyp>" + datenTyp + "</DatenTyp>");
}

std::string costEntry(const std::string& groesse = "<Groesse>10</Groesse>") {
    return textEntry("<oben>200</oben><links>20</links>" + groesse +
                     "<Ausrichtung>0</Ausrichtung><Wortlaut></Wortlaut>"
                     "<DatenTyp>Aufstellung der Kosten</DatenTyp>");
}

const std::string kValues =
    "<Besamung><Hofname>Moarhof</Hofname><Samenpreis>12,50</Samenpreis><Grundpreis>30</Grundpreis>"
    "</Besamung>";

std::vector<Row> costList(const std::map<std::string, std::string>& values,
                          const std::string& entry = costEntry()) {
    RecordedMessages m;
    double advance = 0;
    const ValueLookup lookup = [&](const std::string& element) {
        const auto it = values.find(element);
        return it == values.end() ? std::string() : it->second;
    };
    return rowsOf(m, expandCostList(m, Regional{}, entry, lookup, advance, 1 << 20));
}

// A list of every item with a positive subsidy is drawn by the examples and
// pinned by their traces.
TEST(CostList, PositionsAmountsAndWhatCannotBeRead) {
    const auto negative = costList({{"Grundpreis", "30"},
                                    {"Wochenendzuschlag", w("8,00 €")},
                                    {"GemeindefoerderungGrundtarif", "-5"}});
    ASSERT_EQ(negative.size(), 9u);
    EXPECT_EQ(negative[3].wortlaut, w("8,00 €"));
    EXPECT_EQ(negative[5].wortlaut, w("-5,00 €")) << "a negative subsidy is taken as it stands";
    EXPECT_EQ(negative[8].wortlaut, w("33,00 €"));
    const auto small = costList({{"Samenpreis", "7"}}, costEntry("<Groesse>9</Groesse>"));
    ASSERT_EQ(small.size(), 5u);
    EXPECT_EQ(small[3].oben, "206,6") << "200 + 1.4 * 4 + 1, with the regional separator";
    const auto empty = costList({});
    ASSERT_EQ(empty.size(), 3u) << "no amounts still give rule and zero total";
    EXPECT_EQ(empty[0].oben, "201");
    EXPECT_EQ(empty[2].wortlaut, w("0,00 €"));
    EXPECT_EQ(costColumn(468).width, 2978);
    EXPECT_EQ(errorOf([] { costColumn(469); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { costColumn(-469); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { costList({{"Samenpreis", "--5"}}); }), err::kTypeMismatch);
    EXPECT_EQ(errorOf([] { costList({}, costEntry("<Groesse>99999</Groesse>")); }), err::kOverflow);
}

TEST(CertificateLayout, TwoCostListsFollowEachOtherAndTotalTheirOwnAmounts) {
    RecordedMessages m;
    const auto form = buildCertificateTemplate(
        m, Regional{}, kValues + costEntry() + valueEntry("Hofname") + costEntry());
    const auto rows = rowsOf(m, form.vorlage);
    // 7 rows per list (two items, rule, total), the Hofname entry between.
    ASSERT_EQ(rows.size(), 15u);
    EXPECT_EQ(rows[6].wortlaut, w("42,50 €"));
    EXPECT_EQ(rows[7].wortlaut, "Moarhof");
    // The second list goes on below the first: its advance starts at 13,
    // though its first item keeps the entry's own place.
    const std::pair<std::size_t, const char*> places[] = {
        {8, "200"}, {10, "218"}, {12, "224"}, {13, "226"}};
    for (const auto& [row, oben] : places)
        EXPECT_EQ(rows[row].oben, oben) << row;
    EXPECT_EQ(rows[14].wortlaut, w("42,50 €"));
}

TEST(CertificateLayout, AValueRepeatedBeyondTheLimitIsRefused) {
    RecordedMessages m;
    std::string data = "<Sonstiges>" + std::string(1000, 'x') + "</Sonstiges>";
    for (int i = 0; i < 100; ++i)
        data += valueEntry("Sonstiges");
    EXPECT_NO_THROW(buildCertificateTemplate(m, Regional{}, data, 200000));
    EXPECT_EQ(errorOf([&] { buildCertificateTemplate(m, Regional{}, data, 50000); }),
              err::kOutOfMemory);
    // replaceAll refuses before it builds, and never rescans what it put in.
    EXPECT_EQ(replaceAll("aaa", "aa", "b", 100), "ba");
    EXPECT_EQ(replaceAll("xx", "x", "xx", 100), "xxxx");
    EXPECT_EQ(replaceAll("ab", "b", "cd", 3), "acd");
    EXPECT_EQ(errorOf([] { replaceAll("abb", "b", "cd", 4); }), err::kOutOfMemory);
}

TEST(CertificateOptions, CopiesAndSecondCopy) {
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
    EXPECT_EQ(options("<DoppeltAufA4>ja</DoppeltAufA4>").secondOffset, 0) << "only Ja exactly";
    EXPECT_EQ(errorOf([&] { options("<Anzahl>32768</Anzahl>"); }), err::kOverflow);
}

TEST(CertificatePrint, NothingIsDrawnForNoCopyOrALayoutThatOverflows) {
    TestWorld none;
    EXPECT_TRUE(BesamungsscheinDrucken(none.context, "<Anzahl>-1</Anzahl>" + costEntry()));
    EXPECT_EQ(none.surface.calls.size(), 0u);
    EXPECT_EQ(none.surface.endDocCalls, 1);

    TestWorld world;
    EXPECT_EQ(errorOf([&] {
                  BesamungsscheinDrucken(
                      world.context, kValues + costEntry() + costEntry("<Groesse>469</Groesse>"));
              }),
              err::kOverflow);
    EXPECT_EQ(world.surface.calls.size(), 0u);
    EXPECT_EQ(world.surface.endDocCalls, 0);
}

// Cutting with XMLTagAusschneiden and looking values up in what remains is
// what the certificate's lookups must equal, whatever the text: random texts
// of tags, fragments of tags that a cut can glue together, and filler.
TEST(CertificateData, LookupsEqualSearchingTheRemainingText) {
    std::vector<std::string> tokens;
    std::istringstream list(
        "<FormularDaten>|</FormularDaten>|<Hofname>|</Hofname>|<Datum>|</Datum>|x|yz| |  |\r\n|"
        "<Hof|name>|</Hof|<Formular|Daten>|<|>|<Wortlaut></Wortlaut>");
    for (std::string token; std::getline(list, token, '|');)
        tokens.push_back(token);
    std::mt19937 random(20261205);
    std::uniform_int_distribution<std::size_t> pick(0, tokens.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    int cutsChecked = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n)
            text += tokens[pick(random)];
        RecordedMessages m;
        CertificateData data(m, text);
        std::string rest = text, expected, entry;
        for (int step = 0;; ++step) {
            for (const char* name : {"Hofname", "Datum"})
                ASSERT_EQ(data.value(name), XMLWertHolen(m, rest, name))
                    << "text: " << text << "\nafter cuts: " << step << "\nname: " << name;
            const bool more = XMLTagAusschneiden(m, rest, "FormularDaten", expected, rest, true);
            ASSERT_EQ(data.nextEntry(entry), more) << text;
            if (!more)
                break;
            ASSERT_EQ(entry, expected) << text;
            ++cutsChecked;
        }
    }
    EXPECT_GT(cutsChecked, 1000);
}

}  // namespace
}  // namespace lumaro::testing

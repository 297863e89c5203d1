#include "documents/insemination/cost_list.h"

#include <gtest/gtest.h>

#include <map>

#include "documents/insemination/test_support.h"
#include "tests/fakes/fakes.h"

namespace lumaro::testing {
namespace {

std::string pattern(const std::string& groesse = "<Groesse>10</Groesse>",
                    const std::string& links = "<links>20</links>") {
    return textEntry("<oben>200</oben>" + links + groesse +
                     "<Ausrichtung>0</Ausrichtung><Wortlaut></Wortlaut>"
                     "<DatenTyp>Aufstellung der Kosten</DatenTyp>");
}

class CostListTest : public ::testing::Test {
  protected:
    std::vector<Row> expand(const std::map<std::string, std::string>& values,
                            const std::string& entry = pattern()) {
        const ValueLookup lookup = [&](const std::string& element) {
            const auto it = values.find(element);
            return it == values.end() ? std::string() : it->second;
        };
        text = expandCostList(messages, Regional{}, entry, lookup, advance, 1 << 20);
        return rowsOf(messages, text);
    }

    RecordedMessages messages;
    double advance = 0;
    std::string text;
};

TEST(CostColumnTest, WidthAndStepFollowTheFontSizeWithinSixteenBits) {
    const std::vector<std::pair<int, int>> expected = {{57, 4}, {64, 5}, {70, 5}, {76, 5}};
    for (std::int16_t size = 9; size <= 12; ++size) {
        EXPECT_EQ(costColumn(size).width, expected[size - 9].first) << size;
        EXPECT_EQ(costColumn(size).step, expected[size - 9].second) << size;
    }
    EXPECT_EQ(costColumn(468).width, 2978);
    expectError(6, [] { costColumn(469); });
    expectError(6, [] { costColumn(-469); });
}

TEST_F(CostListTest, FractionalPositionsAndAnEmptyList) {
    const auto rows = expand({{"Samenpreis", "7"}}, pattern("<Groesse>9</Groesse>"));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[3].oben, "206,6") << "200 + 1.4 * 4 + 1, with the regional separator";

    advance = 0;  // a list of its own, not below the first
    const auto empty = expand({});
    ASSERT_EQ(empty.size(), 3u) << "no amounts still give rule and zero total";
    EXPECT_EQ(empty[0].oben, "201");
    EXPECT_EQ(empty[2].wortlaut, w("0,00 €"));
}

TEST_F(CostListTest, AllItemsInOrderAndTheSubsidyLowersTheTotal) {
    const auto rows = expand({{"Grundpreis", "30"},
                              {"Samenpreis", "12,5"},
                              {"Wochenendzuschlag", w("8,00 €")},
                              {"GemeindefoerderungGrundtarif", "5"}});
    ASSERT_EQ(rows.size(), 11u);
    const std::vector<std::string> labels = {"Grundtarif", "Samenpreis", "Wochenendzuschlag",
                                             w("Gemeindeförderung")};
    const std::vector<std::string> amounts = {w("30,00 €"), w("12,50 €"), w("8,00 €"),
                                              w("-5,00 €")};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(rows[2 * i].wortlaut, labels[i]);
        EXPECT_EQ(rows[2 * i + 1].wortlaut, amounts[i]);
        EXPECT_EQ(rows[2 * i + 1].oben, std::to_string(200 + 5 * i));
    }
    EXPECT_EQ(rows[8].oben, "221");
    EXPECT_EQ(rows[10].wortlaut, w("45,50 €"));

    // A subsidy the host already sent negative is taken as it stands.
    const auto negative = expand({{"Grundpreis", "30"}, {"GemeindefoerderungGrundtarif", "-5"}});
    EXPECT_EQ(negative[3].wortlaut, w("-5,00 €"));
    EXPECT_EQ(negative[6].wortlaut, w("25,00 €"));
}

TEST_F(CostListTest, PatternsWithoutSizeOrPlainNumbersKeepWhatTheyCannotMatch) {
    const auto unsized = expand({{"Grundpreis", "30"}, {"Samenpreis", "10"}}, pattern(""));
    ASSERT_EQ(unsized.size(), 7u);
    EXPECT_EQ(unsized[3].oben, "200");   // all items on one line
    EXPECT_EQ(unsized[1].links, "190");  // amounts end at links
    EXPECT_EQ(unsized[4].breite, "0");

    const auto padded =
        expand({{"Samenpreis", "10"}}, pattern("<Groesse>10</Groesse>", "<links> 20</links>"));
    EXPECT_EQ(padded[1].links, " 20");
    EXPECT_EQ(padded[2].links, "20");  // the rule is built from the number read

    std::string unaligned = pattern();
    unaligned.erase(unaligned.find("<Ausrichtung>0</Ausrichtung>"), 28);
    EXPECT_EQ(expand({{"Samenpreis", "10"}}, unaligned)[1].ausrichtung, "");
}

TEST_F(CostListTest, UnreadableAmountsAndOutOfRangePositionsAreErrors) {
    expectError(13, [&] { expand({{"Samenpreis", "--5"}}); });
    expectError(6, [&] {
        expand({{"Samenpreis", "5"}}, pattern("<Groesse>10</Groesse>", "<links>32750</links>"));
    });
    expectError(6, [&] { expand({}, pattern("<Groesse>99999</Groesse>")); });
}

}  // namespace
}  // namespace lumaro::testing

#include "documents/insemination/cost_list.h"

#include <gtest/gtest.h>

#include <map>

#include "documents/insemination/rows_test_support.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::testing {
namespace {

constexpr std::size_t kNoLimit = std::size_t{1} << 30;

std::string pattern(const std::string& groesse = "<Groesse>10</Groesse>",
                    const std::string& links = "<links>20</links>") {
    return textEntry("<oben>200</oben>" + links + groesse +
                     "<Ausrichtung>0</Ausrichtung><Wortlaut></Wortlaut>"
                     "<DatenTyp>Aufstellung der Kosten</DatenTyp>");
}

class CostListTest : public ::testing::Test {
  protected:
    std::vector<Row> expand(const std::map<std::string, std::string>& values,
                            const std::string& entry) {
        const ValueLookup lookup = [&](const std::string& element) {
            const auto it = values.find(element);
            return it == values.end() ? std::string() : it->second;
        };
        text = expandCostList(messages, Regional{}, entry, lookup, advance, kNoLimit);
        return rowsOf(messages, text);
    }
    std::vector<Row> expand(const std::map<std::string, std::string>& values) {
        return expand(values, pattern());
    }

    RecordedMessages messages;
    double advance = 0;
    std::string text;
};

TEST(CostColumnTest, WidthAndStepFollowTheFontSize) {
    EXPECT_EQ(costColumn(9).width, 57);
    EXPECT_EQ(costColumn(9).step, 4);
    EXPECT_EQ(costColumn(10).width, 64);
    EXPECT_EQ(costColumn(10).step, 5);
    EXPECT_EQ(costColumn(11).width, 70);
    EXPECT_EQ(costColumn(11).step, 5);
    EXPECT_EQ(costColumn(12).width, 76);
    EXPECT_EQ(costColumn(12).step, 5);
    EXPECT_EQ(costColumn(0).width, 0);
    EXPECT_EQ(costColumn(0).step, 0);
}

TEST(CostColumnTest, SizesBeyondTheSixteenBitProductOverflow) {
    EXPECT_EQ(costColumn(468).width, 2978);
    for (std::int16_t size : {469, -469}) {
        try {
            costColumn(size);
            FAIL() << "no error for " << size;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 6);
        }
    }
}

TEST_F(CostListTest, OnlySemenPriceStandsAtTheTopWithRuleAndTotalBelow) {
    const auto rows = expand({{"Samenpreis", "12,50"}});
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].wortlaut, "Samenpreis");
    EXPECT_EQ(rows[0].oben, "200");
    EXPECT_EQ(rows[0].links, "20");
    EXPECT_EQ(rows[0].ausrichtung, "0");
    EXPECT_EQ(rows[1].wortlaut, w("12,50 €"));
    EXPECT_EQ(rows[1].oben, "200");
    EXPECT_EQ(rows[1].links, "126");  // ends at 20 + 64 on the 210-unit page
    EXPECT_EQ(rows[1].ausrichtung, "1");
    // The rule: one step and one unit below the rows.
    EXPECT_EQ(rows[2].typ, "Linie");
    EXPECT_EQ(rows[2].oben, "206");
    EXPECT_EQ(rows[2].links, "20");
    EXPECT_EQ(rows[2].breite, "64");
    EXPECT_EQ(rows[3].wortlaut, "Betrag");
    EXPECT_EQ(rows[3].oben, "208");  // 200 + 1.4 * 5 + 1
    EXPECT_EQ(rows[4].wortlaut, w("12,50 €"));
    EXPECT_EQ(rows[4].oben, "208");
    EXPECT_EQ(rows[4].links, "126");
    EXPECT_DOUBLE_EQ(advance, 8);
    // The rows are texts of the form now, no longer the cost list.
    EXPECT_EQ(text.find("Aufstellung der Kosten"), std::string::npos);
    EXPECT_EQ(text.substr(0, 2), "\r\n");
}

TEST_F(CostListTest, FractionalPositionsUseTheRegionalDecimalSeparator) {
    const auto rows = expand({{"Samenpreis", "7"}}, pattern("<Groesse>9</Groesse>"));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2].oben, "205");    // 200 + 4 + 1
    EXPECT_EQ(rows[3].oben, "206,6");  // 200 + 1.4 * 4 + 1
    EXPECT_EQ(rows[2].breite, "57");
    EXPECT_EQ(rows[4].links, "133");
}

TEST_F(CostListTest, NoAmountsStillGiveRuleAndZeroTotal) {
    const auto rows = expand({});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].typ, "Linie");
    EXPECT_EQ(rows[0].oben, "201");
    EXPECT_EQ(rows[1].wortlaut, "Betrag");
    EXPECT_EQ(rows[1].oben, "203");
    EXPECT_EQ(rows[2].wortlaut, w("0,00 €"));
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
    const std::vector<std::string> tops = {"200", "205", "210", "215"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(rows[2 * i].wortlaut, labels[i]);
        EXPECT_EQ(rows[2 * i + 1].wortlaut, amounts[i]);
        EXPECT_EQ(rows[2 * i].oben, tops[i]);
        EXPECT_EQ(rows[2 * i + 1].oben, tops[i]);
    }
    EXPECT_EQ(rows[8].oben, "221");
    EXPECT_EQ(rows[9].oben, "223");
    EXPECT_EQ(rows[10].wortlaut, w("45,50 €"));
}

TEST_F(CostListTest, ANegativeSubsidyIsTakenAsItStands) {
    const auto rows = expand({{"Grundpreis", "30"}, {"GemeindefoerderungGrundtarif", "-5"}});
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[3].wortlaut, w("-5,00 €"));
    EXPECT_EQ(rows[6].wortlaut, w("25,00 €"));
}

TEST_F(CostListTest, TheFirstItemKeepsItsPlaceWhenAnEarlierListMovedTheAdvance) {
    advance = 8;
    const auto rows = expand({{"Grundpreis", "30"}, {"Samenpreis", "10"}});
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0].oben, "200");
    EXPECT_EQ(rows[1].oben, "200");
    EXPECT_EQ(rows[2].oben, "213");
    EXPECT_EQ(rows[4].oben, "219");
    EXPECT_EQ(rows[6].wortlaut, w("40,00 €"));
}

TEST_F(CostListTest, WithoutSizeAllRowsShareOneLineAndAmountsEndAtLinks) {
    const auto rows = expand({{"Grundpreis", "30"}, {"Samenpreis", "10"}}, pattern(""));
    ASSERT_EQ(rows.size(), 7u);
    for (const auto& row : rows)
        EXPECT_TRUE(row.oben == "200" || row.oben == "201") << row.oben;
    EXPECT_EQ(rows[1].links, "190");
    EXPECT_EQ(rows[4].breite, "0");
}

TEST_F(CostListTest, PositionsNotWrittenAsPlainNumbersStayAsWritten) {
    const auto rows =
        expand({{"Samenpreis", "10"}}, pattern("<Groesse>10</Groesse>", "<links> 20</links>"));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1].links, " 20");
    EXPECT_EQ(rows[2].links, "20");  // the rule is built from the number read

    std::string noAlignment = pattern();
    noAlignment.erase(noAlignment.find("<Ausrichtung>0</Ausrichtung>"),
                      std::string("<Ausrichtung>0</Ausrichtung>").size());
    const auto rows2 = expand({{"Samenpreis", "10"}}, noAlignment);
    EXPECT_EQ(rows2[1].ausrichtung, "");
}

TEST_F(CostListTest, UnreadableAmountsAndOutOfRangePositionsAreErrors) {
    try {
        expand({{"Samenpreis", "--5"}});
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 13);
    }
    try {
        expand({{"Samenpreis", "5"}}, pattern("<Groesse>10</Groesse>", "<links>32750</links>"));
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    try {
        expand({}, pattern("<Groesse>99999</Groesse>"));
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

}  // namespace
}  // namespace lumaro::testing

#include "documents/withdrawal/model/withdrawal_model.h"

#include <gtest/gtest.h>

#include "documents/withdrawal/model/calendar_day.h"
#include "documents/withdrawal/model/test_records.h"
#include "support/errors.h"
#include "xml/xml_tags.h"

namespace lumaro {
namespace {

using testing::Beh;
using testing::errorOf;
using testing::Med;
using testing::Rec;
using testing::w;

class WithdrawalModel : public ::testing::Test {
  protected:
    testing::RecordedMessages messages;
    Regional german;

    WithdrawalRecord record(const std::string& xml) {
        XmlCutter records(messages, xml);
        std::string text;
        EXPECT_TRUE(records.next(kWartezeitenzettel, text, true));
        return readRecord(messages, text);
    }
    Treatment treatment(const Beh& b) { return readTreatment(messages, german, b.xml()); }
};

TEST_F(WithdrawalModel, FlagsCountOnlyWhenExactlyTrue) {
    Rec rec;
    rec.flags = {{"WZEndeZeigen", "true"},
                 {"BereichFuerTierhalter", "True "},
                 {"KurzeUeberschrift", "1"},
                 {"NurObereHaelfte", "True"},
                 {"A4NichtFuerTierarzt", "True"}};
    const WithdrawalRecord r = record(rec.xml());
    EXPECT_FALSE(r.WZEndeZeigen || r.BereichFuerTierhalter || r.KurzeUeberschrift);
    EXPECT_TRUE(r.NurObereHaelfte);
    EXPECT_EQ(copyCount(r), 1);
    // Bio too: "true" is no organic farm, its periods are not taken as doubled.
    EXPECT_FALSE(record(Rec{.bio = "true", .verdoppelt = "True"}.xml()).alreadyDoubled);
    EXPECT_EQ(organicNotice(record(Rec{.bio = "true"}.xml())), "");
}

// The organic notice, the date's caption, joined animals, drug lines and the
// periods (doubled: two days at least, dispensed rows too; not doubled without
// the tag or on other farms; dispensed rows left out) are pinned by the traces.
TEST_F(WithdrawalModel, GreatestAppliedPeriods) {
    auto expect = [&](const char* name, bool alreadyDoubled, std::vector<Med> meds, double meat,
                      double milk) {
        SCOPED_TRACE(name);
        Beh b;
        b.meds = std::move(meds);
        const Periods p = greatestAppliedPeriods(treatment(b).medications, alreadyDoubled);
        EXPECT_DOUBLE_EQ(p.meat, meat);
        EXPECT_DOUBLE_EQ(p.milk, milk);
    };
    expect("only False exactly doubles", true,
           {Med{.fleisch = "4", .milch = "3", .nichtVerdoppeln = "false"}}, 4, 3);
    expect("doubled and plain rows each on their own", true,
           {Med{.fleisch = "10", .milch = "1"},
            Med{.fleisch = "6", .milch = "0", .nichtVerdoppeln = "False"},
            Med{.fleisch = "2", .milch = "4,5"}},
           12, 4.5);
    expect("only applied rows take part", true,
           {Med{.status = "Abgegeben", .fleisch = "30", .milch = "30"},
            Med{.status = "Verworfen", .fleisch = "40", .nichtVerdoppeln = "False"},
            Med{.status = "Angewandt", .fleisch = "1", .milch = "2"}},
           1, 2);
}

TEST_F(WithdrawalModel, ColumnsTakeTheirWidthAndRefuseOneMore) {
    const std::pair<std::size_t, std::string Med::*> columns[] = {{10, &Med::einheit},
                                                                  {10, &Med::status},
                                                                  {100, &Med::bezeichnung},
                                                                  {30, &Med::form},
                                                                  {15, &Med::charge}};
    for (const auto& [width, field] : columns) {
        SCOPED_TRACE(width);
        Beh b;
        Med m;
        m.*field = std::string(width, 'X');
        b.meds = {m};
        EXPECT_EQ(treatment(b).medications.rows().size(), 1u);
        m.*field += "X";
        b.meds = {Med{}, m};
        EXPECT_EQ(errorOf([&] { treatment(b); }), err::kFieldTooLong)
            << "a text one longer than its column was taken";
    }
    Beh b;
    b.meds = {Med{.anweisung = std::string(1500, 'a')}};
    EXPECT_EQ(treatment(b).medications.rows().at(0).Anwendungsanweisung, std::string(1000, 'a'))
        << "instructions are cut, not refused";
}

// Each piece is the number at its start; blanks around the date do not count.
TEST(TreatmentDate, IsNormalisedTheCalendarWayOrRefused) {
    const std::pair<const char*, const char*> dates[] = {
        {"31.02.2024", "02.03.2024"}, {"29.02.2023", "01.03.2023"},   {"29.02.2024", "29.02.2024"},
        {"15.13.2024", "15.01.2025"}, {"00.03.2024", "29.02.2024"},   {"01.00.2024", "01.12.2023"},
        {"5.03.2024", "05.03.2024"},  {" 05/03/2024 ", "05.03.2024"}, {"31.12.9999", "31.12.9999"}};
    for (const auto& [text, expected] : dates)
        EXPECT_EQ(formatDayLong(parseTreatmentDate(text)), expected) << text;
    // Year 0, year 3 (the last four characters), past the calendar's end.
    for (const char* text : {"ab.cd.efgh", "05.03.24", "32.12.9999"})
        EXPECT_EQ(errorOf([&] { parseTreatmentDate(text); }), 5) << text;
    EXPECT_EQ(errorOf([] { parseTreatmentDate("05.03.9e99"); }), err::kOverflow);
}

TEST(EndDate, AddsWholeDaysOfThePeriod) {
    const CalendarDay start = parseTreatmentDate("31.02.2024");
    EXPECT_EQ(formatDayShort(addPeriod(start, 7)), "09.03.24");
    EXPECT_EQ(formatDayLong(addPeriod(start, 2.9)), "04.03.2024") << "a fraction does not count";
    EXPECT_EQ(formatDayLong(addPeriod(parseTreatmentDate("28.02.2100"), 1)), "01.03.2100");
    EXPECT_THROW(addPeriod(start, 1e300), RuntimeError);
    EXPECT_THROW(addPeriod(start, 3.0e6), RuntimeError);
}

}  // namespace
}  // namespace lumaro

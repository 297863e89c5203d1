#include "documents/withdrawal/model/withdrawal_model.h"

#include <gtest/gtest.h>

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
    std::vector<Treatment> treatments(const WithdrawalRecord& r) {
        std::vector<Treatment> out;
        XmlCutter cutter(messages, r.text);
        std::string text;
        while (cutter.next(kBehandlung, text, true))
            out.push_back(readTreatment(messages, german, text));
        return out;
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
    EXPECT_EQ(copyCount(record(Rec{}.xml())), 2);
}

TEST_F(WithdrawalModel, OrganicFarmAndDoublingNeedBioExactlyTrue) {
    Rec rec;
    rec.bio = "true";
    rec.verdoppelt = "True";
    EXPECT_FALSE(record(rec.xml()).alreadyDoubled) << "doubled only on organic farms";
    EXPECT_EQ(organicNotice(record(rec.xml())), "");
    rec.bio = "True";
    rec.verdoppelt = "";
    EXPECT_EQ(organicNotice(record(rec.xml())),
              "Biobetrieb! Beachten Sie die Richtlinien Ihres Verbandes.");
    rec.verdoppelt = "True";
    EXPECT_TRUE(record(rec.xml()).alreadyDoubled);
    EXPECT_EQ(organicNotice(record(rec.xml())), "Biobetrieb! Wartezeiten sind bereits verdoppelt.");
}

TEST_F(WithdrawalModel, DateCaptionFollowsWhatTheRecordHolds) {
    Rec rec;
    rec.treatments = {Beh{.meds = {Med{.status = "Abgegeben"}}}};
    EXPECT_EQ(dateCaption(record(rec.xml())), "Datum der Abgabe:");
    rec.treatments[0].meds[0].status = "Angewandt";
    EXPECT_EQ(dateCaption(record(rec.xml())), "Datum der Anwendung:");
    rec.treatments[0].meds[0].status = "angewandt";
    EXPECT_EQ(dateCaption(record(rec.xml())), "");
    // A template's text is cut out before the record is searched.
    rec.templates = "<FormularDaten><Wortlaut>Angewandt</Wortlaut></FormularDaten>";
    rec.treatments[0].meds[0].status = "Abgegeben";
    EXPECT_EQ(dateCaption(record(rec.xml())), "Datum der Abgabe:");
}

TEST_F(WithdrawalModel, AnimalsAreJoinedAndTrimmed) {
    Beh b;
    b.patients = {{"12", "Berta"}, {"13", ""}, {" ", " Resi "}};
    EXPECT_EQ(treatment(b).animals, "12 Berta, 13, Resi");
}

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
    const Med zeroDoubled{.fleisch = "0", .milch = "3", .nichtVerdoppeln = "False"};
    expect("doubled row of zero gets two days", true, {zeroDoubled}, 2, 6);
    expect("not organic never doubles", false, {zeroDoubled}, 0, 3);
    expect("row without the tag is not doubled", true, {Med{.fleisch = "0", .milch = "3"}}, 0, 3);
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

TEST_F(WithdrawalModel, DispensedRowShowsItsOwnPeriodsDoubledWhereDue) {
    MedicationRow row;
    row.WZMilchTage = 2.5;
    row.BeiBioNichtVerdoppeln = false;
    EXPECT_DOUBLE_EQ(rowPeriods(row, true).meat, 2);
    EXPECT_DOUBLE_EQ(rowPeriods(row, true).milk, 5);
    EXPECT_DOUBLE_EQ(rowPeriods(row, false).milk, 2.5);
}

TEST_F(WithdrawalModel, GarbageNumbersReadAsZero) {
    Beh b;
    b.meds = {Med{.menge = "abc", .fleisch = "", .milch = "keine"},
              Med{.menge = "2.5", .fleisch = "7 Tage", .milch = ",5"}};
    const Treatment t = treatment(b);
    const auto& rows = t.medications.rows();
    EXPECT_EQ(rows[0].Menge + rows[0].WZFleischTage + rows[0].WZMilchTage, 0);
    EXPECT_DOUBLE_EQ(rows[1].Menge, 2.5);
    EXPECT_DOUBLE_EQ(rows[1].WZFleischTage, 7);
    EXPECT_DOUBLE_EQ(rows[1].WZMilchTage, 0.5);
}

TEST_F(WithdrawalModel, RowTextHasBatchAndFormOnlyWhenGiven) {
    MedicationRow row;
    row.Menge = 2.5;
    row.Einheit = " ml ";
    row.Bezeichnung = "Oxytetracyclin 200 mg/ml ";
    row.Charge = " OT-1187";
    row.Darreichungsform = "Injektionslösung";
    EXPECT_EQ(medicationText(row, german, true),
              "2,5 ml Oxytetracyclin 200 mg/ml [OT-1187], Injektionslösung");
    EXPECT_EQ(medicationText(row, german, false), "2,5 ml Oxytetracyclin 200 mg/ml [OT-1187]");
    row.Charge = "  ";
    row.Darreichungsform = " ";
    EXPECT_EQ(medicationText(row, german, true), "2,5 ml Oxytetracyclin 200 mg/ml");
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

}  // namespace
}  // namespace lumaro

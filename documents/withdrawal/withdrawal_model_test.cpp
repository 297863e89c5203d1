#include "documents/withdrawal/withdrawal_model.h"

#include <gtest/gtest.h>

#include "documents/withdrawal/test_records.h"
#include "support/errors.h"
#include "xml/xml_tags.h"

namespace lumaro {
namespace {

using testing::Beh;
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
    // The treatments of a record, in order.
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

TEST_F(WithdrawalModel, ReadsTheRecordOfADairyFarm) {
    const WithdrawalRecord r = record(testing::readTestData("record_dairy.xml"));
    EXPECT_EQ(r.Eigentum1, "Tierarztpraxis Dr. Anna Berger");
    EXPECT_EQ(r.TierarztName, "Dr. Anna Berger");
    EXPECT_EQ(r.TierarztNummer, "4711");
    EXPECT_EQ(r.LFBIS, "2345678");
    EXPECT_EQ(r.KundeName, w("Johann Größbauer"));
    EXPECT_EQ(r.Adresse, w("Mühlweg 12, 4841 Ungenach"));
    EXPECT_FALSE(r.organic);
    EXPECT_EQ(r.BehandlungsDatum, "14.11.2026");
    EXPECT_EQ(r.LaufendeNummer, "2026-0815");
    EXPECT_TRUE(r.WZEndeZeigen);
    EXPECT_TRUE(r.BereichFuerTierhalter);
    EXPECT_TRUE(r.LaufendeNummerZeigen);
    EXPECT_FALSE(r.KurzeUeberschrift);
    EXPECT_FALSE(r.NurObereHaelfte) << "written as \"true\" in the file";
    EXPECT_EQ(copyCount(r), 2);
    EXPECT_EQ(dateCaption(r), "Datum der Anwendung und Abgabe:");
    // Both templates, with their tags, and nothing of them left in the record.
    EXPECT_EQ(r.templates.find("<FormularDaten>"), 0u);
    EXPECT_NE(r.templates.find("Tel. 0732 123456</Wortlaut>"), std::string::npos);
    EXPECT_EQ(r.text.find("FormularDaten"), std::string::npos);

    const auto t = treatments(r);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].animals, "AT 837465921 Berta, AT 837465938");
    EXPECT_EQ(t[0].Diagnose, "Mastitis acuta, Viertel hinten links");
    EXPECT_EQ(t[0].Monitoring, "Eutergesundheit");
    ASSERT_EQ(t[0].medications.rows().size(), 3u);
    EXPECT_EQ(t[0].medications.rows()[1].Bezeichnung, w("Meloxicam 20 mg/ml Injektionslösung"));
    EXPECT_DOUBLE_EQ(t[0].medications.rows()[1].Menge, 12.5);
    EXPECT_DOUBLE_EQ(t[0].medications.rows()[0].WZMilchTage, 4.5);
    EXPECT_TRUE(t[0].hasApplied);
    EXPECT_TRUE(t[0].hasDispensed);
    EXPECT_FALSE(t[1].hasApplied);
    EXPECT_TRUE(t[1].hasDispensed);
    EXPECT_EQ(t[1].BehandlungsNummer, "2");
}

TEST_F(WithdrawalModel, NamesAreTakenFromTheirOwnElements) {
    // The vet's, the customer's, the diagnosis' and the drug's names all use
    // the tags Name or Bezeichnung; none may turn up in another's place.
    Rec rec;
    rec.templates =
        "<FormularDaten><Typ>Text</Typ><Wortlaut>x</Wortlaut><Name>Vorlage</Name>"
        "<Eigentum1>Vorlage</Eigentum1></FormularDaten>";
    Beh b;
    b.diagnose = "Klauenrehe";
    b.meds = {Med{.bezeichnung = "Flunixin"}};
    rec.treatments = {b};
    const WithdrawalRecord r = record(rec.xml());
    EXPECT_EQ(r.Eigentum1, "Tierarztpraxis Dr. Anna Berger");
    EXPECT_EQ(r.TierarztName, "Dr. Anna Berger");
    EXPECT_EQ(r.KundeName, "Josef Huber");
    const auto t = treatments(r);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].Diagnose, "Klauenrehe");
    EXPECT_EQ(t[0].medications.rows().at(0).Bezeichnung, "Flunixin");
}

TEST_F(WithdrawalModel, FlagsCountOnlyWhenExactlyTrue) {
    Rec rec;
    rec.flags = {{"WZEndeZeigen", "true"},    {"BereichFuerTierhalter", "True "},
                 {"KurzeUeberschrift", "1"},  {"LaufendeNummerZeigen", "-1"},
                 {"NurObereHaelfte", "True"}, {"A4NichtFuerTierarzt", "True"}};
    const WithdrawalRecord r = record(rec.xml());
    EXPECT_FALSE(r.WZEndeZeigen);
    EXPECT_FALSE(r.BereichFuerTierhalter);
    EXPECT_FALSE(r.KurzeUeberschrift);
    EXPECT_FALSE(r.LaufendeNummerZeigen);
    EXPECT_TRUE(r.NurObereHaelfte);
    EXPECT_TRUE(r.A4NichtFuerTierarzt);
    EXPECT_EQ(copyCount(r), 1);
}

TEST_F(WithdrawalModel, OrganicFarmAndDoublingNeedBioExactlyTrue) {
    Rec rec;
    rec.bio = "true";
    rec.verdoppelt = "True";
    WithdrawalRecord r = record(rec.xml());
    EXPECT_FALSE(r.organic);
    EXPECT_FALSE(r.alreadyDoubled) << "doubled only on organic farms";
    EXPECT_EQ(organicNotice(r), "");

    rec.bio = "True";
    rec.verdoppelt = "";
    r = record(rec.xml());
    EXPECT_TRUE(r.organic);
    EXPECT_FALSE(r.alreadyDoubled);
    EXPECT_EQ(organicNotice(r), "Biobetrieb! Beachten Sie die Richtlinien Ihres Verbandes.");

    rec.verdoppelt = "True";
    r = record(rec.xml());
    EXPECT_TRUE(r.alreadyDoubled);
    EXPECT_EQ(organicNotice(r), "Biobetrieb! Wartezeiten sind bereits verdoppelt.");
}

TEST_F(WithdrawalModel, MissingCustomerGivesEmptyValues) {
    Rec rec;
    rec.withKunde = false;
    rec.tierarztName = "";
    const WithdrawalRecord r = record(rec.xml());
    EXPECT_EQ(r.LFBIS, "");
    EXPECT_EQ(r.KundeName, "");
    EXPECT_EQ(r.Adresse, "");
    EXPECT_FALSE(r.organic);
}

TEST_F(WithdrawalModel, DateCaptionFollowsWhatTheRecordHolds) {
    Rec rec;
    rec.treatments = {Beh{.meds = {Med{.status = "Abgegeben"}}}};
    EXPECT_EQ(dateCaption(record(rec.xml())), "Datum der Abgabe:");
    rec.treatments = {Beh{.meds = {Med{.status = "Angewandt"}}}};
    EXPECT_EQ(dateCaption(record(rec.xml())), "Datum der Anwendung:");
    rec.treatments = {Beh{.meds = {Med{.status = "Angewandt"}}},
                      Beh{.meds = {Med{.status = "Abgegeben"}}}};
    EXPECT_EQ(dateCaption(record(rec.xml())), "Datum der Anwendung und Abgabe:");
    rec.treatments = {Beh{.meds = {Med{.status = "angewandt"}}}};
    EXPECT_EQ(dateCaption(record(rec.xml())), "");
}

TEST_F(WithdrawalModel, StatusInsideATemplateDoesNotCount) {
    // Templates are cut out before the record is searched for its drugs.
    Rec rec;
    rec.templates = "<FormularDaten><Typ>Text</Typ><Wortlaut>Angewandt</Wortlaut></FormularDaten>";
    rec.treatments = {Beh{.meds = {Med{.status = "Abgegeben"}}}};
    EXPECT_EQ(dateCaption(record(rec.xml())), "Datum der Abgabe:");
}

TEST_F(WithdrawalModel, AnimalsAreJoinedAndTrimmed) {
    Beh b;
    b.patients = {{"12", "Berta"}, {"13", ""}, {" ", " Resi "}};
    EXPECT_EQ(treatment(b).animals, "12 Berta, 13, Resi");
    b.patients = {};
    EXPECT_EQ(treatment(b).animals, "");
}

TEST_F(WithdrawalModel, TreatmentWithoutDiagnosisPrintsNone) {
    Rec rec;
    Beh first;
    first.diagnose = "Gebärparese";
    first.monitoring = "Stoffwechsel";
    Beh second;
    second.withDiagnose = false;
    rec.treatments = {first, second};
    const auto t = treatments(record(rec.xml()));
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].Diagnose, w("Gebärparese"));
    EXPECT_EQ(t[1].Diagnose, "");
    EXPECT_EQ(t[1].Monitoring, "");
}

TEST_F(WithdrawalModel, MedicationsKeepTheirOrderAndStatus) {
    Beh b;
    b.meds = {Med{.status = "Abgegeben", .bezeichnung = "A"},
              Med{.status = "Verworfen", .bezeichnung = "B"},
              Med{.status = "Angewandt", .bezeichnung = "C"}};
    const Treatment t = treatment(b);
    ASSERT_EQ(t.medications.rows().size(), 3u);
    EXPECT_EQ(t.medications.rows()[0].Bezeichnung, "A");
    EXPECT_EQ(t.medications.rows()[1].AbgabeStatus, "Verworfen");
    EXPECT_EQ(t.medications.rows()[2].Bezeichnung, "C");
}

// Greatest applied periods --------------------------------------------------

struct PeriodCase {
    const char* name;
    bool alreadyDoubled;
    std::vector<Med> meds;
    double meat, milk;
};

class GreatestPeriods : public WithdrawalModel, public ::testing::WithParamInterface<PeriodCase> {};

TEST_P(GreatestPeriods, AreComputed) {
    Beh b;
    b.meds = GetParam().meds;
    const Periods p = greatestAppliedPeriods(treatment(b).medications, GetParam().alreadyDoubled);
    EXPECT_DOUBLE_EQ(p.meat, GetParam().meat);
    EXPECT_DOUBLE_EQ(p.milk, GetParam().milk);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GreatestPeriods,
    ::testing::Values(
        PeriodCase{"DoubledRowOfZeroGetsTwoDays",
                   true,
                   {Med{.fleisch = "0", .milch = "3", .nichtVerdoppeln = "False"}},
                   2,
                   6},
        PeriodCase{"RowWithoutTagIsNotDoubled", true, {Med{.fleisch = "0", .milch = "3"}}, 0, 3},
        PeriodCase{"NotOrganicNeverDoubles",
                   false,
                   {Med{.fleisch = "0", .milch = "3", .nichtVerdoppeln = "False"}},
                   0,
                   3},
        PeriodCase{"OnlyFalseExactlySwitchesDoublingOn",
                   true,
                   {Med{.fleisch = "4", .milch = "3", .nichtVerdoppeln = "false"}},
                   4,
                   3},
        PeriodCase{"LongestOfSeveralEachOnItsOwn",
                   false,
                   {Med{.fleisch = "28", .milch = "4,5"}, Med{.fleisch = "15", .milch = "5"}},
                   28,
                   5},
        PeriodCase{"DoubledAgainstPlain",
                   true,
                   {Med{.fleisch = "10", .milch = "1"},
                    Med{.fleisch = "6", .milch = "0", .nichtVerdoppeln = "False"}},
                   12,
                   2},
        PeriodCase{
            "DispensedAndOtherRowsTakeNoPart",
            true,
            {Med{.status = "Abgegeben", .fleisch = "30", .milch = "30"},
             Med{.status = "Verworfen", .fleisch = "40", .milch = "40", .nichtVerdoppeln = "False"},
             Med{.status = "Angewandt", .fleisch = "1", .milch = "2"}},
            1,
            2},
        PeriodCase{
            "NoAppliedRowGivesZero",
            true,
            {Med{.status = "Abgegeben", .fleisch = "9", .milch = "9", .nichtVerdoppeln = "False"}},
            0,
            0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WithdrawalModel, DispensedRowShowsItsOwnPeriodsDoubledWhereDue) {
    MedicationRow row;
    row.WZFleischTage = 0;
    row.WZMilchTage = 2.5;
    row.BeiBioNichtVerdoppeln = false;
    Periods p = rowPeriods(row, true);
    EXPECT_DOUBLE_EQ(p.meat, 2);
    EXPECT_DOUBLE_EQ(p.milk, 5);
    p = rowPeriods(row, false);
    EXPECT_DOUBLE_EQ(p.meat, 0);
    EXPECT_DOUBLE_EQ(p.milk, 2.5);
    row.BeiBioNichtVerdoppeln = true;
    EXPECT_DOUBLE_EQ(rowPeriods(row, true).milk, 2.5);
}

// Rows and their texts --------------------------------------------------------

TEST_F(WithdrawalModel, GarbageNumbersReadAsZeroAndDecimalsBothWays) {
    Beh b;
    b.meds = {Med{.menge = "abc", .fleisch = "", .milch = "keine"},
              Med{.menge = "2.5", .fleisch = "7 Tage", .milch = ",5"}};
    const Treatment t = treatment(b);
    const auto& rows = t.medications.rows();
    EXPECT_DOUBLE_EQ(rows[0].Menge, 0);
    EXPECT_DOUBLE_EQ(rows[0].WZFleischTage, 0);
    EXPECT_DOUBLE_EQ(rows[0].WZMilchTage, 0);
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
    row.Menge = 7;
    EXPECT_EQ(medicationText(row, german, true), "7 ml Oxytetracyclin 200 mg/ml");
}

TEST_F(WithdrawalModel, InstructionsAreCutToTheirColumn) {
    const std::string longText(1500, 'a');
    Beh b;
    b.meds = {Med{.anweisung = longText}};
    EXPECT_EQ(treatment(b).medications.rows().at(0).Anwendungsanweisung, std::string(1000, 'a'));
}

struct ColumnCase {
    const char* name;
    std::size_t width;
    std::string Med::*field;
};

class ColumnWidth : public WithdrawalModel, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(ColumnWidth, TakesItsWidthAndRefusesOneMore) {
    const ColumnCase& col = GetParam();
    Beh b;
    Med m;
    m.*col.field = std::string(col.width, 'X');
    b.meds = {m};
    EXPECT_EQ(treatment(b).medications.rows().size(), 1u);

    m.*col.field = std::string(col.width + 1, 'X');
    b.meds = {Med{}, m};
    try {
        treatment(b);
        FAIL() << "a " << col.width + 1 << " character text was taken";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::kFieldTooLong);
    }
}

INSTANTIATE_TEST_SUITE_P(Columns, ColumnWidth,
                         ::testing::Values(ColumnCase{"Einheit", 10, &Med::einheit},
                                           ColumnCase{"Bezeichnung", 100, &Med::bezeichnung},
                                           ColumnCase{"Darreichungsform", 30, &Med::form},
                                           ColumnCase{"Charge", 15, &Med::charge}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MedicationTable, RefusesALongStatusAndKeepsEarlierRows) {
    MedicationTable table;
    MedicationRow ok;
    ok.AbgabeStatus = "Abgegeben";
    table.append(ok);
    MedicationRow bad;
    bad.AbgabeStatus = "Angewandt!!";
    EXPECT_THROW(table.append(bad), RuntimeError);
    ASSERT_EQ(table.rows().size(), 1u);
    table.clear();
    EXPECT_TRUE(table.empty());
}

}  // namespace
}  // namespace lumaro

// What a withdrawal-period record says, independent of the page layout it is
// printed in: the values of one Wartezeitenzettel record and of one of its
// Behandlung treatments, and the rules every layout shares (doubling on
// organic farms, the greatest applied periods, the texts of the rows).
//
// Walking a file: cut the records with XmlCutter(text) and next(kWartezeitenzettel,
// record, true); readRecord(record); then cut the treatments out of
// WithdrawalRecord::text with another XmlCutter and readTreatment each one.
#pragma once

#include <string>
#include <string_view>

#include "documents/withdrawal/model/calendar_day.h"
#include "documents/withdrawal/model/medication_table.h"
#include "support/services.h"
#include "support/trim.h"

namespace lumaro {

inline constexpr const char* kWartezeitenzettel = "Wartezeitenzettel";
inline constexpr const char* kBehandlung = "Behandlung";

struct WithdrawalRecord {
    // All FormularDaten elements with their tags, joined in document order.
    std::string templates;
    // The record with its tags, without the FormularDaten elements; treatments
    // are cut from it.
    std::string text;

    std::string Eigentum1, Eigentum2;
    std::string TierarztName, TierarztNummer;
    std::string LFBIS, KundeName, Adresse;
    bool organic = false;         // Bio is "True"
    bool alreadyDoubled = false;  // organic and WZBereitsVerdoppelt is "True"

    std::string BehandlungsDatum;
    std::string LaufendeNummer;
    std::string AllgemeineNachricht;

    bool WZEndeZeigen = false;
    bool BereichFuerTierhalter = false;
    bool KurzeUeberschrift = false;
    bool LaufendeNummerZeigen = false;
    bool NurObereHaelfte = false;
    bool A4NichtFuerTierarzt = false;
    bool MediSeparateZeilen = false;

    bool hasApplied = false;    // the record holds ">Angewandt<"
    bool hasDispensed = false;  // the record holds ">Abgegeben<"
};

struct Treatment {
    std::string BehandlungsNummer;
    std::string animals;  // "12 Berta, 13"
    std::string Diagnose;
    std::string Monitoring;
    bool hasApplied = false;
    bool hasDispensed = false;
    MedicationTable medications;
};

struct Periods {
    double meat = 0;
    double milk = 0;
};

// Flags of the data file count only when their text is exactly "True".
bool isTrueFlag(std::string_view text);

// recordText: one Wartezeitenzettel element, tags included.
WithdrawalRecord readRecord(Messages& messages, const std::string& recordText);

// treatmentText: one Behandlung element, tags included. Raises error 3265 when
// a medication text is longer than its column.
Treatment readTreatment(Messages& messages, const Regional& regional,
                        const std::string& treatmentText);

// "Datum der Anwendung und Abgabe:", "Datum der Anwendung:", "Datum der Abgabe:",
// or empty when the record holds neither (it is then not printed).
std::string dateCaption(const WithdrawalRecord& record);

// Copies of the A4 sheets: 2, or 1 when the vet keeps none.
int copyCount(const WithdrawalRecord& record);

// "Biobetrieb! ..." on organic farms, empty otherwise.
std::string organicNotice(const WithdrawalRecord& record);

// Whether the record's doubling applies to the row.
bool isDoubled(const MedicationRow& row, bool alreadyDoubled);
// The row's own periods, doubled (times 2, at least 2 days) where that applies.
Periods rowPeriods(const MedicationRow& row, bool alreadyDoubled);
// The greatest periods over the applied rows, meat and milk each on its own.
Periods greatestAppliedPeriods(const MedicationTable& table, bool alreadyDoubled);

// "Fleisch 7  /  Milch 2,5": periods in their shortest form, as the period
// boxes show them.
std::string periodsText(const Periods& periods, const Regional& regional);

// "Wartezeiten enden am: Fleisch 12.03.2024 / Milch 10.03.2024": the days the
// periods end, counted from the treatment date.
std::string endDatesText(CalendarDay date, const Periods& periods);

// "2 ml Name [Charge], Darreichungsform" with the quantity in its shortest
// form; the batch and the dosage form only when they are not blank.
std::string medicationText(const MedicationRow& row, const Regional& regional, bool withDosageForm);

}  // namespace lumaro

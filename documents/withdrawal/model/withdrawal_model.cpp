#include "documents/withdrawal/model/withdrawal_model.h"

#include <utility>

#include "support/regional.h"
#include "support/trim.h"
#include "xml/xml_tags.h"

namespace lumaro {

namespace {

bool contains(const std::string& text, std::string_view what) {
    return text.find(what) != std::string::npos;
}

}  // namespace

bool isTrueFlag(std::string_view text) {
    return text == "True";
}

WithdrawalRecord readRecord(Messages& messages, const std::string& recordText) {
    WithdrawalRecord r;

    // The head templates come out first, so that none of the lookups below
    // can pick up a Name or Nummer that belongs to a template entry.
    XmlCutter templates(messages, recordText);
    std::string entry;
    while (templates.next("FormularDaten", entry, true))
        r.templates += entry;
    r.text = templates.remaining();
    const std::string& t = r.text;
    auto value = [&](const std::string& in, const char* tag) {
        return XMLWertHolen(messages, in, tag);
    };

    r.Eigentum1 = value(t, "Eigentum1");
    r.Eigentum2 = value(t, "Eigentum2");
    const std::string tierarzt = value(t, "Tierarzt");
    r.TierarztName = value(tierarzt, "Name");
    r.TierarztNummer = value(tierarzt, "Nummer");

    r.hasApplied = contains(t, ">Angewandt<");
    r.hasDispensed = contains(t, ">Abgegeben<");

    // The customer's Name must not be confused with the vet's or a drug's, so
    // it is read from the Kunde element alone; the record itself keeps it.
    std::string kunde;
    std::string unused;
    XMLTagAusschneiden(messages, t, "Kunde", kunde, unused, true);
    r.LFBIS = value(kunde, "LFBIS");
    r.KundeName = value(kunde, "Name");
    r.Adresse = value(kunde, "Adresse");
    r.organic = isTrueFlag(value(kunde, "Bio"));
    r.alreadyDoubled = r.organic && isTrueFlag(value(kunde, "WZBereitsVerdoppelt"));

    r.BehandlungsDatum = value(t, "BehandlungsDatum");
    r.LaufendeNummer = value(t, "LaufendeNummer");
    r.WZEndeZeigen = isTrueFlag(value(t, "WZEndeZeigen"));
    r.BereichFuerTierhalter = isTrueFlag(value(t, "BereichFuerTierhalter"));
    r.KurzeUeberschrift = isTrueFlag(value(t, "KurzeUeberschrift"));
    r.LaufendeNummerZeigen = isTrueFlag(value(t, "LaufendeNummerZeigen"));
    r.NurObereHaelfte = isTrueFlag(value(t, "NurObereHaelfte"));
    r.A4NichtFuerTierarzt = isTrueFlag(value(t, "A4NichtFuerTierarzt"));
    r.MediSeparateZeilen = isTrueFlag(value(t, "MediSeparateZeilen"));
    r.AllgemeineNachricht = value(t, "AllgemeineNachricht");
    return r;
}

Treatment readTreatment(Messages& messages, const Regional& regional,
                        const std::string& treatmentText) {
    Treatment tr;
    tr.BehandlungsNummer = XMLWertHolen(messages, treatmentText, "BehandlungsNummer");
    tr.hasApplied = contains(treatmentText, ">Angewandt<");
    tr.hasDispensed = contains(treatmentText, ">Abgegeben<");

    // Patients and the diagnosis are cut out before the medications are
    // read, so that the diagnosis' Bezeichnung never passes for a drug name.
    XmlCutter patients(messages, treatmentText);
    std::string patient;
    bool first = true;
    while (patients.next("Patient", patient, true)) {
        if (!first)
            tr.animals += ", ";
        first = false;
        tr.animals += trimBlanks(XMLWertHolen(messages, patient, "Nummer") + " " +
                                 XMLWertHolen(messages, patient, "Name"));
    }
    std::string rest = patients.remaining();

    // A treatment without a Diagnose element prints an empty diagnosis. Keeping
    // the previous treatment's diagnosis, as a carried-over variable would,
    // puts on a legal record a diagnosis the vet never made for these animals.
    std::string diagnose;
    if (XMLTagAusschneiden(messages, rest, "Diagnose", diagnose, rest, true)) {
        tr.Diagnose = XMLWertHolen(messages, diagnose, "Bezeichnung");
        tr.Monitoring = XMLWertHolen(messages, diagnose, "Monitoring");
    }

    XmlCutter medications(messages, std::move(rest));
    std::string medication;
    while (medications.next("Medikament", medication, false))
        tr.medications.append(readMedication(messages, regional, medication));
    return tr;
}

std::string dateCaption(const WithdrawalRecord& record) {
    if (record.hasApplied && record.hasDispensed)
        return "Datum der Anwendung und Abgabe:";
    if (record.hasApplied)
        return "Datum der Anwendung:";
    if (record.hasDispensed)
        return "Datum der Abgabe:";
    return {};
}

int copyCount(const WithdrawalRecord& record) {
    return record.A4NichtFuerTierarzt ? 1 : 2;
}

std::string organicNotice(const WithdrawalRecord& record) {
    if (!record.organic)
        return {};
    return record.alreadyDoubled ? "Biobetrieb! Wartezeiten sind bereits verdoppelt."
                                 : "Biobetrieb! Beachten Sie die Richtlinien Ihres Verbandes.";
}

bool isDoubled(const MedicationRow& row, bool alreadyDoubled) {
    return alreadyDoubled && !row.BeiBioNichtVerdoppeln;
}

namespace {

double doubledPeriod(double days) {
    const double d = days * 2;
    return d < 2 ? 2 : d;
}

}  // namespace

Periods rowPeriods(const MedicationRow& row, bool alreadyDoubled) {
    if (!isDoubled(row, alreadyDoubled))
        return {row.WZFleischTage, row.WZMilchTage};
    return {doubledPeriod(row.WZFleischTage), doubledPeriod(row.WZMilchTage)};
}

Periods greatestAppliedPeriods(const MedicationTable& table, bool alreadyDoubled) {
    Periods greatest;
    auto take = [](double& most, double days, bool doubled) {
        const double period = doubled ? days * 2 : days;
        if (period > most)
            most = period;
        // A doubled period is never shorter than two days, even for a drug
        // without any withdrawal period of its own.
        if (doubled && most < 2)
            most = 2;
    };
    for (const MedicationRow& row : table.rows()) {
        if (row.AbgabeStatus != kAngewandt)
            continue;
        const bool doubled = isDoubled(row, alreadyDoubled);
        take(greatest.meat, row.WZFleischTage, doubled);
        take(greatest.milk, row.WZMilchTage, doubled);
    }
    return greatest;
}

std::string medicationText(const MedicationRow& row, const Regional& regional,
                           bool withDosageForm) {
    std::string text = formatShortest(row.Menge, regional) + " ";
    text += trimBlanks(row.Einheit);
    text += " ";
    text += trimBlanks(row.Bezeichnung);
    const std::string_view charge = trimBlanks(row.Charge);
    if (!charge.empty()) {
        text += " [";
        text += charge;
        text += "]";
    }
    const std::string_view form = trimBlanks(row.Darreichungsform);
    if (withDosageForm && !form.empty()) {
        text += ", ";
        text += form;
    }
    return text;
}

std::string periodsText(const Periods& periods, const Regional& regional) {
    return "Fleisch " + formatShortest(periods.meat, regional) + "  /  Milch " +
           formatShortest(periods.milk, regional);
}

std::string endDatesText(CalendarDay date, const Periods& periods) {
    return "Wartezeiten enden am: Fleisch " + formatDayLong(addPeriod(date, periods.meat)) +
           " / Milch " + formatDayLong(addPeriod(date, periods.milk));
}

}  // namespace lumaro

#include "documents/withdrawal/model/medication_table.h"

#include <utility>

#include "support/conversions.h"
#include "support/errors.h"
#include "xml/xml_tags.h"

namespace lumaro {

namespace {

void refuseLonger(const std::string& text, std::size_t width) {
    if (text.size() > width)
        raiseError(err::kFieldTooLong);
}

}  // namespace

void MedicationTable::append(MedicationRow row) {
    refuseLonger(row.Einheit, column_width::kEinheit);
    refuseLonger(row.AbgabeStatus, column_width::kAbgabeStatus);
    refuseLonger(row.Bezeichnung, column_width::kBezeichnung);
    refuseLonger(row.Darreichungsform, column_width::kDarreichungsform);
    refuseLonger(row.Charge, column_width::kCharge);
    refuseLonger(row.Anwendungsanweisung, column_width::kAnwendungsanweisung);
    rows_.push_back(std::move(row));
}

MedicationRow readMedication(Messages& messages, const Regional& regional,
                             const std::string& medicationText) {
    auto value = [&](const char* tag) { return XMLWertHolen(messages, medicationText, tag); };
    MedicationRow row;
    row.Menge = ZahlLesen(value("Menge"), regional);
    row.Einheit = value("Einheit");
    row.AbgabeStatus = value("AbgabeStatus");
    row.Bezeichnung = value("Bezeichnung");
    row.Darreichungsform = value("Darreichungsform");
    row.Charge = value("Charge");
    row.WZFleischTage = ZahlLesen(value("WZFleischTage"), regional);
    row.WZMilchTage = ZahlLesen(value("WZMilchTage"), regional);
    row.BeiBioNichtVerdoppeln = value("WZBeiBioNichtVerdoppeln") != "False";
    // Instructions are free text from the vet; only the first 1000 characters
    // fit the column and the printed block.
    row.Anwendungsanweisung =
        value("Anwendungsanweisung").substr(0, column_width::kAnwendungsanweisung);
    return row;
}

}  // namespace lumaro

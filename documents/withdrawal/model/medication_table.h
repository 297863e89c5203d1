// The medications of one treatment, one row per Medikament element in the
// order of the file.
//
// The host's own database limits these texts, and the printed layout is made
// for them: a batch number of 40 characters or a unit of 30 would run into the
// period columns. So the table refuses a longer text with error 3265 instead of
// printing a record that looks complete but is not; the renderer then reports
// the error and leaves the file for the host to correct.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "support/services.h"

namespace lumaro {

inline constexpr const char* kAngewandt = "Angewandt";  // applied by the veterinarian
inline constexpr const char* kAbgegeben = "Abgegeben";  // handed to the animal keeper

struct MedicationRow {
    double Menge = 0;
    std::string Einheit;
    std::string AbgabeStatus;
    std::string Bezeichnung;
    std::string Darreichungsform;
    std::string Charge;
    double WZFleischTage = 0;
    double WZMilchTage = 0;
    bool BeiBioNichtVerdoppeln = true;
    std::string Anwendungsanweisung;
};

// Column widths in characters (Windows-1252 bytes).
namespace column_width {
inline constexpr std::size_t kEinheit = 10;
inline constexpr std::size_t kAbgabeStatus = 10;
inline constexpr std::size_t kBezeichnung = 100;
inline constexpr std::size_t kDarreichungsform = 30;
inline constexpr std::size_t kCharge = 15;
inline constexpr std::size_t kAnwendungsanweisung = 1000;
}  // namespace column_width

class MedicationTable {
  public:
    // Appends the row; a text longer than its column raises error 3265 and
    // leaves the table as it was.
    void append(MedicationRow row);
    void clear() { rows_.clear(); }
    const std::vector<MedicationRow>& rows() const { return rows_; }
    bool empty() const { return rows_.empty(); }

  private:
    std::vector<MedicationRow> rows_;
};

// One row from the inner text of a Medikament element: numbers through the
// forgiving conversion (garbage gives 0), texts unchanged, the instructions
// cut to the column's 1000 characters, BeiBioNichtVerdoppeln false only for
// the exact text "False".
MedicationRow readMedication(Messages& messages, const Regional& regional,
                             const std::string& medicationText);

}  // namespace lumaro

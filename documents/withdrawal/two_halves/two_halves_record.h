// One withdrawal record drawn twice side by side, once in each half of the
// landscape sheets; the vet signs the left copy, the keeper the right one. The
// values and period rules come from the withdrawal model; this is only where
// they stand on the sheet.
#pragma once

#include <cstdint>
#include <string>

#include "documents/withdrawal/model/calendar_day.h"
#include "documents/withdrawal/model/withdrawal_model.h"
#include "documents/withdrawal/two_halves/half_sheet.h"
#include "printing/context.h"

namespace lumaro {

// Printed under "Programmierung:" in the vet's half.
inline constexpr const char* kWebAddress = "www.lumaro.example";

// The grey heading of the period columns at the right edge of each half, with
// the organic-farm notice framed to its left. y is the line it stands on; it
// moves down 5 first when the record's periods are already doubled, or when
// the heading does not fit beside what stands at the left of that line
// (occupiedLeft units from each half's left edge). Returns the heading's
// width, which the period boxes below take over.
double WartezeitenKopfDrucken(Context& c, double& y, const WithdrawalRecord& record,
                              double occupiedLeft);

class TwoHalvesRecord {
  public:
    // date: the record's treatment date, already checked and parsed.
    TwoHalvesRecord(Context& c, const WithdrawalRecord& record, CalendarDay date, bool middleBreak);
    TwoHalvesRecord(const TwoHalvesRecord&) = delete;
    TwoHalvesRecord& operator=(const TwoHalvesRecord&) = delete;

    // Draws every sheet of the record. Ending the print job is the caller's.
    void print();

  private:
    void topBlock(double headBottom);
    void treatment(const Treatment& t);
    // The animals and the diagnosis do not stand alone at the bottom of a
    // sheet when drugs follow: the room the first drug section asks for is
    // wanted below them too.
    double firstSectionRoom(const Treatment& t);
    // keepWith: room wanted below the block on the same sheet.
    void animals(const Treatment& t, double keepWith);
    void diagnosisLine(const Treatment& t);
    void appliedSection(const Treatment& t);
    void endDates(const Treatment& t, double boxY, double occupiedLeft, double lastLineTop);
    void dispensedSection(const Treatment& t);
    void dispensedBlock(const MedicationRow& row, bool measure);
    void keeperTable(bool measure);
    void closingBlock();

    // Foot of this sheet, then the next one.
    void changeSheet();
    // The page test: a new sheet when y + margin reaches the bottom bound.
    void pageTest(double margin);

    // What a text just drawn with height `used` needs below its first line;
    // read while the surface still has the text's final font.
    double belowFirstLine(double used, const std::string& s);

    Context& c_;
    const WithdrawalRecord& record_;
    const CalendarDay date_;
    const bool middleBreak_;
    std::int16_t page_ = 1;
    // The running position: top of the line last drawn, or below a block
    // whose height was added.
    double y_ = 0;
    // Width of the period heading and of every grey period box.
    double periodWidth_ = 0;
};

}  // namespace lumaro

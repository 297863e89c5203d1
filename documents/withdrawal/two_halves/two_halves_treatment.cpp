// One treatment in both halves: the animals, the diagnosis line with the
// treatment number and the health-monitoring text, the applied drugs with the
// greatest periods and their end dates, and each dispensed drug with its own
// periods, instructions and the keeper's table.
#include <algorithm>
#include <array>
#include <vector>

#include "documents/withdrawal/two_halves/two_halves_record.h"
#include "printing/drawing.h"
#include "support/codepage.h"
#include "support/regional.h"
#include "support/trim.h"

namespace lumaro {

namespace {

constexpr std::int16_t kTextSize = 9;
constexpr std::int16_t kDrugSize = 8;
constexpr std::int16_t kMonitoringSize = 7;
constexpr std::int16_t kKeeperCaptionSize = 7;
// The end dates may be made smaller to stand beside the period box, but not
// below this size; otherwise they get a line of their own.
constexpr double kSmallestEndDateSize = 7;
// Space between one treatment and the next.
constexpr double kAfterTreatment = 7;
// Room a drug section asks for before its heading.
constexpr double kSectionRoom = 20;
// The joined applied drugs start below the period box on the heading's line.
constexpr double kJoinedBelowHeading = 5;

std::vector<const MedicationRow*> rowsWithStatus(const Treatment& t, const char* status) {
    std::vector<const MedicationRow*> rows;
    for (const MedicationRow& row : t.medications.rows()) {
        if (row.AbgabeStatus == status)
            rows.push_back(&row);
    }
    return rows;
}

}  // namespace

void TwoHalvesRecord::treatment(const Treatment& t) {
    animals(t, firstSectionRoom(t));
    pageTest(5);
    y_ += 4;
    diagnosisLine(t);
    y_ += 2;
    pageTest(6);
    appliedSection(t);
    dispensedSection(t);
    y_ += kAfterTreatment;
}

double TwoHalvesRecord::firstSectionRoom(const Treatment& t) {
    const bool applied = !rowsWithStatus(t, kAngewandt).empty();
    const std::vector<const MedicationRow*> dispensed = rowsWithStatus(t, kAbgegeben);
    if (!applied && dispensed.empty())
        return 0;
    double section = kSectionRoom;
    if (!applied) {
        // The dispensed heading goes wherever its first drug goes.
        const double start = y_;
        y_ = 0;
        dispensedBlock(*dispensed.front(), true);
        section = std::max(section, 5 + y_ + 4);
        y_ = start;
    }
    const double diagnosisLine = TextDrucken(c_, {.x = 0,
                                                  .y = y_,
                                                  .text = "Diagnose:",
                                                  .size = kTextSize,
                                                  .italic = kTrue,
                                                  .measureOnly = kTrue});
    return 4 + diagnosisLine + 2 + section;
}

void TwoHalvesRecord::animals(const Treatment& t, double keepWith) {
    const std::string label = ansi("Identität:");
    const double labelWidth = TextBreite(c_, label, kTextSize, kFalse, kTrue);
    auto block = [&](const Half& h, bool measure) {
        const double labelHeight = TextDrucken(c_, {.x = h.left,
                                                    .y = y_,
                                                    .text = label,
                                                    .size = kTextSize,
                                                    .italic = kTrue,
                                                    .measureOnly = measure});
        const double x = h.left + labelWidth + 2;
        const double animalsHeight = TextDrucken(c_, {.x = x,
                                                      .y = y_,
                                                      .text = t.animals,
                                                      .size = kTextSize,
                                                      .maxWidth = h.right - x,
                                                      .lines = -1,
                                                      .measureOnly = measure});
        // Only an empty text advances by the caption. A word wider than the
        // line makes the wrapping give back 0, and the position then advances
        // by 0, as for the diagnosis and the instructions.
        return t.animals.empty() ? labelHeight : animalsHeight;
    };
    // The right half is the narrower one when they differ; measured there,
    // the block fits in both.
    if (y_ + block(rightHalf(c_.bounds), true) + 1 + keepWith >= c_.bounds.intUntererRand)
        changeSheet();
    double used = 0;
    for (const Half& h : halves(c_.bounds))
        used = std::max(used, block(h, false));
    y_ += used;
}

void TwoHalvesRecord::diagnosisLine(const Treatment& t) {
    const bool monitoring = !trimBlanks(t.Monitoring).empty();
    // Tested before the treatment number is drawn, so that the number never
    // stays behind on the old sheet.
    if (monitoring)
        pageTest(5);

    const std::string number =
        t.BehandlungsNummer.empty() ? std::string() : "Beh.Nr. " + t.BehandlungsNummer;
    const double numberColumn = number.empty() ? 0 : TextBreite(c_, number, kTextSize) + 2;
    const double labelWidth = TextBreite(c_, "Diagnose:", kTextSize, kFalse, kTrue);
    const double identityWidth = TextBreite(c_, ansi("Identität:"), kTextSize, kFalse, kTrue);
    const std::string gm = "GM: " + t.Monitoring;

    auto diagnosisX = [&](const Half& h) { return h.left + labelWidth + 2; };
    auto gmRight = [&](const Half& h) { return h.right - numberColumn - 1; };
    auto gmRoom = [&](const Half& h) { return gmRight(h) - (h.left + identityWidth + 2); };

    // The monitoring text stands at the right of the diagnosis line when both
    // fit on it; otherwise it goes below the diagnosis instead of over it.
    bool beside = false;
    if (monitoring) {
        const double gmWidth = TextBreite(c_, gm, kMonitoringSize);
        const double diagnosisWidth = TextBreite(c_, t.Diagnose, kTextSize, kTrue);
        beside = true;
        for (const Half& h : halves(c_.bounds)) {
            if (gmWidth >= gmRoom(h) || diagnosisX(h) + diagnosisWidth + 2 > gmRight(h) - gmWidth)
                beside = false;
        }
    }

    double used = 0;
    for (const Half& h : halves(c_.bounds)) {
        TextDrucken(c_, {.x = h.right, .y = y_, .text = number, .align = 1, .size = kTextSize});
        if (beside)
            TextDrucken(c_, {.x = gmRight(h),
                             .y = y_ + 0.5,
                             .text = gm,
                             .align = 1,
                             .size = kMonitoringSize,
                             .maxWidth = gmRoom(h),
                             .lines = -1});
        const double labelHeight = TextDrucken(
            c_, {.x = h.left, .y = y_, .text = "Diagnose:", .size = kTextSize, .italic = kTrue});
        const double x = diagnosisX(h);
        const double diagnosisHeight =
            TextDrucken(c_, {.x = x,
                             .y = y_,
                             .text = t.Diagnose,
                             .size = kTextSize,
                             .bold = kTrue,
                             .maxWidth = std::max(h.right - numberColumn - x, 1.0),
                             .lines = -1});
        used = std::max({used, labelHeight, diagnosisHeight});
    }
    y_ += used;

    if (monitoring && !beside) {
        y_ += 0.5;
        double gmHeight = 0;
        for (const Half& h : halves(c_.bounds)) {
            // Every line right-aligned: a wrapped right-aligned text must not
            // start its later lines outside the half.
            gmHeight =
                std::max(gmHeight, TextInRahmenDrucken(c_, {.x = gmRight(h),
                                                            .y = y_,
                                                            .text = gm,
                                                            .align = 1,
                                                            .size = kMonitoringSize,
                                                            .maxWidth = std::max(gmRoom(h), 1.0),
                                                            .lines = -1}));
        }
        y_ += gmHeight;
    }
}

void TwoHalvesRecord::appliedSection(const Treatment& t) {
    const std::vector<const MedicationRow*> applied = rowsWithStatus(t, kAngewandt);
    if (applied.empty())
        return;
    const Regional& regional = c_.services.regional;
    std::vector<std::string> texts;
    for (const MedicationRow* row : applied)
        texts.push_back(medicationText(*row, regional, true));

    pageTest(kSectionRoom);
    std::string joined;
    if (!record_.MediSeparateZeilen) {
        for (const std::string& s : texts)
            joined += (joined.empty() ? "" : ", ") + s;
        // The joined drugs go below the heading as one block: measured first
        // so that the heading does not stay behind on this sheet alone.
        double height = 0;
        for (const Half& h : halves(c_.bounds))
            height = std::max(height, TextDrucken(c_, {.x = h.left + 5,
                                                       .y = y_ + 2 + kJoinedBelowHeading,
                                                       .text = joined,
                                                       .size = kDrugSize,
                                                       .maxWidth = h.width() - 4,
                                                       .lines = 9,
                                                       .measureOnly = kTrue}));
        if (y_ + 2 + kJoinedBelowHeading + height >= c_.bounds.intUntererRand)
            changeSheet();
    }

    y_ += 2;
    const std::string heading = "Angewandte Medikamente";
    for (const Half& h : halves(c_.bounds))
        TextDrucken(c_,
                    {.x = h.left, .y = y_, .text = heading, .size = kTextSize, .italic = kTrue});
    const double headingWidth = TextBreite(c_, heading, kTextSize, kFalse, kTrue);

    double boxY = 0;
    double lastLineTop = y_;
    double occupiedLeft = 0;
    if (record_.MediSeparateZeilen) {
        for (const std::string& s : texts) {
            pageTest(4);
            y_ += 4;
            double below = 0;
            for (const Half& h : halves(c_.bounds))
                below = std::max(below, belowFirstLine(TextDrucken(c_, {.x = h.left,
                                                                        .y = y_,
                                                                        .text = s,
                                                                        .size = kDrugSize,
                                                                        .maxWidth = h.width(),
                                                                        .lines = -1}),
                                                       s));
            y_ += below;
        }
        pageTest(4);
        y_ += 4;
        boxY = y_;
        lastLineTop = y_;
    } else {
        double below = 0;
        for (const Half& h : halves(c_.bounds))
            below = std::max(below, belowFirstLine(TextDrucken(c_, {.x = h.left + 5,
                                                                    .y = y_ + kJoinedBelowHeading,
                                                                    .text = joined,
                                                                    .size = kDrugSize,
                                                                    .maxWidth = h.width() - 4,
                                                                    .lines = 9}),
                                                   joined));
        // The periods stand on the heading's line, the drugs below it.
        boxY = y_ + 1;
        lastLineTop = y_ + kJoinedBelowHeading + below;
        occupiedLeft = headingWidth + 2;
    }

    const Periods greatest = greatestAppliedPeriods(t.medications, record_.alreadyDoubled);
    const std::string periods = "Fleisch " + formatShortest(greatest.meat, regional) + "   Milch " +
                                formatShortest(greatest.milk, regional);
    for (const Half& h : halves(c_.bounds)) {
        KastenDrucken(c_, h.right - periodWidth_, boxY, periodWidth_, 3.5, "", 0, kFalse,
                      kLightGrey);
        TextDrucken(c_, {.x = h.right,
                         .y = boxY,
                         .text = periods,
                         .align = 1,
                         .size = kDrugSize,
                         .bold = kTrue});
    }
    y_ = std::max(boxY, lastLineTop);
    if (record_.WZEndeZeigen)
        endDates(t, boxY, occupiedLeft, lastLineTop);
}

void TwoHalvesRecord::endDates(const Treatment& t, double boxY, double occupiedLeft,
                               double lastLineTop) {
    const Periods greatest = greatestAppliedPeriods(t.medications, record_.alreadyDoubled);
    const std::string s = endDatesText(date_, greatest);
    auto endX = [&](const Half& h) { return h.right - periodWidth_ - 1; };

    // Beside the period box when the line has room for them, else on a line
    // of their own below the drugs, still ending left of the box.
    bool beside = true;
    const double smallestWidth = TextBreite(c_, s, kSmallestEndDateSize);
    for (const Half& h : halves(c_.bounds)) {
        if (smallestWidth >= endX(h) - (h.left + occupiedLeft))
            beside = false;
    }
    double lineY = boxY;
    if (!beside) {
        y_ = std::max(boxY, lastLineTop);
        pageTest(4);
        y_ += 4;
        lineY = y_;
        occupiedLeft = 0;
    }
    for (const Half& h : halves(c_.bounds))
        TextDrucken(c_, {.x = endX(h),
                         .y = lineY,
                         .text = s,
                         .align = 1,
                         .size = kDrugSize,
                         .maxWidth = std::max(endX(h) - (h.left + occupiedLeft), 1.0),
                         .lines = 1});
}

void TwoHalvesRecord::dispensedSection(const Treatment& t) {
    const std::vector<const MedicationRow*> dispensed = rowsWithStatus(t, kAbgegeben);
    if (dispensed.empty())
        return;
    pageTest(kSectionRoom);
    // The heading goes with its first drug to a new sheet when that does not fit.
    const double start = y_;
    y_ += 5;
    dispensedBlock(*dispensed.front(), true);
    const double firstEnd = y_ + 4;
    y_ = start;
    if (firstEnd >= c_.bounds.intUntererRand)
        changeSheet();

    y_ += 5;
    for (const Half& h : halves(c_.bounds))
        TextDrucken(c_, {.x = h.left,
                         .y = y_,
                         .text = "Abgegebene Medikamente",
                         .size = kTextSize,
                         .italic = kTrue});
    for (const MedicationRow* row : dispensed) {
        // Each dispensed drug with its periods, instructions and the keeper's
        // table stays together on one sheet.
        const double start = y_;
        dispensedBlock(*row, true);
        const double end = y_ + 4;
        y_ = start;
        if (end >= c_.bounds.intUntererRand)
            changeSheet();
        dispensedBlock(*row, false);
    }
}

void TwoHalvesRecord::dispensedBlock(const MedicationRow& row, bool measure) {
    const Regional& regional = c_.services.regional;
    const std::string drug = medicationText(row, regional, true);
    const Periods p = rowPeriods(row, record_.alreadyDoubled);
    const std::string periods = periodsText(p, regional);

    y_ += 4;
    double below = 0;
    for (const Half& h : halves(c_.bounds)) {
        const double x = h.left + 5;
        const double boxLeft = h.right - periodWidth_;
        below =
            std::max(below, belowFirstLine(TextDrucken(c_, {.x = x,
                                                            .y = y_,
                                                            .text = drug,
                                                            .size = kDrugSize,
                                                            .maxWidth = std::max(boxLeft - x, 1.0),
                                                            .lines = 3,
                                                            .measureOnly = measure}),
                                           drug));
        if (!measure)
            KastenDrucken(c_, boxLeft, y_, periodWidth_, 3.5, "", 0, kFalse, kLightGrey);
        TextDrucken(c_, {.x = h.right,
                         .y = y_,
                         .text = periods,
                         .align = 1,
                         .size = kDrugSize,
                         .bold = kTrue,
                         .measureOnly = measure});
    }
    y_ += below;

    const std::string instructions(trimBlanks(row.Anwendungsanweisung));
    if (!instructions.empty()) {
        const std::string s = "Anwendungsanweisung: " + instructions;
        y_ += 4;
        below = 0;
        for (const Half& h : halves(c_.bounds)) {
            const double x = h.left + 5;
            below = std::max(below, belowFirstLine(TextDrucken(c_, {.x = x,
                                                                    .y = y_,
                                                                    .text = s,
                                                                    .size = kDrugSize,
                                                                    .maxWidth = h.right - x,
                                                                    .lines = 9,
                                                                    .measureOnly = measure}),
                                                   s));
        }
        y_ += below;
    }
    if (record_.BereichFuerTierhalter)
        keeperTable(measure);
}

void TwoHalvesRecord::keeperTable(bool measure) {
    y_ += 16;
    if (!measure) {
        static const std::array<const char*, 5> captions{"Identität der Tiere", "Datum von - bis",
                                                         "Menge", "Unterschrift Anw.",
                                                         "Wartezeit endet am"};
        // Only the left copy carries the table for recording the use of the
        // dispensed drug.
        const Half h = leftHalf(c_.bounds);
        const double column = (h.width() - 12) / 5;
        for (std::size_t i = 0; i < captions.size(); ++i) {
            const double x = h.left + static_cast<double>(i) * (column + 3);
            LinieDrucken(c_, x, x + column, y_ - 0.5, kFalse);
            // Made smaller, if need be, to keep each caption on one line in its column.
            TextDrucken(c_, {.x = x,
                             .y = y_,
                             .text = ansi(captions[i]),
                             .align = 21,
                             .size = kKeeperCaptionSize,
                             .maxWidth = column,
                             .lines = 1});
        }
    }
    y_ += 2;
}

}  // namespace lumaro

#include "documents/withdrawal/sheets/withdrawal_sheets.h"

#include "documents/withdrawal/sheets/sheet_pages.h"
#include "printing/drawing.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "support/regional.h"
#include "support/run_log.h"
#include "support/trim.h"
#include "xml/xml_tags.h"

namespace lumaro {

WithdrawalSheets::WithdrawalSheets(Context& c, WithdrawalRunState& state, const SheetStyle& style)
    : c_(c), state_(state), style_(style) {}

bool WithdrawalSheets::run(const std::string& fileText) {
    try {
        Messages& messages = c_.services.messages;
        XmlCutter records(messages, fileText);
        std::string recordText;
        while (records.next(kWartezeitenzettel, recordText, true)) {
            record_ = readRecord(messages, recordText);
            // A record without any applied or dispensed drug is no record of
            // this kind; nothing of it is printed and the file stays.
            if (dateCaption(record_).empty())
                return false;
            if (printRecord() == Outcome::Refused)
                return false;
            c_.printer.setDocument({style_.kind, record_.LFBIS, record_.LaufendeNummer});
            c_.printer.endDoc();
        }
        return true;
    } catch (const SheetHeadFailed&) {
        return false;
    } catch (const RuntimeError& e) {
        const std::string report = formatErrorText(e, style_.procedure, "in Modul");
        Protokollieren(c_.services, report, 4);
        c_.services.messages.show(report, "", MessageIcon::Stop);
        return false;
    }
}

WithdrawalSheets::Outcome WithdrawalSheets::printRecord() {
    const int copyCount = copies();
    for (copy_ = 1; copy_ <= copyCount; ++copy_) {
        page_ = 1;
        if (copy_ > 1)
            c_.printer.newPage();
        if (!firstPageHead())
            throw SheetHeadFailed{};
        if (copy_ == 1) {
            edge_ = style_.rightTextEdge;
            c_.bounds.intRechterRand = edge_;
        }
        dateLine();
        customerBlock();
        // Every copy reads the treatments afresh from the record.
        XmlCutter treatments(c_.services.messages, record_.text);
        std::string treatmentText;
        while (treatments.next(kBehandlung, treatmentText, true)) {
            if (treatment(treatmentText) == Outcome::Refused)
                return Outcome::Refused;
        }
        closingPart();
        if (page_ > 1)
            pageFoot();
    }
    return Outcome::Printed;
}

void WithdrawalSheets::changePage() {
    pageFoot();
    nextPage();
}

void WithdrawalSheets::changePageIfReached(double margin) {
    if (height_ + margin >= bottom())
        changePage();
}

double WithdrawalSheets::keptWhole(TextSpec spec) {
    spec.y = height_;
    spec.measureOnly = kTrue;
    changePageIfReached(TextDrucken(c_, spec));
    spec.y = height_;
    spec.measureOnly = kFalse;
    return TextDrucken(c_, spec);
}

void WithdrawalSheets::signatureLine(double x, double width, double y, const std::string& caption,
                                     std::int16_t size) {
    LinieDrucken(c_, x, x + width, y - 0.5, kFalse);
    TextDrucken(c_, {.x = x,
                     .y = y,
                     .text = caption,
                     .align = 21,
                     .size = size,
                     .italic = kTrue,
                     .maxWidth = width});
}

Periods WithdrawalSheets::appliedHead(const Treatment& t, std::int16_t captionSize,
                                      std::int16_t periodsSize) {
    changePageIfReached(6);
    const Periods greatest = greatestAppliedPeriods(t.medications, record_.alreadyDoubled);
    TextDrucken(c_, {.x = left(),
                     .y = height_,
                     .text = "Angewandte Medikamente und Darreichungsform:",
                     .size = captionSize,
                     .italic = kTrue});
    KastenDrucken(c_, edge() - headingWidth_, height_, headingWidth_, 4, "", 0, kFalse, kLightGrey);
    TextDrucken(c_, {.x = edge(),
                     .y = height_ + 0.5,
                     .text = periodsText(greatest, c_.services.regional),
                     .align = 1,
                     .size = periodsSize,
                     .bold = kTrue});
    return greatest;
}

void WithdrawalSheets::dateLine() {
    c_.printer.setFontName(kDocumentFont);
    TextDrucken(c_, {.x = left(),
                     .y = 32,
                     .text = dateCaption(record_) + " " + record_.BehandlungsDatum,
                     .size = 9,
                     .bold = kTrue});
    if (!record_.LaufendeNummer.empty() && record_.LaufendeNummerZeigen)
        TextDrucken(c_, {.x = edge(),
                         .y = 32,
                         .text = "Nr.:  " + record_.LaufendeNummer,
                         .align = 1,
                         .size = style_.runningNumberSize,
                         .bold = kTrue});
}

void WithdrawalSheets::customerBlock() {
    height_ = record_.KurzeUeberschrift ? style_.customerTopShortTitle : style_.customerTop;
    TextDrucken(
        c_,
        {.x = edge(), .y = height_, .text = record_.LFBIS, .align = 1, .size = style_.lfbisSize});
    const double lfbisWidth = TextBreite(c_, record_.LFBIS, style_.lfbisSize);
    TextDrucken(c_, {.x = edge() - lfbisWidth,
                     .y = height_ + 0.5,
                     .text = "LFBIS: ",
                     .align = 1,
                     .size = style_.lfbisCaptionSize});
    TextDrucken(c_, {.x = left(),
                     .y = height_,
                     .text = record_.KundeName,
                     .size = style_.customerSize,
                     .maxWidth = edge() - left() - 2 * lfbisWidth});
    height_ += style_.afterCustomerName;
    TextDrucken(c_, {.x = left(),
                     .y = height_,
                     .text = record_.Adresse,
                     .size = style_.customerSize,
                     .maxWidth = edge() - left()});
    height_ += 5;
}

WithdrawalSheets::Outcome WithdrawalSheets::treatment(const std::string& treatmentText) {
    height_ += 4;
    if (trimBlanks(record_.BehandlungsDatum).empty()) {
        c_.services.messages.show(ansi("Ungültiges Behandlungsdatum!"), "", MessageIcon::Stop);
        return Outcome::Refused;
    }
    const CalendarDay date = parseTreatmentDate(record_.BehandlungsDatum);
    const Treatment t = readTreatment(c_.services.messages, c_.services.regional, treatmentText);
    LinieDrucken(c_, left(), edge(), height_ - 4, kFalse);

    animals(t);
    const double diagnosisX = diagnosisLine(t);
    monitoring(t, diagnosisX);
    periodHeading();
    if (t.hasApplied)
        appliedSection(t, date);
    if (t.hasDispensed)
        dispensedSection(t);
    return Outcome::Printed;
}

void WithdrawalSheets::animals(const Treatment& t) {
    const std::string label = ansi("Identität:");
    const std::int16_t size = style_.textSize;
    const double x = left() + TextBreite(c_, label, size, kFalse, kTrue) + 2;
    auto block = [&](bool measure) {
        const double labelHeight = TextDrucken(c_, {.x = left(),
                                                    .y = height_,
                                                    .text = label,
                                                    .size = size,
                                                    .italic = kTrue,
                                                    .measureOnly = measure});
        const double animalsHeight = TextDrucken(c_, {.x = x,
                                                      .y = height_,
                                                      .text = t.animals,
                                                      .size = size,
                                                      .maxWidth = edge() - x,
                                                      .lines = -1,
                                                      .measureOnly = measure});
        // Only an empty text advances by the caption. A word wider than the
        // line makes the wrapping give back 0, and the height then advances by
        // 0, as for the diagnosis and the instructions.
        return t.animals.empty() ? labelHeight : animalsHeight;
    };
    if (height_ + block(true) >= bottom() - 1)
        changePage();
    height_ += block(false);
    changePageIfReached(5);
    height_ += style_.afterAnimals;
}

double WithdrawalSheets::diagnosisLine(const Treatment& t) {
    const std::int16_t size = style_.textSize;
    double kept = 0;
    if (!t.BehandlungsNummer.empty()) {
        const std::string number = "Behandlung Nr. " + t.BehandlungsNummer;
        TextDrucken(c_, {.x = edge(), .y = height_, .text = number, .align = 1, .size = size});
        kept = TextBreite(c_, number, size) + 2;
    }
    const std::string label = "Diagnose:";
    TextDrucken(c_, {.x = left(), .y = height_, .text = label, .size = size, .italic = kTrue});
    const double x = left() + TextBreite(c_, label, size, kFalse, kTrue) + 2;
    height_ += TextDrucken(c_, {.x = x,
                                .y = height_,
                                .text = t.Diagnose,
                                .size = size,
                                .bold = kTrue,
                                .maxWidth = edge() - kept - x,
                                .lines = -1});
    return x;
}

void WithdrawalSheets::monitoring(const Treatment& t, double x) {
    if (!trimBlanks(t.Monitoring).empty()) {
        changePageIfReached(5);
        height_ += TextDrucken(c_, {.x = x,
                                    .y = height_,
                                    .text = "Gesundheitsmonitoring Rind: " + t.Monitoring,
                                    .size = style_.monitoringSize,
                                    .maxWidth = edge() - x,
                                    .lines = -1});
    }
    height_ += style_.afterMonitoring;
}

void WithdrawalSheets::periodHeading() {
    changePageIfReached(6);
    const std::int16_t size = style_.headingSize;
    const std::string heading = "  Wartezeiten in Tagen  ";
    headingWidth_ = TextBreite(c_, heading, size, kTrue);
    const double boxLeft = edge() - headingWidth_;
    KastenDrucken(c_, boxLeft, height_, headingWidth_, 4, "", 0, kFalse, kLightGrey);
    TextDrucken(c_, {.x = edge(),
                     .y = height_ + 0.5,
                     .text = heading,
                     .align = 1,
                     .size = size,
                     .bold = kTrue});

    const std::string notice = organicNotice(record_);
    if (!notice.empty()) {
        const double noticeEnd = boxLeft - 1;
        TextDrucken(c_, {.x = noticeEnd,
                         .y = height_ + 0.5,
                         .text = notice,
                         .align = 1,
                         .size = size,
                         .bold = kTrue});
        const double frameLeft = noticeEnd - TextBreite(c_, notice, size, kTrue) - 1;
        LinieDrucken(c_, frameLeft, boxLeft, height_, kFalse);
        LinieDrucken(c_, frameLeft, boxLeft, height_ + 4, kFalse);
        c_.printer.line(frameLeft, height_, frameLeft, height_ + 4);
    }
    height_ += style_.afterHeading;
}

void WithdrawalSheets::dispensedSection(const Treatment& t) {
    changePageIfReached(8);
    dispensedCaption();
    for (const MedicationRow& row : t.medications.rows()) {
        if (row.AbgabeStatus != kAbgegeben)
            continue;
        // Each dispensed drug with its periods, instructions and the keeper's
        // fields stays together on one page: measured first, then drawn.
        const double start = height_;
        dispensedBlock(row, true);
        const bool fits = height_ < bottom();
        height_ = start;
        if (!fits)
            changePage();
        dispensedBlock(row, false);
    }
}

void WithdrawalSheets::dispensedBlock(const MedicationRow& row, bool measure) {
    const Regional& regional = c_.services.regional;
    height_ += style_.beforeDispensedRow;
    const double rowHeight = TextDrucken(c_, {.x = left(),
                                              .y = height_,
                                              .text = medicationText(row, regional, false),
                                              .size = style_.dispensedRowSize,
                                              .bold = kTrue,
                                              .maxWidth = edge() - headingWidth_ - left() - 5,
                                              .lines = 3,
                                              .measureOnly = measure});
    height_ += rowHeight - 3.5;
    if (!measure)
        KastenDrucken(c_, edge() - headingWidth_, height_, headingWidth_, 4, "", 0, kFalse,
                      kLightGrey);
    const Periods p = rowPeriods(row, record_.alreadyDoubled);
    TextDrucken(c_, {.x = edge() - 0.5,
                     .y = height_ + 0.5,
                     .text = periodsText(p, regional),
                     .align = 1,
                     .size = style_.headingSize,
                     .bold = kTrue,
                     .measureOnly = measure});
    const std::string instructions(trimBlanks(row.Anwendungsanweisung));
    if (!instructions.empty()) {
        height_ += 4;
        height_ += TextDrucken(c_, {.x = left(),
                                    .y = height_,
                                    .text = "Anwendungsanweisung: " + instructions,
                                    .size = style_.instructionSize,
                                    .maxWidth = edge() - left() - 5,
                                    .lines = 5,
                                    .measureOnly = measure});
    }
    if (firstCopy() && record_.BereichFuerTierhalter)
        keeperArea(measure);
}

}  // namespace lumaro

#include "documents/withdrawal/sheets/withdrawal_sheets.h"

#include "documents/withdrawal/sheets/sheet_pages.h"
#include "printing/drawing.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "support/regional.h"
#include "support/run_log.h"
#include "xml/xml_tags.h"

namespace lumaro {

namespace {

constexpr std::int32_t kLightGrey = 0xC0C0C0;

std::int16_t flag(bool on) {
    return on ? kTrue : kFalse;
}

}  // namespace

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

double WithdrawalSheets::text(double x, double y, const std::string& s, std::int16_t align,
                              std::int16_t size, bool bold, bool italic, double maxWidth,
                              std::int16_t lines, bool measure) {
    return TextDrucken(c_, x, y, s, align, size, flag(bold), flag(italic), maxWidth, 0, lines,
                       kFalse, flag(measure), 0);
}

double WithdrawalSheets::widthOf(const std::string& s, double size, bool bold, bool italic) {
    return TextBreite(c_, s, size, flag(bold), flag(italic));
}

void WithdrawalSheets::greyBox(double x, double y, double width, double height) {
    KastenDrucken(c_, x, y, width, height, "", 0, kFalse, kLightGrey);
}

void WithdrawalSheets::changePage() {
    pageFoot();
    nextPage();
}

void WithdrawalSheets::changePageIfReached(double margin) {
    if (height_ + margin >= bottom())
        changePage();
}

void WithdrawalSheets::signatureLine(double x, double width, double y, const std::string& caption,
                                     std::int16_t size) {
    LinieDrucken(c_, x, x + width, y - 0.5, kFalse);
    text(x, y, caption, 21, size, false, true, width);
}

void WithdrawalSheets::dateLine() {
    c_.printer.setFontName("Veranda");
    text(left(), 32, dateCaption(record_) + " " + record_.BehandlungsDatum, 0, 9, true);
    if (!record_.LaufendeNummer.empty() && record_.LaufendeNummerZeigen)
        text(edge(), 32, "Nr.:  " + record_.LaufendeNummer, 1, style_.runningNumberSize, true);
}

void WithdrawalSheets::customerBlock() {
    height_ = record_.KurzeUeberschrift ? style_.customerTopShortTitle : style_.customerTop;
    text(edge(), height_, record_.LFBIS, 1, style_.lfbisSize);
    const double lfbisWidth = widthOf(record_.LFBIS, style_.lfbisSize);
    text(edge() - lfbisWidth, height_ + 0.5, "LFBIS: ", 1, style_.lfbisCaptionSize);
    text(left(), height_, record_.KundeName, 0, style_.customerSize, false, false,
         edge() - left() - 2 * lfbisWidth);
    height_ += style_.afterCustomerName;
    text(left(), height_, record_.Adresse, 0, style_.customerSize, false, false, edge() - left());
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
    const double x = left() + widthOf(label, size, false, true) + 2;
    auto block = [&](bool measure) {
        const double labelHeight =
            text(left(), height_, label, 0, size, false, true, 0, 0, measure);
        const double animalsHeight =
            text(x, height_, t.animals, 0, size, false, false, edge() - x, -1, measure);
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
        text(edge(), height_, number, 1, size);
        kept = widthOf(number, size) + 2;
    }
    const std::string label = "Diagnose:";
    text(left(), height_, label, 0, size, false, true);
    const double x = left() + widthOf(label, size, false, true) + 2;
    height_ += text(x, height_, t.Diagnose, 0, size, true, false, edge() - kept - x, -1);
    return x;
}

void WithdrawalSheets::monitoring(const Treatment& t, double x) {
    if (!trimBlanks(t.Monitoring).empty()) {
        changePageIfReached(5);
        height_ += text(x, height_, "Gesundheitsmonitoring Rind: " + t.Monitoring, 0,
                        style_.monitoringSize, false, false, edge() - x, -1);
    }
    height_ += style_.afterMonitoring;
}

void WithdrawalSheets::periodHeading() {
    changePageIfReached(6);
    const std::int16_t size = style_.headingSize;
    const std::string heading = "  Wartezeiten in Tagen  ";
    headingWidth_ = widthOf(heading, size, true);
    const double boxLeft = edge() - headingWidth_;
    greyBox(boxLeft, height_, headingWidth_, 4);
    text(edge(), height_ + 0.5, heading, 1, size, true);

    const std::string notice = organicNotice(record_);
    if (!notice.empty()) {
        const double noticeEnd = boxLeft - 1;
        text(noticeEnd, height_ + 0.5, notice, 1, size, true);
        const double frameLeft = noticeEnd - widthOf(notice, size, true) - 1;
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
    const double rowHeight =
        text(left(), height_, medicationText(row, regional, false), 0, style_.dispensedRowSize,
             true, false, edge() - headingWidth_ - left() - 5, 3, measure);
    height_ += rowHeight - 3.5;
    if (!measure)
        greyBox(edge() - headingWidth_, height_, headingWidth_, 4);
    const Periods p = rowPeriods(row, record_.alreadyDoubled);
    text(edge() - 0.5, height_ + 0.5,
         "Fleisch " + formatShortest(p.meat, regional) + "  /  Milch " +
             formatShortest(p.milk, regional),
         1, style_.headingSize, true, false, 0, 0, measure);
    const std::string instructions = trimBlanks(row.Anwendungsanweisung);
    if (!instructions.empty()) {
        height_ += 4;
        height_ += text(left(), height_, "Anwendungsanweisung: " + instructions, 0,
                        style_.instructionSize, false, false, edge() - left() - 5, 5, measure);
    }
    if (firstCopy() && record_.BereichFuerTierhalter)
        keeperArea(measure);
}

}  // namespace lumaro

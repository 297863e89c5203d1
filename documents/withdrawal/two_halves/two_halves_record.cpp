// The record's frame: the first sheet's head, the top block, the sheet
// changes and the closing block at the bottom of the last sheet. The
// treatments are in two_halves_treatment.cpp.
#include <algorithm>

#include "documents/withdrawal/two_halves/two_halves_record.h"
#include "printing/drawing.h"
#include "support/codepage.h"
#include "support/trim.h"
#include "templates/templates.h"
#include "xml/xml_tags.h"

namespace lumaro {

namespace {

constexpr std::int16_t kHeadingSize = 8;
// Room above the signature rules that the content must leave free, so that
// there is space to sign.
constexpr double kSigningRoom = 10;
// A line of ordinary text, used where the end of the last line is needed.
constexpr double kLinePitch = 4;

}  // namespace

double WartezeitenKopfDrucken(Context& c, double& y, const WithdrawalRecord& record,
                              double occupiedLeft) {
    const std::string heading = "  Wartezeiten in Tagen  ";
    const double width = TextBreite(c, heading, kHeadingSize, kTrue, kFalse);
    const std::string notice = record.organic ? " " + organicNotice(record) : std::string();
    const double noticeWidth =
        notice.empty() ? 0 : TextBreite(c, notice, kHeadingSize, kTrue, kFalse);

    bool ownLine = record.alreadyDoubled;
    for (const Half& h : halves(c.bounds)) {
        const double needed = occupiedLeft + 2 + (notice.empty() ? 0 : noticeWidth + 2) + width;
        if (needed > h.width())
            ownLine = true;
    }
    if (ownLine)
        y += 5;

    for (const Half& h : halves(c.bounds)) {
        const double boxLeft = h.right - width;
        KastenDrucken(c, boxLeft, y, width, 4, "", 0, kFalse, kLightGrey);
        TextDrucken(c, {.x = h.right,
                        .y = y + 0.5,
                        .text = heading,
                        .align = 1,
                        .size = kHeadingSize,
                        .bold = kTrue});
        if (notice.empty())
            continue;
        // The notice may be too long for the half beside the heading; it is
        // made smaller rather than run into the other half.
        const double noticeRight = boxLeft - 1;
        const double room = noticeRight - (h.left + (ownLine ? 0 : occupiedLeft + 2)) - 1;
        TextDrucken(c, {.x = noticeRight,
                        .y = y + 0.5,
                        .text = notice,
                        .align = 1,
                        .size = kHeadingSize,
                        .bold = kTrue,
                        .maxWidth = std::max(room, 1.0),
                        .lines = 1});
        const double frameLeft = noticeRight - c.printer.textWidth(notice) - 1;
        LinieDrucken(c, frameLeft, boxLeft, y, kFalse);
        LinieDrucken(c, frameLeft, boxLeft, y + 4, kFalse);
        c.printer.line(frameLeft, y, frameLeft, y + 4);
    }
    return width;
}

TwoHalvesRecord::TwoHalvesRecord(Context& c, const WithdrawalRecord& record, CalendarDay date,
                                 bool middleBreak)
    : c_(c), record_(record), date_(date), middleBreak_(middleBreak) {}

void TwoHalvesRecord::print() {
    page_ = 1;
    const double headBottom =
        Kopf2xA5Drucken(c_, record_.templates, record_.Eigentum1, record_.Eigentum2, middleBreak_);
    topBlock(headBottom);
    XmlCutter treatments(c_.services.messages, record_.text);
    std::string treatmentText;
    while (treatments.next(kBehandlung, treatmentText, true))
        treatment(readTreatment(c_.services.messages, c_.services.regional, treatmentText));
    closingBlock();
}

void TwoHalvesRecord::topBlock(double headBottom) {
    const WithdrawalRecord& r = record_;
    y_ = headBottom + 5;
    for (const Half& h : halves(c_.bounds)) {
        TextDrucken(c_, {.x = h.left,
                         .y = y_,
                         .text = "Datum: " + r.BehandlungsDatum,
                         .size = 9,
                         .bold = kTrue});
        if (r.LaufendeNummerZeigen && !r.LaufendeNummer.empty())
            TextDrucken(c_, {.x = h.right,
                             .y = y_,
                             .text = "Nr.: " + r.LaufendeNummer,
                             .align = 1,
                             .size = 9,
                             .bold = kTrue});
    }
    y_ += 7;

    const double valueWidth = TextBreite(c_, r.LFBIS, 10);
    for (const Half& h : halves(c_.bounds)) {
        TextDrucken(c_, {.x = h.right, .y = y_, .text = r.LFBIS, .align = 1, .size = 10});
        TextDrucken(
            c_,
            {.x = h.right - valueWidth, .y = y_ + 0.5, .text = "LFBIS: ", .align = 1, .size = 8});
    }
    // In the left half the name keeps clear of the farm number; in the right
    // half it may use the whole width. A farm number so wide that no room is
    // left gives no limit (a width of 0 or less): the name is printed whole,
    // as on the A4 and A5 sheets, rather than not at all.
    const Half left = leftHalf(c_.bounds);
    const Half right = rightHalf(c_.bounds);
    TextDrucken(c_, {.x = left.left,
                     .y = y_,
                     .text = r.KundeName,
                     .size = 10,
                     .maxWidth = left.width() - 2 * valueWidth});
    TextDrucken(
        c_, {.x = right.left, .y = y_, .text = r.KundeName, .size = 10, .maxWidth = right.width()});
    y_ += 4;

    for (const Half& h : halves(c_.bounds))
        TextDrucken(c_,
                    {.x = h.left, .y = y_, .text = r.Adresse, .size = 10, .maxWidth = h.width()});
    // The period heading shares the address line when there is room beside it.
    const bool noAddress = trimBlanks(r.Adresse).empty();
    const double addressWidth =
        noAddress ? 0
                  : std::min(TextBreite(c_, r.Adresse, 10), std::min(left.width(), right.width()));
    periodWidth_ = WartezeitenKopfDrucken(c_, y_, r, addressWidth);
    y_ += 6;
}

void TwoHalvesRecord::closingBlock() {
    const PageBounds& b = c_.bounds;
    // The foot templates and the closing block stand together on the last
    // sheet: when the content reaches either, they go to a new sheet.
    double footTop = b.intUntererRand;
    DokuFussHinzufuegen(c_, record_.templates, kHeadFootLimit, footTop, kTrue);
    // Measuring sets the templates' fonts and colours; the closing block and
    // its rules are the sheet's own.
    restoreSheetFont(c_);
    const double closingTop = b.intUntererRand - 5.5 - kSigningRoom;
    if (y_ + kLinePitch >= std::min(closingTop, footTop))
        changeSheet();

    const double bottom = c_.bounds.intUntererRand;
    const Half left = leftHalf(c_.bounds);
    const Half right = rightHalf(c_.bounds);
    const double signWidth = (c_.bounds.intMitteLinks - c_.bounds.intLinkerRand - 10) * 0.4;
    const double vetLineX = left.right - signWidth;
    const double keeperLineX = right.right - signWidth;
    LinieDrucken(c_, vetLineX, left.right, bottom - 5.5, kFalse);
    TextDrucken(c_, {.x = vetLineX,
                     .y = bottom - 5,
                     .text = "Unterschrift Tierarzt",
                     .align = 21,
                     .size = 8,
                     .italic = kTrue,
                     .maxWidth = signWidth});
    LinieDrucken(c_, keeperLineX, right.right, bottom - 5.5, kFalse);
    TextDrucken(c_, {.x = keeperLineX,
                     .y = bottom - 5,
                     .text = "Unterschrift Tierhalter",
                     .align = 21,
                     .size = 8,
                     .italic = kTrue,
                     .maxWidth = signWidth});

    // The right half names the field even without a number, leaving room to
    // write it in.
    const std::string& number = record_.TierarztNummer;
    if (!number.empty())
        TextDrucken(c_, {.x = left.left,
                         .y = bottom - 5,
                         .text = "Tierarzt-Nr.:",
                         .align = 21,
                         .size = 8,
                         .maxWidth = left.width()});
    TextDrucken(c_, {.x = right.left,
                     .y = bottom - 5,
                     .text = "Tierarzt-Nr.:",
                     .align = 21,
                     .size = 8,
                     .maxWidth = right.width()});
    TextDrucken(c_, {.x = left.left, .y = bottom - 3, .text = "Programmierung:", .size = 6});
    TextDrucken(c_, {.x = left.left, .y = bottom - 1, .text = kWebAddress, .size = 6});

    TextDrucken(c_, {.x = vetLineX,
                     .y = bottom - 1,
                     .text = record_.TierarztName,
                     .align = 21,
                     .size = 8,
                     .maxWidth = signWidth});
    TextDrucken(c_, {.x = right.left, .y = bottom - 1, .text = record_.TierarztName, .size = 8});
    for (const Half& h : halves(c_.bounds))
        TextDrucken(c_, {.x = h.left,
                         .y = bottom - 1,
                         .text = number,
                         .align = 21,
                         .size = 8,
                         .maxWidth = h.width()});

    DokuFussHinzufuegen(c_, record_.templates, kHeadFootLimit, footTop, kFalse);
}

void TwoHalvesRecord::changeSheet() {
    Fuss2xA5Drucken(c_, page_, record_.LFBIS);
    page_ = Seitenwechsel2xA5(c_, page_, record_.LFBIS, y_);
}

void TwoHalvesRecord::pageTest(double margin) {
    if (y_ + margin >= c_.bounds.intUntererRand)
        changeSheet();
}

double TwoHalvesRecord::belowFirstLine(double used, const std::string& s) {
    if (used <= 0)
        return 0;
    return std::max(0.0, used - c_.printer.textHeight(s));
}

}  // namespace lumaro

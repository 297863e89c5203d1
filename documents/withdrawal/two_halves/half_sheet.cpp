#include "documents/withdrawal/two_halves/half_sheet.h"

#include <cmath>

#include "printing/drawing.h"
#include "templates/templates.h"

namespace lumaro {

namespace {

constexpr std::int16_t kMargin = 10;
// Half the gap between the halves: the left half ends this far left of the
// sheet's middle, the right half starts this far right of it.
constexpr int kHalfGap = 10;
constexpr std::int16_t kTop = 30;
constexpr double kContinuationCaptionY = 7;
constexpr double kContinuationRuleY = 12;

std::int16_t rounded(double v) {
    return static_cast<std::int16_t>(std::nearbyint(v));
}

void setUpHalves(Context& c, bool firstSheet) {
    setUpSheet(c, firstSheet ? 2 : 0, 297, 210);
    PrintSurface& p = c.printer;

    PageBounds& b = c.bounds;
    const double width = p.scaleWidth();
    // The middle of the sheet in whole units, as the halves are counted.
    const int middle = static_cast<int>(std::lround(width)) / 2;
    b.intLinkerRand = kMargin;
    b.intRechterRand = rounded(width - kMargin);
    b.intObererRand = kTop;
    b.intUntererRand = rounded(p.scaleHeight() - kMargin);
    b.intMitteLinks = static_cast<std::int16_t>(middle - kHalfGap);
    b.intMitteRechts = static_cast<std::int16_t>(middle + kHalfGap);
    p.setScaleWidth(b.intRechterRand + kMargin);
    p.setScaleHeight(b.intUntererRand + kMargin);
}

// Farm number centred and page number at the right edge of each half.
void pageCaptions(Context& c, double y, std::int16_t page, const std::string& lfbis) {
    c.printer.setFontName(kDocumentFont);
    for (const Half& h : halves(c.bounds)) {
        TextDrucken(c, {.x = h.left,
                        .y = y,
                        .text = "LFBIS: " + lfbis,
                        .align = 21,
                        .size = 8,
                        .maxWidth = h.width()});
        TextDrucken(c, {.x = h.right, .y = y, .text = sheetCaption(page), .align = 1, .size = 8});
    }
}

}  // namespace

Half leftHalf(const PageBounds& b) {
    return {static_cast<double>(b.intLinkerRand), static_cast<double>(b.intMitteLinks)};
}

Half rightHalf(const PageBounds& b) {
    return {static_cast<double>(b.intMitteRechts), static_cast<double>(b.intRechterRand)};
}

std::array<Half, 2> halves(const PageBounds& b) {
    return {leftHalf(b), rightHalf(b)};
}

void restoreSheetFont(Context& c) {
    c.printer.setFontName(kDocumentFont);
    c.printer.setForeColor(0);
}

void Seitenmasse2xA5(Context& c) {
    setUpHalves(c, false);
}

double Kopf2xA5Drucken(Context& c, const std::string& vorlage, const std::string& eigentum1,
                       const std::string& eigentum2, bool middleBreak) {
    setUpHalves(c, true);
    PageBounds& b = c.bounds;

    // The owner lines stand in the right half only; the left half's head
    // comes from the templates.
    const Half right = rightHalf(b);
    TextDrucken(c, {.x = right.left,
                    .y = 11,
                    .text = eigentum1,
                    .align = 21,
                    .size = 10,
                    .bold = kTrue,
                    .maxWidth = right.width()});
    const double used = TextDrucken(c, {.x = right.left,
                                        .y = 15,
                                        .text = eigentum2,
                                        .align = 21,
                                        .size = 10,
                                        .bold = kTrue,
                                        .maxWidth = right.width()});
    const double belowOwner = 15 + used + 1;
    if (belowOwner > b.intObererRand)
        b.intObererRand = rounded(belowOwner);

    LinieDrucken(c, b.intLinkerRand, b.intMitteLinks, b.intObererRand, kFalse);
    if (middleBreak) {
        LinieDrucken(c, kNarrowRightHalfLeft, kNarrowRightHalfRight, b.intObererRand, kFalse);
        b.intMitteRechts = kNarrowRightHalfLeft;
        b.intRechterRand = kNarrowRightHalfRight;
    } else {
        LinieDrucken(c, b.intMitteRechts, b.intRechterRand, b.intObererRand, kFalse);
    }

    // The content starts below the rules even when the templates end higher.
    double headBottom = b.intObererRand;
    DokuKopfHinzufuegen(c, vorlage, kHeadFootLimit, headBottom);
    restoreSheetFont(c);
    return headBottom;
}

void Fuss2xA5Drucken(Context& c, std::int16_t page, const std::string& lfbis) {
    const double bottom = c.bounds.intUntererRand;
    for (const Half& h : halves(c.bounds))
        LinieDrucken(c, h.left, h.right, bottom, kFalse);
    pageCaptions(c, bottom + 2, page, lfbis);
}

std::int16_t Seitenwechsel2xA5(Context& c, std::int16_t page, const std::string& lfbis, double& y) {
    const std::int16_t next = static_cast<std::int16_t>(page + 1);
    c.printer.newPage();
    Seitenmasse2xA5(c);
    pageCaptions(c, kContinuationCaptionY, next, lfbis);
    for (const Half& h : halves(c.bounds))
        LinieDrucken(c, h.left, h.right, kContinuationRuleY, kFalse);
    y = kContinuationRuleY;
    return next;
}

std::string sheetCaption(std::int16_t page) {
    return "Seite " + std::to_string(page);
}

}  // namespace lumaro

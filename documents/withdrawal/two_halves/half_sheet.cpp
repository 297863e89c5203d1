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

void restoreSheetFont(Context& c) {
    c.printer.setFontName("Veranda");
    c.printer.setForeColor(0);
}

void setUpSheet(Context& c, bool firstSheet) {
    PrintSurface& p = c.printer;
    p.setScaleMode(6);
    p.setFontName("Veranda");
    p.setFontSize(9);
    p.setFontItalic(false);
    p.setFontBold(false);
    // The orientation is chosen once per print job; a later sheet keeps it.
    if (firstSheet)
        p.setOrientation(2);
    p.setScaleHeight(210);
    p.setScaleWidth(297);

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

double text(Context& c, double x, double y, const std::string& s, std::int16_t align,
            std::int16_t size, bool bold = false, double maxWidth = 0) {
    return TextDrucken(c, x, y, s, align, size, bold ? kTrue : kFalse, kFalse, maxWidth, 0, 0,
                       kFalse, kFalse, 0);
}

// Farm number centred and page number at the right edge of each half.
void pageCaptions(Context& c, double y, std::int16_t page, const std::string& lfbis) {
    c.printer.setFontName("Veranda");
    for (const Half& h : halves(c.bounds)) {
        text(c, h.left, y, "LFBIS: " + lfbis, 21, 8, false, h.width());
        text(c, h.right, y, sheetCaption(page), 1, 8);
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

void Seitenmasse2xA5(Context& c) {
    setUpSheet(c, false);
}

double Kopf2xA5Drucken(Context& c, const std::string& vorlage, const std::string& eigentum1,
                       const std::string& eigentum2, bool middleBreak) {
    setUpSheet(c, true);
    PageBounds& b = c.bounds;

    // The owner lines stand in the right half only; the left half's head
    // comes from the templates.
    const Half right = rightHalf(b);
    text(c, right.left, 11, eigentum1, 21, 10, true, right.width());
    const double used = text(c, right.left, 15, eigentum2, 21, 10, true, right.width());
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

#include "documents/withdrawal/sheets/sheet_pages.h"

#include "printing/drawing.h"
#include "support/codepage.h"
#include "support/conversions.h"
#include "support/errors.h"
#include "support/run_log.h"
#include "templates/templates.h"

namespace lumaro {

namespace {

constexpr std::int16_t kLeftMargin = 10;
constexpr std::int16_t kTop = 30;

struct SheetGeometry {
    int orientation;
    double scaleWidth;
    double scaleHeight;
    std::int16_t rightTextEdge;
    std::int16_t legalLineSize;
};

const std::string& title(bool shortTitle) {
    static const std::string full =
        ansi("Aufzeichnungen über Anwendung und Abgabe von Tierarzneimittel");
    static const std::string brief =
        ansi("Nachweis über den Einsatz von Arzneimitteln bei Nutztieren");
    return shortTitle ? brief : full;
}

const std::string& legalLine() {
    static const std::string text = ansi(
        "gemäß Tierarzneimittelkontrollgesetz (§ 4 Absätze 6 und 7), "
        "Rückstandskontrollverordnung (§ 12), Lebensmittelgesetz (§ 15 Abs. 6) "
        "und Tierärztegesetz (§ 13)");
    return text;
}

// The first non-empty owner lines of the run are the ones printed: the host
// sometimes leaves them out of later records.
void rememberOwnerLines(WithdrawalRunState& state, const std::string& eigentum1,
                        const std::string& eigentum2) {
    if (state.eigentum1.empty())
        state.eigentum1 = eigentum1;
    if (state.eigentum2.empty())
        state.eigentum2 = eigentum2;
}

bool printHead(Context& c, WithdrawalRunState& state, const char* procedure, const SheetGeometry& g,
               std::int16_t page, const std::string& vorlage, const std::string& eigentum1,
               const std::string& eigentum2, bool secondCopy, bool shortTitle, bool upperHalfOnly) {
    try {
        // The orientation is chosen once per print job, by the vet's first page.
        setUpSheet(c, page == 1 && !secondCopy ? g.orientation : 0, g.scaleWidth, g.scaleHeight);

        c.bounds.intLinkerRand = kLeftMargin;
        c.bounds.intObererRand = kTop;
        c.bounds.intUntererRand =
            toInt16(upperHalfOnly ? g.scaleHeight / 2 - 10 : g.scaleHeight - 10);
        rememberOwnerLines(state, eigentum1, eigentum2);
        if (page != 1)
            return true;

        const double width = g.rightTextEdge - kLeftMargin;
        if (!secondCopy) {
            // The vet's copy carries the practice's own head, drawn from the
            // record's templates; without any the head area stays empty.
            if (!vorlage.empty())
                XMLVorlageHinzufuegen(c, vorlage, 0);
        } else {
            TextDrucken(c, {.x = kLeftMargin,
                            .y = 11,
                            .text = state.eigentum1,
                            .align = 21,
                            .size = 10,
                            .bold = kTrue,
                            .maxWidth = width});
            TextDrucken(c, {.x = kLeftMargin,
                            .y = 15,
                            .text = state.eigentum2,
                            .align = 21,
                            .size = 10,
                            .bold = kTrue,
                            .maxWidth = width});
        }
        TextDrucken(c, {.x = kLeftMargin,
                        .y = 37,
                        .text = title(shortTitle),
                        .align = 21,
                        .size = 8,
                        .bold = kTrue,
                        .maxWidth = width});
        const std::string legal = shortTitle ? std::string() : legalLine();
        const double legalHeight = TextInRahmenDrucken(c, {.x = kLeftMargin,
                                                           .y = 41,
                                                           .text = legal,
                                                           .align = 21,
                                                           .size = g.legalLineSize,
                                                           .maxWidth = width,
                                                           .lines = 5});
        if (legalHeight + 16 > c.bounds.intObererRand)
            c.bounds.intObererRand = toInt16(legalHeight + 16);
        LinieDrucken(c, kLeftMargin, g.rightTextEdge, c.bounds.intObererRand, kFalse);
        return true;
    } catch (const RuntimeError& e) {
        const std::string text = formatErrorText(e, procedure);
        Protokollieren(c.services, text, 4);
        c.services.messages.show(text, "", MessageIcon::Stop);
        return false;
    }
}

SheetGeometry a4Geometry() {
    return {1, 210, 297, kA4RightTextEdge, 6};
}

SheetGeometry a5Geometry() {
    return {2, 297, 210, a5RightTextEdge(), 8};
}

}  // namespace

std::int16_t a5RightTextEdge() {
    // The text stands in the left half of the landscape sheet, 15 short of
    // its middle: 10 + (287 - 10) / 2 - 15 = 133.5, which rounds to 134.
    const double left = kLeftMargin;
    const double rightMargin = 297 - 10;
    return toInt16(left + (rightMargin - left) / 2 - 15);
}

std::string pageCaption(std::int16_t page) {
    return "Seite  " + std::string(page >= 0 ? " " : "") + std::to_string(page);
}

bool KopfA4Drucken(Context& c, WithdrawalRunState& state, std::int16_t page,
                   const std::string& vorlage, const std::string& eigentum1,
                   const std::string& eigentum2, bool secondCopy, bool shortTitle,
                   bool upperHalfOnly) {
    return printHead(c, state, "KopfA4Drucken", a4Geometry(), page, vorlage, eigentum1, eigentum2,
                     secondCopy, shortTitle, upperHalfOnly);
}

bool KopfA5Drucken(Context& c, WithdrawalRunState& state, std::int16_t page,
                   const std::string& vorlage, const std::string& eigentum1,
                   const std::string& eigentum2, bool secondCopy, bool shortTitle) {
    return printHead(c, state, "KopfA5Drucken", a5Geometry(), page, vorlage, eigentum1, eigentum2,
                     secondCopy, shortTitle, false);
}

void FussA4Drucken(Context& c, double left, double bottom, const std::string& lfbis,
                   double /*rightTextEdge*/, std::int16_t page, const std::string& laufendeNummer) {
    LinieDrucken(c, left, left + 80, bottom, kFalse);
    TextDrucken(c, {.x = left, .y = bottom + 1, .text = pageCaption(page), .size = 6});
    TextDrucken(c, {.x = left + 80,
                    .y = bottom + 1,
                    .text = "LFBIS " + lfbis + "   " + laufendeNummer,
                    .align = 1,
                    .size = 6});
}

void FussA5Drucken(Context& c, double left, double bottom, const std::string& lfbis,
                   double rightTextEdge, std::int16_t page) {
    LinieDrucken(c, left, rightTextEdge, bottom, kFalse);
    TextDrucken(c, {.x = left,
                    .y = bottom + 1,
                    .text = "LFBIS: " + lfbis,
                    .align = 21,
                    .size = 8,
                    .maxWidth = rightTextEdge - left});
    TextDrucken(
        c, {.x = rightTextEdge, .y = bottom + 1, .text = pageCaption(page), .align = 1, .size = 8});
}

std::int16_t SeitenwechselA4(Context& c, WithdrawalRunState& state, std::int16_t page,
                             double& height, const std::string& vorlage,
                             const std::string& eigentum1, const std::string& eigentum2,
                             bool secondCopy, bool shortTitle, bool upperHalfOnly) {
    const auto next = static_cast<std::int16_t>(page + 1);
    c.printer.newPage();
    if (!KopfA4Drucken(c, state, next, vorlage, eigentum1, eigentum2, secondCopy, shortTitle,
                       upperHalfOnly))
        throw SheetHeadFailed{};
    height = 10;
    return next;
}

std::int16_t SeitenwechselA5(Context& c, WithdrawalRunState& state, std::int16_t page,
                             double& height, const std::string& vorlage,
                             const std::string& eigentum1, const std::string& eigentum2,
                             bool secondCopy) {
    const auto next = static_cast<std::int16_t>(page + 1);
    c.printer.newPage();
    if (!KopfA5Drucken(c, state, next, vorlage, eigentum1, eigentum2, secondCopy, false))
        throw SheetHeadFailed{};
    height = 10;
    return next;
}

}  // namespace lumaro

#include "printing/drawing.h"

#include <string>
#include <string_view>

#include "printing/line_wrap.h"
#include "printing/text_setup.h"
#include "printing/width_search.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "support/trim.h"

namespace lumaro {

namespace {

// Longer texts are cut before anything else; no document holds more in one call.
constexpr std::size_t kMaxTextLength = 1000;

}  // namespace

double TextDrucken(Context& c, const TextSpec& spec) {
    if (trimBlanks(spec.text).empty())
        return 0;
    const std::string text(spec.text.substr(0, kMaxTextLength));
    PrintSurface& s = c.printer;
    // Any fault from here on (the device, a word too wide for the width)
    // stops the text quietly; what was printed stays printed.
    try {
        setUpTextFont(
            s, {spec.size, spec.bold == kTrue, spec.italic == kTrue, spec.underline == kTrue}, text,
            spec.maxWidth, spec.lines, WrapRule::Strict);

        // The first line is aligned by the width of the whole text, even when
        // it is wrapped or cut afterwards.
        const auto x = alignedX(c.bounds, spec.align, spec.x, spec.maxWidth,
                                [&] { return s.textWidth(text); });
        if (!x) {
            c.services.messages.show(
                ansi("ungültiger Wert in") +
                    " FunktionenDrucker.General.TextDrucken: " + std::to_string(spec.align),
                "Fehler", MessageIcon::Stop);
        }
        s.setCurrentX(x.value_or(spec.x));
        s.setForeColor(spec.color > 0 ? spec.color : 0);
        if (spec.maxWidth == 0 && spec.lines != 0) {
            c.services.messages.show(
                ansi("Im Modul 'TextDrucken' fehlt die Breite des Textes. Bitte informieren Sie "
                     "den Programmierer!"),
                ansi("Funktion nicht vollständig"), MessageIcon::Information);
        }
        s.setCurrentY(spec.y);
        const double height = s.textHeight(text) + spec.lineSpacing;
        const double pitch = height + spec.lineSpacing;

        // Measuring moves the position as printing would, so that a caller
        // can measure a block and then draw it with the same result.
        const bool measureOnly = spec.measureOnly != 0;
        auto put = [&](const std::string& line) {
            if (measureOnly)
                s.setCurrentX(s.currentX() + s.textWidth(line));
            else
                s.print(line);
        };

        if (spec.maxWidth > 0 && spec.lines != 0) {
            const std::size_t lines =
                wrapLines(s, text, spec.maxWidth, WrapRule::Strict,
                          [&](std::string_view piece, std::size_t index, bool) {
                              if (index > 0) {
                                  s.setCurrentX(spec.x);
                                  s.setCurrentY(s.currentY() + pitch);
                              }
                              put(std::string(piece));
                          });
            return pitch * static_cast<double>(lines);
        }
        if (spec.maxWidth > 0) {
            put(cutWithEllipsis(s, text, spec.maxWidth));
            return height;
        }
        put(text);
        return height;
    } catch (const RuntimeError&) {
        return 0;
    }
}

void setUpSheet(Context& c, int orientation, double scaleWidth, double scaleHeight) {
    PrintSurface& p = c.printer;
    p.setScaleMode(6);
    p.setFontName(kDocumentFont);
    p.setFontSize(9);
    p.setFontItalic(false);
    p.setFontBold(false);
    if (orientation != 0)
        p.setOrientation(orientation);
    p.setScaleHeight(scaleHeight);
    p.setScaleWidth(scaleWidth);
}

double TextBreite(Context& c, const std::string& strText, double dblGroesse, std::int16_t bolFett,
                  std::int16_t bolKursiv) {
    PrintSurface& s = c.printer;
    s.setFontSize(dblGroesse);
    // Any value but 0 switches the style on here, as the surface takes it.
    s.setFontBold(bolFett != 0);
    s.setFontItalic(bolKursiv != 0);
    return s.textWidth(strText);
}

}  // namespace lumaro

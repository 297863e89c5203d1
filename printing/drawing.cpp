#include "printing/drawing.h"

#include <string>
#include <string_view>

#include "printing/line_wrap.h"
#include "printing/text_setup.h"
#include "printing/width_search.h"
#include "support/codepage.h"
#include "support/errors.h"

namespace lumaro {

namespace {

// Longer texts are cut before anything else; no document holds more in one call.
constexpr std::size_t kMaxTextLength = 1000;

bool blankOnly(const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

double TextDrucken(Context& c, double dblX, double dblY, const std::string& strText,
                   std::int16_t bolRechtsbuendig, std::int16_t intSize, std::int16_t bolFett,
                   std::int16_t bolKursiv, double dblMaxBreite, std::int32_t lngFarbe,
                   std::int16_t intMehrereZeilen, std::int16_t bolUnterstrichen,
                   std::int16_t bolNurMessen, double dblZeilenabstand) {
    if (blankOnly(strText))
        return 0;
    const std::string text = strText.substr(0, kMaxTextLength);
    PrintSurface& s = c.printer;
    // Any fault from here on (the device, a word too wide for the width)
    // stops the text quietly; what was printed stays printed.
    try {
        setUpTextFont(s, {intSize, bolFett == kTrue, bolKursiv == kTrue, bolUnterstrichen == kTrue},
                      text, dblMaxBreite, intMehrereZeilen, WrapRule::Strict);

        // The first line is aligned by the width of the whole text, even when
        // it is wrapped or cut afterwards.
        const auto x = alignedX(c.bounds, bolRechtsbuendig, dblX, dblMaxBreite,
                                [&] { return s.textWidth(text); });
        if (!x) {
            c.services.messages.show(
                ansi("ungültiger Wert in") +
                    " FunktionenDrucker.General.TextDrucken: " + std::to_string(bolRechtsbuendig),
                "Fehler", MessageIcon::Stop);
        }
        s.setCurrentX(x.value_or(dblX));
        s.setForeColor(lngFarbe > 0 ? lngFarbe : 0);
        if (dblMaxBreite == 0 && intMehrereZeilen != 0) {
            c.services.messages.show(
                ansi("Im Modul 'TextDrucken' fehlt die Breite des Textes. Bitte informieren Sie "
                     "den Programmierer!"),
                ansi("Funktion nicht vollständig"), MessageIcon::Information);
        }
        s.setCurrentY(dblY);
        const double height = s.textHeight(text) + dblZeilenabstand;
        const double pitch = height + dblZeilenabstand;

        // Measuring moves the position as printing would, so that a caller
        // can measure a block and then draw it with the same result.
        const bool measureOnly = bolNurMessen != 0;
        auto put = [&](const std::string& line) {
            if (measureOnly)
                s.setCurrentX(s.currentX() + s.textWidth(line));
            else
                s.print(line);
        };

        if (dblMaxBreite > 0 && intMehrereZeilen != 0) {
            const std::size_t lines =
                wrapLines(s, text, dblMaxBreite, WrapRule::Strict,
                          [&](std::string_view piece, std::size_t index, bool) {
                              if (index > 0) {
                                  s.setCurrentX(dblX);
                                  s.setCurrentY(s.currentY() + pitch);
                              }
                              put(std::string(piece));
                          });
            return pitch * static_cast<double>(lines);
        }
        if (dblMaxBreite > 0) {
            put(cutWithEllipsis(s, text, dblMaxBreite));
            return height;
        }
        put(text);
        return height;
    } catch (const RuntimeError&) {
        return 0;
    }
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

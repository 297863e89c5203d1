#include <string>
#include <string_view>

#include "printing/drawing.h"
#include "printing/line_wrap.h"
#include "printing/text_setup.h"
#include "printing/width_search.h"
#include "support/codepage.h"
#include "support/errors.h"

namespace lumaro {

namespace {

// A word wider than the box is shrunk point by point, but not below this.
constexpr double kSmallestWordSize = 4;

void shrinkUntilItFits(PrintSurface& s, const std::string& word, double maxWidth) {
    while (!fitsBelow(s.textWidth(word), maxWidth)) {
        s.setFontSize(s.fontSize() - 1);
        if (s.fontSize() <= kSmallestWordSize)
            break;
    }
}

}  // namespace

double TextInRahmenDrucken(Context& c, double dblX, double dblY, const std::string& strText,
                           std::int16_t bolRechtsbuendig, std::int16_t intSize,
                           std::int16_t bolFett, std::int16_t bolKursiv, double dblMaxBreite,
                           std::int32_t lngFarbe, std::int16_t intMehrereZeilen,
                           std::int16_t bolUnterstrichen) {
    if (strText.find_first_not_of(' ') == std::string::npos)
        return 0;
    const std::string& text = strText;
    PrintSurface& s = c.printer;
    // Any fault from here on stops the text quietly; printed lines stay.
    try {
        // A word too wide for the box ends the wrap and gets a line of its own
        // (see below), and the fitting counts that line like any other.
        setUpTextFont(s, {intSize, bolFett == kTrue, bolKursiv == kTrue, bolUnterstrichen == kTrue},
                      text, dblMaxBreite, intMehrereZeilen, WrapRule::KeepUnbreakable);
        s.setForeColor(lngFarbe > 0 ? lngFarbe : 0);
        if (dblMaxBreite == 0 && intMehrereZeilen != 0) {
            c.services.messages.show(
                ansi("Im Modul 'TextInRahmenDrucken' fehlt die Breite des Textes. Bitte "
                     "informieren Sie den Programmierer!"),
                ansi("Funktion nicht vollständig"), MessageIcon::Information);
        }
        s.setCurrentY(dblY);
        const double height = s.textHeight(text);

        // Every line is aligned on its own width.
        auto place = [&](const std::string& line) {
            const auto x = alignedX(c.bounds, bolRechtsbuendig, dblX, dblMaxBreite,
                                    [&] { return s.textWidth(line); });
            if (!x) {
                c.services.messages.show(ansi("ungültiger Wert in") +
                                             " FunktionenDrucker.General.TextInRahmenDrucken: " +
                                             std::to_string(bolRechtsbuendig) +
                                             "\r\n\r\nBitte informieren Sie den Programmierer!",
                                         "Fehler", MessageIcon::Stop);
            }
            s.setCurrentX(x.value_or(dblX));
            s.print(line);
        };

        if (dblMaxBreite > 0 && intMehrereZeilen != 0) {
            const std::size_t lines =
                wrapLines(s, text, dblMaxBreite, WrapRule::KeepUnbreakable,
                          [&](std::string_view piece, std::size_t index, bool unbreakable) {
                              const std::string line(piece);
                              // An unbreakable word goes on a line of its own
                              // rather than over the line before it.
                              if (unbreakable)
                                  shrinkUntilItFits(s, line, dblMaxBreite);
                              if (index > 0)
                                  s.setCurrentY(s.currentY() + height);
                              place(line);
                          });
            return height * static_cast<double>(lines);
        }
        if (dblMaxBreite > 0) {
            place(cutWithEllipsis(s, text, dblMaxBreite));
            return height;
        }
        place(text);
        return height;
    } catch (const RuntimeError&) {
        return 0;
    }
}

}  // namespace lumaro

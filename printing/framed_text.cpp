#include <string>
#include <string_view>

#include "printing/drawing.h"
#include "printing/line_wrap.h"
#include "printing/text_setup.h"
#include "printing/width_search.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "support/trim.h"

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

double TextInRahmenDrucken(Context& c, const TextSpec& spec) {
    if (trimBlanks(spec.text).empty())
        return 0;
    const std::string text(spec.text);
    PrintSurface& s = c.printer;
    // Any fault from here on stops the text quietly; printed lines stay.
    try {
        // A word too wide for the box ends the wrap and gets a line of its own
        // (see below), and the fitting counts that line like any other.
        setUpTextFont(
            s, {spec.size, spec.bold == kTrue, spec.italic == kTrue, spec.underline == kTrue}, text,
            spec.maxWidth, spec.lines, WrapRule::KeepUnbreakable);
        s.setForeColor(spec.color > 0 ? spec.color : 0);
        if (spec.maxWidth == 0 && spec.lines != 0) {
            c.services.messages.show(
                ansi("Im Modul 'TextInRahmenDrucken' fehlt die Breite des Textes. Bitte "
                     "informieren Sie den Programmierer!"),
                ansi("Funktion nicht vollständig"), MessageIcon::Information);
        }
        s.setCurrentY(spec.y);
        const double height = s.textHeight(text);

        // Every line is aligned on its own width.
        auto place = [&](const std::string& line) {
            const auto x = alignedX(c.bounds, spec.align, spec.x, spec.maxWidth,
                                    [&] { return s.textWidth(line); });
            if (!x) {
                c.services.messages.show(ansi("ungültiger Wert in") +
                                             " FunktionenDrucker.General.TextInRahmenDrucken: " +
                                             std::to_string(spec.align) +
                                             "\r\n\r\nBitte informieren Sie den Programmierer!",
                                         "Fehler", MessageIcon::Stop);
            }
            s.setCurrentX(x.value_or(spec.x));
            s.print(line);
        };

        if (spec.maxWidth > 0 && spec.lines != 0) {
            const std::size_t lines =
                wrapLines(s, text, spec.maxWidth, WrapRule::KeepUnbreakable,
                          [&](std::string_view piece, std::size_t index, bool unbreakable) {
                              const std::string line(piece);
                              // An unbreakable word goes on a line of its own
                              // rather than over the line before it.
                              if (unbreakable)
                                  shrinkUntilItFits(s, line, spec.maxWidth);
                              if (index > 0)
                                  s.setCurrentY(s.currentY() + height);
                              place(line);
                          });
            return height * static_cast<double>(lines);
        }
        if (spec.maxWidth > 0) {
            place(cutWithEllipsis(s, text, spec.maxWidth));
            return height;
        }
        place(text);
        return height;
    } catch (const RuntimeError&) {
        return 0;
    }
}

}  // namespace lumaro

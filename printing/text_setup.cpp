#include "printing/text_setup.h"

#include <cstdint>

#include "support/errors.h"

namespace lumaro {

void setUpTextFont(PrintSurface& surface, const TextFont& font, std::string_view text,
                   double maxWidth, std::int16_t maxLines, WrapRule rule) {
    if (font.size > 0)
        surface.setFontSize(font.size);
    surface.setFontBold(font.bold);
    surface.setFontItalic(font.italic);
    surface.setFontUnderline(font.underline);
    if (font.size <= 0)
        return;
    std::int16_t size = font.size;
    if (maxLines > 0) {
        for (;;) {
            surface.setFontSize(size);
            const std::size_t lines = countLines(surface, text, maxWidth, rule);
            if (lines <= static_cast<std::size_t>(maxLines) || size <= kSmallestFittedSize)
                break;
            --size;
        }
    }
    surface.setFontSize(size);
    surface.setFontBold(font.bold);
    surface.setFontItalic(font.italic);
}

std::optional<double> alignedX(const PageBounds& bounds, std::int16_t code, double x,
                               double maxWidth, const std::function<double()>& width) {
    switch (code) {
        case 0:
            return x;
        case 1:
        case -1:
            return x - width();
        case 2: {
            // The bounds are 16-bit whole numbers and their difference is
            // taken as one, as the page set-up's arithmetic always was.
            const int span = bounds.intRechterRand - bounds.intLinkerRand;
            if (span < INT16_MIN || span > INT16_MAX)
                raiseError(err::kOverflow);
            return bounds.intLinkerRand + (span - width()) / 2;
        }
        case 21:
            return x + (maxWidth - width()) / 2;
        default:
            return std::nullopt;
    }
}

}  // namespace lumaro

#include "printing/line_wrap.h"

#include <string>

#include "printing/width_search.h"
#include "support/errors.h"

namespace lumaro {

std::size_t wrapLines(PrintSurface& surface, std::string_view text, double maxWidth, WrapRule rule,
                      const std::function<void(std::string_view, std::size_t, bool)>& onLine) {
    std::size_t lines = 0;
    std::string_view rest = text;
    for (;;) {
        const double restWidth = surface.textWidth(std::string(rest));
        if (fitsBelow(restWidth, maxWidth))
            break;
        if (rule == WrapRule::KeepUnbreakable && rest.find(' ') == std::string_view::npos) {
            onLine(rest, lines, true);
            return lines + 1;
        }
        const auto length = wrapPieceLength(surface, rest, restWidth, maxWidth);
        if (!length)
            raiseError(kCutFault);
        onLine(rest.substr(0, *length), lines, false);
        ++lines;
        rest.remove_prefix(*length);
    }
    onLine(rest, lines, false);
    return lines + 1;
}

std::size_t countLines(PrintSurface& surface, std::string_view text, double maxWidth,
                       WrapRule rule) {
    return wrapLines(surface, text, maxWidth, rule, [](std::string_view, std::size_t, bool) {});
}

}  // namespace lumaro

// What TextDrucken and TextInRahmenDrucken share: the font set-up with the
// fitting to a number of lines, and the alignment codes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "printing/context.h"
#include "printing/line_wrap.h"

namespace lumaro {

// The fitting lowers the font one point at a time until the text wraps into
// the lines allowed. Below this size nobody can read a printout, so the
// fitting stops here and the text is printed at this size in as many lines as
// it needs: a legal text must not lose words to a line limit.
inline constexpr std::int16_t kSmallestFittedSize = 4;

struct TextFont {
    std::int16_t size;  // points; 0 or less keeps the surface's size
    bool bold, italic, underline;
};

// Sets the font, and when maxLines and the size are above 0 lowers the size
// until the wrap (by rule) of text needs at most maxLines lines or the size is
// kSmallestFittedSize. Leaves the surface in the final font.
void setUpTextFont(PrintSurface& surface, const TextFont& font, std::string_view text,
                   double maxWidth, std::int16_t maxLines, WrapRule rule);

// CurrentX of a line by alignment code: 0 left at x, 1 and -1 ending at x, 2
// centred between the page's text bounds, 21 centred in x .. x + maxWidth.
// width is called only for the codes that need it. nullopt for any other code.
std::optional<double> alignedX(const PageBounds& bounds, std::int16_t code, double x,
                               double maxWidth, const std::function<double()>& width);

}  // namespace lumaro

// Breaking a text into lines at blanks for a given width, as both text
// routines do it, so that the fitting (counting lines at a font size) and the
// printing walk exactly the same lines.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "printing/print_surface.h"

namespace lumaro {

enum class WrapRule {
    // A rest too wide with no blank to break at is a fault (RuntimeError).
    Strict,
    // A rest too wide with no blank at all ends the wrap: it is handed over as
    // the last line, marked unbreakable, for the caller to shrink.
    KeepUnbreakable,
};

// Calls onLine(piece, index, unbreakable) for every line as soon as it is
// found (so that what was printed stays printed when a later line fails), and
// returns the number of lines. A piece keeps its trailing blank. A text that
// fits at once is one line. Measures in the surface's current font; a line
// fits when its width is below maxWidth.
std::size_t wrapLines(PrintSurface& surface, std::string_view text, double maxWidth, WrapRule rule,
                      const std::function<void(std::string_view, std::size_t, bool)>& onLine);

// The number of lines wrapLines gives, without doing anything for them.
std::size_t countLines(PrintSurface& surface, std::string_view text, double maxWidth,
                       WrapRule rule);

}  // namespace lumaro

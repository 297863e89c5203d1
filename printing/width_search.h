// Where to break or cut a text so that it fits a width, found with few width
// measurements.
//
// The text routines describe their cuts as "drop the last character and
// measure again" until a condition holds. Widths grow with the prefix length,
// so the longest prefix that meets a width condition is the boundary of a
// monotone predicate; a galloping search from a proportional first guess finds
// the same boundary with a handful of measurements instead of one per
// character. Widths are compared in single precision, as the surface keeps
// them, so that a text of exactly the available width behaves the same here
// and on the device.
#pragma once

#include "support/errors.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "printing/print_surface.h"

namespace lumaro {

// width < maxWidth, compared as floats.
bool fitsBelow(double width, double maxWidth);
// maxWidth < width, compared as floats: the text needs cutting.
bool exceeds(double width, double maxWidth);

// What the original platform raised for cutting a character off an empty
// piece. Nobody sees it: the text routines stop quietly on any fault.
inline constexpr int kCutFault = err::kInvalidCall;

// The largest i in [0, n) with fits(i), where fits holds for a (possibly empty)
// run of indices from 0 and fails for all after it. Starts probing at guess.
// nullopt when fits(0) fails or n is 0.
std::optional<std::size_t> lastFitting(std::size_t n, std::size_t guess,
                                       const std::function<bool(std::size_t)>& fits);

// The length of the piece a wrap takes from the front of rest: the longest
// prefix shorter than rest that ends with a blank and is narrower than
// maxWidth (in the surface's current font). restWidth is rest's width, already
// measured by the caller. nullopt when there is no such prefix.
std::optional<std::size_t> wrapPieceLength(PrintSurface& surface, std::string_view rest,
                                           double restWidth, double maxWidth);

// For a single line too wide for maxWidth: how many characters to keep so
// that they, followed by "...", are no wider than maxWidth. nullopt when not
// even "..." alone fits.
std::optional<std::size_t> ellipsisKeepLength(PrintSurface& surface, std::string_view text,
                                              double textWidth, double maxWidth);

// A single line for maxWidth: text itself when it is not wider, otherwise
// the longest prefix that fits with "..." behind it. Raises kCutFault when not
// even "..." fits.
std::string cutWithEllipsis(PrintSurface& surface, const std::string& text, double maxWidth);

}  // namespace lumaro

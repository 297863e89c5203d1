#include "printing/width_search.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "support/errors.h"

namespace lumaro {

namespace {

// The length at which a text of this average character width reaches
// maxWidth, as a first guess for the searches below.
std::size_t proportionalLength(std::size_t length, double width, double maxWidth) {
    if (!(width > 0) || !(maxWidth > 0))
        return 0;
    const double guess = std::floor(static_cast<double>(length) * maxWidth / width);
    if (!(guess > 0))
        return 0;
    return guess >= static_cast<double>(length) ? length : static_cast<std::size_t>(guess);
}

}  // namespace

bool fitsBelow(double width, double maxWidth) {
    return static_cast<float>(width) < static_cast<float>(maxWidth);
}

bool exceeds(double width, double maxWidth) {
    return static_cast<float>(maxWidth) < static_cast<float>(width);
}

std::optional<std::size_t> lastFitting(std::size_t n, std::size_t guess,
                                       const std::function<bool(std::size_t)>& fits) {
    if (n == 0)
        return std::nullopt;
    guess = std::min(guess, n - 1);
    // Invariant: fits(lo) holds (lo == -1: none known), fits(hi) fails (hi == n: beyond).
    std::ptrdiff_t lo = -1;
    auto hi = static_cast<std::ptrdiff_t>(n);
    const auto g = static_cast<std::ptrdiff_t>(guess);
    if (fits(guess)) {
        lo = g;
        for (std::ptrdiff_t step = 1; lo + step < hi; step *= 2) {
            if (!fits(static_cast<std::size_t>(lo + step))) {
                hi = lo + step;
                break;
            }
            lo += step;
        }
    } else {
        hi = g;
        for (std::ptrdiff_t step = 1; hi - step > lo; step *= 2) {
            if (fits(static_cast<std::size_t>(hi - step))) {
                lo = hi - step;
                break;
            }
            hi -= step;
        }
    }
    while (hi - lo > 1) {
        const std::ptrdiff_t mid = lo + (hi - lo) / 2;
        if (fits(static_cast<std::size_t>(mid)))
            lo = mid;
        else
            hi = mid;
    }
    if (lo < 0)
        return std::nullopt;
    return static_cast<std::size_t>(lo);
}

std::optional<std::size_t> wrapPieceLength(PrintSurface& surface, std::string_view rest,
                                           double restWidth, double maxWidth) {
    // Only prefixes ending with a blank can be pieces, so search over those.
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i + 1 < rest.size(); ++i) {
        if (rest[i] == ' ')
            ends.push_back(i + 1);
    }
    if (ends.empty())
        return std::nullopt;
    const std::size_t estimate = proportionalLength(rest.size(), restWidth, maxWidth);
    const auto above = std::upper_bound(ends.begin(), ends.end(), estimate);
    const std::size_t guess = above == ends.begin() ? 0 : (above - ends.begin()) - 1;
    const auto found = lastFitting(ends.size(), guess, [&](std::size_t i) {
        return fitsBelow(surface.textWidth(std::string(rest.substr(0, ends[i]))), maxWidth);
    });
    if (!found)
        return std::nullopt;
    return ends[*found];
}

std::optional<std::size_t> ellipsisKeepLength(PrintSurface& surface, std::string_view text,
                                              double textWidth, double maxWidth) {
    // Guess three characters' room for the "...".
    const std::size_t estimate = proportionalLength(text.size(), textWidth, maxWidth);
    const std::size_t guess = estimate > 3 ? estimate - 3 : 0;
    return lastFitting(text.size() + 1, guess, [&](std::size_t keep) {
        return !exceeds(surface.textWidth(std::string(text.substr(0, keep)) + "..."), maxWidth);
    });
}

std::string cutWithEllipsis(PrintSurface& surface, const std::string& text, double maxWidth) {
    const double width = surface.textWidth(text);
    if (!exceeds(width, maxWidth))
        return text;
    const auto keep = ellipsisKeepLength(surface, text, width, maxWidth);
    if (!keep)
        raiseError(kCutFault);
    return text.substr(0, *keep) + "...";
}

}  // namespace lumaro

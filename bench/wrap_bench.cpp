// How many width measurements and how much time TextDrucken needs to wrap a
// 1,000-character instruction and shrink it to 5 lines, against the same
// wrap done by dropping one character at a time.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/instruction_text.h"
#include "printing/drawing.h"
#include "printing/width_search.h"
#include "tests/fakes/fakes.h"

namespace {

using lumaro::PrintSurface;
using lumaro::testing::FakeSurface;
using lumaro::testing::ProportionalSurface;

// The wrap of TextDrucken with the cut as written: drop the last character
// and measure again until the piece fits and ends with a blank.
std::vector<std::string> naiveWrap(PrintSurface& s, const std::string& text, double maxWidth) {
    std::vector<std::string> lines;
    std::string rest = text;
    while (!lumaro::fitsBelow(s.textWidth(rest), maxWidth)) {
        std::string piece = rest;
        do {
            if (piece.empty())
                return {};  // the real routine stops on this fault
            piece.pop_back();
        } while (!(lumaro::fitsBelow(s.textWidth(piece), maxWidth) && !piece.empty() &&
                   piece.back() == ' '));
        lines.push_back(piece);
        rest.erase(0, piece.size());
    }
    lines.push_back(rest);
    return lines;
}

double naiveTextDrucken(PrintSurface& s, double x, double y, const std::string& text, int size,
                        double maxWidth, std::size_t maxLines) {
    for (;; --size) {
        s.setFontSize(size);
        if (naiveWrap(s, text, maxWidth).size() <= maxLines || size <= 4)
            break;
    }
    const double pitch = s.textHeight(text);
    s.setCurrentX(x);
    s.setCurrentY(y);
    const auto lines = naiveWrap(s, text, maxWidth);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            s.setCurrentX(x);
            s.setCurrentY(s.currentY() + pitch);
        }
        s.print(lines[i]);
    }
    return pitch * static_cast<double>(lines.size());
}

struct Result {
    double height = 0;
    std::vector<lumaro::testing::DrawCall> lines;
    int measurements = 0;
    double microseconds = 0;
};

template <class Surface, class Call>
Result measure(int repeats, Call call) {
    lumaro::testing::TestWorld world;  // made once: it creates a folder on disk
    Result r;
    {
        Surface surface;
        lumaro::Context c{world.services, surface, world.pictures, lumaro::PageBounds{}};
        r.height = call(c);
        r.lines = surface.texts();
        r.measurements = surface.widthMeasurements();
    }
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i) {
        Surface surface;
        lumaro::Context c{world.services, surface, world.pictures, lumaro::PageBounds{}};
        call(c);
    }
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    r.microseconds = spent.count() / repeats;
    return r;
}

template <class Surface>
void compare(const char* surfaceName, const std::string& text, double maxWidth) {
    const auto fast = measure<Surface>(2000, [&](lumaro::Context& c) {
        return lumaro::TextDrucken(
            c, {.x = 20, .y = 50, .text = text, .size = 9, .maxWidth = maxWidth, .lines = 5});
    });
    const auto naive = measure<Surface>(20, [&](lumaro::Context& c) {
        return naiveTextDrucken(c.printer, 20, 50, text, 9, maxWidth, 5);
    });
    bool same = fast.lines.size() == naive.lines.size() && fast.height == naive.height;
    for (std::size_t i = 0; same && i < fast.lines.size(); ++i) {
        same = fast.lines[i].text == naive.lines[i].text && fast.lines[i].y == naive.lines[i].y &&
               fast.lines[i].size == naive.lines[i].size;
    }
    const double size = fast.lines.empty() ? 0 : fast.lines[0].size;
    std::printf("%-13s %-22s %5.0f %6zu %13d %15.1f %8s\n", surfaceName, "binary search", size,
                fast.lines.size(), fast.measurements, fast.microseconds, same ? "yes" : "NO");
    std::printf("%-13s %-22s %5.0f %6zu %13d %15.1f %8s\n", surfaceName, "one char at a time", size,
                naive.lines.size(), naive.measurements, naive.microseconds, "");
}

}  // namespace

int main() {
    const std::string text = lumaro::bench::instructionText();
    std::printf("TextDrucken: %zu characters, 9 points, width 120, at most 5 lines\n\n",
                text.size());
    std::printf("%-13s %-22s %5s %6s %13s %15s %8s\n", "surface", "cut", "size", "lines",
                "measurements", "time/call (us)", "same");
    compare<FakeSurface>("fixed pitch", text, 120);
    compare<ProportionalSurface>("proportional", text, 120);
    return 0;
}

// The printing routines the documents draw with. Positions and sizes are in
// the surface's scale units, font sizes in points, colours 0x00BBGGRR.
// Flags that the original tested for being exactly true (-1) are 16-bit
// integers here so that 1 keeps counting as false.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "printing/context.h"

namespace lumaro {

inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// The grey of the period boxes and other shaded fields.
inline constexpr std::int32_t kLightGrey = 0xC0C0C0;

// One text to draw, with the fields a call usually leaves alone at their
// defaults, so that a call names what it sets:
//   TextDrucken(c, {.x = 10, .y = y, .text = s, .size = 8, .bold = kTrue})
// text is only viewed: a spec lives for the call it is written for.
struct TextSpec {
    double x = 0, y = 0;
    std::string_view text;  // Windows-1252
    // 0 left at x, 1/-1 ending at x, 2 centred between the page's text bounds,
    // 21 centred in the box x .. x + maxWidth; other codes are reported.
    std::int16_t align = 0;
    std::int16_t size = 0;  // points; 0 or less keeps the surface's size
    // Each only when exactly kTrue: 1 counts as false.
    std::int16_t bold = kFalse, italic = kFalse, underline = kFalse;
    double maxWidth = 0;     // 0: no box, nothing is cut or wrapped
    std::int32_t color = 0;  // 0x00BBGGRR; 0 or less is black
    // Not 0: wrapped at blanks within maxWidth. Above 0 (with a size above 0):
    // the font shrinks until the text needs at most this many lines.
    std::int16_t lines = 0;
    // TextDrucken only: not 0 measures without drawing, moving the position
    // as drawing would; the spacing is added below every line.
    std::int16_t measureOnly = kFalse;
    double lineSpacing = 0;
};

// Places a text as its spec says: cuts a single line with "...", or wraps at
// blanks and fits it to its lines. Only the first 1000 characters count.
// Returns the height used; 0 when nothing was done or a fault stopped it.
double TextDrucken(Context& c, const TextSpec& spec);

// Like TextDrucken, but every line is aligned on its own width, a word wider
// than the box gets a line of its own, and nothing is cut to 1000 characters.
// Has no measuring and no line spacing: it ignores those two fields.
double TextInRahmenDrucken(Context& c, const TextSpec& spec);

// What every document does before drawing on a sheet: millimetre-like units
// (ScaleMode 6), the document font in 9 points, neither bold nor italic, and
// the scale of the sheet. orientation: 1 portrait, 2 landscape, 0 keeps the
// print job's (it is chosen once per job; later sheets keep it).
void setUpSheet(Context& c, int orientation, double scaleWidth, double scaleHeight);

// Draws the picture at (x, y), scaled when width and height are above 0.
// Reports its own faults (log and message) and returns.
void PrintPicture(Context& c, const Picture& picture, std::int32_t lngX, std::int32_t lngY,
                  std::int32_t lngBreite, std::int32_t lngHoehe);

// A horizontal rule, solid or dashed (1-unit dashes, 1-unit gaps).
void LinieDrucken(Context& c, double dblXVon, double dblXBis, double dblY,
                  std::int16_t bolGestrichelt);

// A box, outlined (lngFarbe 0) or filled, with an optional label and cross.
void KastenDrucken(Context& c, double dblX, double dblY, double dblBreite, double dblHoehe,
                   const std::string& strText, std::int16_t intSize, std::int16_t bolAngekreuzt,
                   std::int32_t lngFarbe);

// Sets the font and returns the text's width in it.
double TextBreite(Context& c, const std::string& strText, double dblGroesse,
                  std::int16_t bolFett = kFalse, std::int16_t bolKursiv = kFalse);

}  // namespace lumaro

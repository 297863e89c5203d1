// The printing routines the documents draw with. Positions and sizes are in
// the surface's scale units, font sizes in points, colours 0x00BBGGRR.
// Flags that the original tested for being exactly true (-1) are 16-bit
// integers here so that 1 keeps counting as false.
#pragma once

#include <cstdint>
#include <string>

#include "printing/context.h"

namespace lumaro {

inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// Places a text: alignment 0 left at x, 1/-1 ending at x, 2 centred between the
// page's text bounds, 21 centred in the box x .. x + dblMaxBreite. Cuts a single
// line with "...", or wraps at blanks (intMehrereZeilen != 0), shrinking the font
// until it fits intMehrereZeilen lines when that and intSize are above 0.
// Returns the height used; 0 when nothing was done or a fault stopped it.
double TextDrucken(Context& c, double dblX, double dblY, const std::string& strText,
                   std::int16_t bolRechtsbuendig, std::int16_t intSize, std::int16_t bolFett,
                   std::int16_t bolKursiv, double dblMaxBreite, std::int32_t lngFarbe,
                   std::int16_t intMehrereZeilen, std::int16_t bolUnterstrichen,
                   std::int16_t bolNurMessen, double dblZeilenabstand);

// Like TextDrucken, but every line is aligned on its own width.
double TextInRahmenDrucken(Context& c, double dblX, double dblY, const std::string& strText,
                           std::int16_t bolRechtsbuendig, std::int16_t intSize,
                           std::int16_t bolFett, std::int16_t bolKursiv, double dblMaxBreite,
                           std::int32_t lngFarbe, std::int16_t intMehrereZeilen,
                           std::int16_t bolUnterstrichen);

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
double TextBreite(Context& c, const std::string& strText, double dblGroesse, std::int16_t bolFett,
                  std::int16_t bolKursiv);

}  // namespace lumaro

// The landscape A4 sheet split into two A5 halves, the record printed in
// each, one copy beside the other. This header offers the geometry of the halves and the routines
// that set up, head, foot and change the sheets; the record itself is drawn by two_halves_record.h.
//
// The bounds live in c.bounds: intLinkerRand .. intMitteLinks is the left half,
// intMitteRechts .. intRechterRand the right one, intUntererRand the bottom of
// the text area (page tests and the closing block refer to it).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "printing/context.h"

namespace lumaro {

// With this entry anywhere in a record (normally inside one of its
// FormularDaten entries) the host asks for a narrower right half on the first
// sheet of that record; later sheets use the ordinary halves again.
inline constexpr const char* kMiddleBreakMarker = "<DatenTyp>Seitenwechsel in der Mitte</DatenTyp>";

// Where the right half stands on the first sheet when the marker is present.
inline constexpr std::int16_t kNarrowRightHalfLeft = 148;
inline constexpr std::int16_t kNarrowRightHalfRight = 272;

// The head and foot templates share one template text: entries above this
// line are the head, entries below it the foot.
inline constexpr std::int16_t kHeadFootLimit = 105;

// One half of the sheet, from its left to its right edge, in scale units.
struct Half {
    double left = 0;
    double right = 0;
    double width() const { return right - left; }
};

Half leftHalf(const PageBounds& b);
Half rightHalf(const PageBounds& b);
// Left half first: most things are drawn once in each.
std::array<Half, 2> halves(const PageBounds& b);

// Surface set-up of every sheet (scale mode, font, landscape scale) and the
// six bounds computed from the scale; the orientation stays as it is.
void Seitenmasse2xA5(Context& c);

// The sheet's own font and black again, after templates chose theirs.
void restoreSheetFont(Context& c);

// First sheet of a record: landscape set-up and bounds, the owner lines
// centred in the right half, the top rules, then the head templates.
// Returns the lower edge of the head (never above the top rules). With the
// marker the right half is narrowed afterwards for the rest of this sheet.
// Leaves the sheet's own font and black set, whatever the templates chose.
double Kopf2xA5Drucken(Context& c, const std::string& vorlage, const std::string& eigentum1,
                       const std::string& eigentum2, bool middleBreak);

// Foot of a sheet that is followed by another one: a rule across each half at
// the bottom bound, the farm number and the page number below it.
void Fuss2xA5Drucken(Context& c, std::int16_t page, const std::string& lfbis);

// Next sheet with its continuation head (farm number, page number, rule at
// 12). Returns the new page number; y becomes the top of the text area.
std::int16_t Seitenwechsel2xA5(Context& c, std::int16_t page, const std::string& lfbis, double& y);

// "Seite 2"
std::string sheetCaption(std::int16_t page);

}  // namespace lumaro

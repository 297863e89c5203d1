// Page head, page foot and page change of the A4 and A5 withdrawal sheets.
//
// The head sets up the surface and the page bounds in c.bounds (left 10, top
// 30 or lower under a long legal line, bottom limit); on the first page of a
// copy it draws the vet's templates (copy 1) or the owner lines (copy 2), the
// title and the legal line. The right text edge (c.bounds.intRechterRand) is
// the renderer's: it sets it once the first head succeeded.
#pragma once

#include <cstdint>
#include <string>

#include "documents/withdrawal/sheets/withdrawal_renderers.h"
#include "printing/context.h"

namespace lumaro {

// The right text edge of each layout: A4 portrait uses the width to 190, the
// A5 sheet the left half of a landscape page.
inline constexpr std::int16_t kA4RightTextEdge = 190;
std::int16_t a5RightTextEdge();  // 134

// Thrown by a page change whose head failed; the head has reported the error
// already, so the renderer only stops.
struct SheetHeadFailed {};

// Returns false after an error inside it, which it has reported (log and message).
bool KopfA4Drucken(Context& c, WithdrawalRunState& state, std::int16_t page,
                   const std::string& vorlage, const std::string& eigentum1,
                   const std::string& eigentum2, bool secondCopy, bool shortTitle,
                   bool upperHalfOnly);
bool KopfA5Drucken(Context& c, WithdrawalRunState& state, std::int16_t page,
                   const std::string& vorlage, const std::string& eigentum1,
                   const std::string& eigentum2, bool secondCopy, bool shortTitle);

void FussA4Drucken(Context& c, double left, double bottom, const std::string& lfbis,
                   double rightTextEdge, std::int16_t page, const std::string& laufendeNummer);
void FussA5Drucken(Context& c, double left, double bottom, const std::string& lfbis,
                   double rightTextEdge, std::int16_t page);

// NewPage and the head of the next page; height becomes 10. Returns the next
// page number; throws SheetHeadFailed when the head failed.
std::int16_t SeitenwechselA4(Context& c, WithdrawalRunState& state, std::int16_t page,
                             double& height, const std::string& vorlage,
                             const std::string& eigentum1, const std::string& eigentum2,
                             bool secondCopy, bool shortTitle, bool upperHalfOnly);
std::int16_t SeitenwechselA5(Context& c, WithdrawalRunState& state, std::int16_t page,
                             double& height, const std::string& vorlage,
                             const std::string& eigentum1, const std::string& eigentum2,
                             bool secondCopy);

// "Seite  " and the page number with the sign place the platform reserves
// (a blank for a positive number): "Seite   2".
std::string pageCaption(std::int16_t page);

}  // namespace lumaro

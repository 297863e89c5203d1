// The withdrawal record on two A5 halves of a landscape A4 sheet, the layout
// the host asks for with "Wartezeiten 2 x A5 auf A4" and the one used when the
// file names no layout.
#pragma once

#include <string>

#include "printing/context.h"

namespace lumaro {

// Prints every Wartezeitenzettel record of the file text, each as a print job
// of its own, and returns true (also when there is none). A record with an
// empty treatment date stops the run with a message and false; the records
// before it stay printed. Other errors are not handled here: they reach the
// caller with the record's print job unfinished.
bool MediInhaltDrucken2xA5(Context& c, const std::string& text);

}  // namespace lumaro

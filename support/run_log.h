// The day log: one file per day in the program folder ("yy_mm_dd.txt"), one
// line per call, opened, appended and closed each time so that a crash loses
// nothing already written.
#pragma once

#include <string>

#include "support/services.h"

namespace lumaro {

// Appends "hh:mm:ss" + two blanks + indent blanks + text + CR LF. The text is
// Windows-1252. A log that cannot be written raises RuntimeError 75 in the
// caller, as the original did.
void Protokollieren(const Services& s, const std::string& text, int indent);

}  // namespace lumaro

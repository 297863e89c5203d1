// The number separators of a run on Windows. The automation contract names
// the locale by LC_ALL, LC_NUMERIC or LANG (the first that is set) on every
// system; where none is set, as on a practice's computer, the user's own
// regional settings in Windows apply, as every other program there uses them.
// "C", "POSIX" and names Windows does not know mean German, since every text
// of the program is German.
#pragma once

#include <functional>
#include <string>

#include "support/regional.h"

namespace lumaro::platform {

// Separators of a locale name such as "de_DE.UTF-8", "de-AT" or "en_US"
// (from Windows' own locale data).
Regional regionalFromLocaleName(const std::string& name);

// lookup reads a variable (UTF-8; empty when unset).
Regional regionalFromEnvironment(const std::function<std::string(const char*)>& lookup);

}  // namespace lumaro::platform

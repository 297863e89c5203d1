// The number separators of the user's locale, as Qt's locale data knows them
// (so a locale works whether or not the system has it installed).
#pragma once

#include <cstdlib>
#include <functional>
#include <string>

#include "support/regional.h"

namespace lumaro::platform {

// Separators of a locale name such as "de_DE.UTF-8" or "en_US". "", "C",
// "C.UTF-8", "POSIX" and names Qt does not know mean German (',' and '.'),
// since every text of the program is German. A separator that has no
// Windows-1252 character keeps the German one, except space-like group
// separators, which become the no-break space.
Regional regionalFromLocaleName(const std::string& name);

// The first of LC_ALL, LC_NUMERIC, LANG that is set and not empty.
// lookup reads a variable (nullptr when unset); std::getenv by default.
Regional regionalFromEnvironment(const std::function<const char*(const char*)>& lookup =
                                     [](const char* n) {
                                         return static_cast<const char*>(std::getenv(n));
                                     });

}  // namespace lumaro::platform

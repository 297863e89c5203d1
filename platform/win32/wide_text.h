// Text at the edge to the Windows API: the core's Windows-1252 bytes to UTF-16
// and back through the core's own code-page table, so the machine's ANSI code
// page never changes a character.
#pragma once

#include <string>
#include <string_view>

namespace lumaro::platform {

// One UTF-16 unit per byte: every Windows-1252 character lies in the BMP, so
// the i-th unit is the i-th byte (text advances per character rely on it).
std::wstring wideFromAnsi(std::string_view cp1252);

// Characters outside Windows-1252 become '?'.
std::string ansiFromWide(std::wstring_view utf16);

// UTF-16 to UTF-8, for standard error and the trace; lone surrogates become U+FFFD.
std::string utf8FromWide(std::wstring_view utf16);

// UTF-8 to UTF-16, for what goes back to the system (paths and names from the
// command line and the environment, the console's text).
std::wstring wideFromUtf8(std::string_view utf8);

}  // namespace lumaro::platform

// Windows-1252 <-> UTF-8.
//
// Inside the program every text is Windows-1252 bytes in a std::string, as the
// host's files hold them, so that lengths and positions are the data's own.
// Source files are UTF-8, so German literals go through ansi("...") once; the
// edges (Qt, the trace, standard error, file names on Linux) use toUtf8.
#pragma once

#include <string>
#include <string_view>

namespace lumaro {

// The Unicode character of one Windows-1252 byte; the five undefined bytes
// give the C1 control of the same value, as below.
char32_t toUnicode(unsigned char byte);

// Each byte becomes its Windows-1252 character. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081... as Windows does.
std::string toUtf8(std::string_view cp1252);

// Characters outside Windows-1252, and malformed UTF-8, become '?'.
std::string fromUtf8(std::string_view utf8);

// Equal apart from letter case, as Windows compares names (INI sections and
// keys, file names): "AufrufZähler" matches "AUFRUFZÄHLER".
bool sameIgnoringCase(std::string_view a, std::string_view b);

// A UTF-8 literal of our own sources as Windows-1252 bytes.
inline std::string ansi(std::string_view utf8) {
    return fromUtf8(utf8);
}

}  // namespace lumaro

// The host platform's Trim: blanks (character 32) go at both ends; tabs and
// line breaks are content and stay.
#pragma once

#include <string_view>

namespace lumaro {

inline std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace lumaro

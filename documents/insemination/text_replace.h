// Replacing every occurrence of a text, as the certificate fills its entries.
#pragma once

#include <cstddef>
#include <string>

namespace lumaro {

// Every occurrence of find (not empty) replaced by with, scanning left to
// right without looking at replaced text again. A result longer than
// maxLength raises error 7 before it is built: a value repeated into many
// places must not make the program take all memory.
std::string replaceAll(const std::string& text, const std::string& find, const std::string& with,
                       std::size_t maxLength);

}  // namespace lumaro

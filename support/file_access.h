// The program's one file test, and reading a data file whole.
#pragma once

#include <string>

#include "support/services.h"

namespace lumaro {

// True when the file is there and can be opened for reading. A file the user
// may not read, or a condition the file-test table does not know, shows its
// message and ends the program (throws ProgramEnd{2}).
bool DateiVorhanden(const Services& s, const std::string& path);

// The whole file as bytes; the empty text when there is no such ordinary file.
std::string DateiEinlesen(const std::string& path);

}  // namespace lumaro

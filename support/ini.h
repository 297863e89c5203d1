// Reading and writing single values of the host's Halmor.ini.
//
// Section and key names match without regard to case, as the Windows profile
// functions do. A write changes only the bytes of the one value (or adds the
// missing section or key) and replaces the file atomically, so the host's other
// settings survive any failure, a full disk included.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/services.h"

namespace lumaro {

// Pure text operations on the content of an INI file (Windows-1252 bytes).
// iniGetValue returns the value as written after the '=' (not trimmed, no cut),
// or nothing when the section or key is missing.
std::optional<std::string> iniGetValue(const std::string& content, const std::string& section,
                                       const std::string& key);
// Returns the new content with the value set; every other byte stays.
std::string iniSetValue(const std::string& content, const std::string& section,
                        const std::string& key, const std::string& value);

// The program's three INI routines, on services.iniPath.
std::string INILesen(const Services& s, const std::string& section, const std::string& key,
                     const std::string& defaultValue);
// No value when the stored text is empty; callers treat that as 0.
std::optional<double> INIZahlLesen(const Services& s, const std::string& section,
                                   const std::string& key, long defaultValue);
void INISpeichern(const Services& s, const std::string& section, const std::string& key,
                  const std::string& value);
// Several values of one section in a single replacement of the file: each
// replacement waits for the disk twice, and values that belong together
// arrive together or not at all. The bytes are those of the single writes
// one after the other.
using IniValues = std::vector<std::pair<std::string, std::string>>;
void INISpeichern(const Services& s, const std::string& section, const IniValues& values);

}  // namespace lumaro

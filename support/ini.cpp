#include "support/ini.h"

#include "support/conversions.h"
#include "support/file_system.h"
#include "support/regional.h"
#include "support/trim.h"

namespace lumaro {
namespace {

// The reader hands over at most 49 characters: its callers give it a buffer
// of 50 including the terminating NUL.
constexpr std::size_t kMaxValueLength = 49;

// What the system's reader makes of the text after the '=': blanks around
// go, and so does one pair of quotes around the whole value.
std::string profileValue(const std::string& raw) {
    const auto first = raw.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::string v = raw.substr(first, raw.find_last_not_of(" \t") - first + 1);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

std::string INILesen(const Services& s, const std::string& section, const std::string& key,
                     const std::string& defaultValue) {
    std::string value = defaultValue;
    if (!s.iniPath.empty()) {
        if (auto content = fs::readWholeFile(s.iniPath)) {
            if (auto raw = iniGetValue(*content, section, key))
                value = profileValue(*raw);
        }
    }
    // The value travels as a C string: a NUL byte in the file ends it.
    value = value.substr(0, value.find('\0'));
    if (value.size() > kMaxValueLength)
        value.resize(kMaxValueLength);
    return std::string(trimBlanks(value));
}

std::optional<double> INIZahlLesen(const Services& s, const std::string& section,
                                   const std::string& key, long defaultValue) {
    const std::string text = INILesen(s, section, key, formatInteger(defaultValue));
    if (trimBlanks(text).empty())
        return std::nullopt;
    return valOfText(text);
}

void INISpeichern(const Services& s, const std::string& section, const std::string& key,
                  const std::string& value) {
    INISpeichern(s, section, IniValues{{key, value}});
}

void INISpeichern(const Services& s, const std::string& section, const IniValues& values) {
    if (s.iniPath.empty() || values.empty())
        return;
    const auto old = fs::readWholeFile(s.iniPath);
    // A file that cannot be read is never overwritten with what little we
    // know of it, and one that has gone is not created anew: the file is the
    // host's, and a stand-in holding only our keys would pass for its settings.
    if (!old)
        return;
    std::string updated = *old;
    for (const auto& [key, value] : values)
        updated = iniSetValue(updated, section, key, value);
    if (updated == *old)
        return;  // nothing changed: leave the host's file alone
    // Like the system's writer, a failure is not reported to anyone.
    fs::replaceFileAtomically(s.iniPath, updated);
}

}  // namespace lumaro

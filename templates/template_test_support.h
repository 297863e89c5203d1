// Small helpers for the template tests: building FormularDaten entries and
// reading the day log back line by line.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/fakes/fakes.h"

namespace lumaro::testing {

using Fields = std::vector<std::pair<std::string, std::string>>;

// One entry; field values are UTF-8 literals, turned into Windows-1252.
inline std::string entry(const Fields& fields) {
    std::string s = "<FormularDaten>";
    for (const auto& [name, value] : fields)
        s += "<" + name + ">" + w(value) + "</" + name + ">";
    return s + "</FormularDaten>";
}

// The log's lines without their time stamp and the two blanks after it, so
// the indent is the line's leading blanks.
inline std::vector<std::string> logLines(const TestWorld& world) {
    std::vector<std::string> lines;
    const std::string log = world.log();
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find("\r\n", start);
        if (end == std::string::npos)
            end = log.size();
        std::string line = log.substr(start, end - start);
        lines.push_back(line.size() >= 10 ? line.substr(10) : line);
        start = end + 2;
    }
    return lines;
}

inline std::vector<const DrawCall*> callsOf(const FakeSurface& surface, DrawCall::Kind kind) {
    std::vector<const DrawCall*> out;
    for (const auto& c : surface.calls) {
        if (c.kind == kind)
            out.push_back(&c);
    }
    return out;
}

}  // namespace lumaro::testing

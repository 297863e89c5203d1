// Helpers for the template tests: FormularDaten entries written tersely, and
// the day log read back line by line.
#pragma once

#include <string>
#include <vector>

#include "tests/fakes/fakes.h"

namespace lumaro::testing {

// entry("Typ=Text;oben=20,5") -> "<FormularDaten><Typ>Text</Typ>...</FormularDaten>",
// UTF-8 in, Windows-1252 out.
inline std::string entry(const std::string& fields) {
    std::string s = "<FormularDaten>";
    std::size_t start = 0;
    while (start < fields.size()) {
        std::size_t end = fields.find(';', start);
        if (end == std::string::npos)
            end = fields.size();
        const std::string field = fields.substr(start, end - start);
        const std::size_t eq = field.find('=');
        const std::string name = field.substr(0, eq);
        s += "<" + name + ">" + w(field.substr(eq + 1)) + "</" + name + ">";
        start = end + 1;
    }
    return s + "</FormularDaten>";
}

// The log's lines without the time and the two blanks after it.
inline std::vector<std::string> logLines(const TestWorld& world) {
    std::vector<std::string> lines;
    const std::string log = world.log();
    for (std::size_t start = 0, end; start < log.size(); start = end + 2) {
        end = log.find("\r\n", start);
        if (end == std::string::npos)
            end = log.size();
        lines.push_back(log.substr(start + 10, end - start - 10));
    }
    return lines;
}

inline std::vector<DrawCall> callsOf(const FakeSurface& surface, DrawCall::Kind kind) {
    std::vector<DrawCall> out;
    for (const auto& c : surface.calls) {
        if (c.kind == kind)
            out.push_back(c);
    }
    return out;
}

}  // namespace lumaro::testing

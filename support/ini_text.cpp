// The INI format as the Windows profile functions read and write it, done on
// the file's bytes so that a write changes only what it must.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "support/codepage.h"
#include "support/ini.h"

namespace lumaro {
namespace {

struct Line {
    std::size_t begin = 0;  // first byte of the line
    std::size_t end = 0;    // the line end (or the end of the content)
    std::size_t next = 0;   // first byte after the line end
};

// CR LF, lone LF and lone CR all end a line.
std::vector<Line> splitLines(const std::string& content) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        Line line;
        line.begin = pos;
        const auto stop = content.find_first_of("\r\n", pos);
        if (stop == std::string::npos) {
            line.end = line.next = content.size();
        } else {
            line.end = stop;
            line.next = stop + 1;
            if (content[stop] == '\r' && stop + 1 < content.size() && content[stop + 1] == '\n')
                line.next = stop + 2;
        }
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

// The line end a new line gets: the one the file already uses on its first
// line, CR LF for a file that has none yet.
std::string lineEndOf(const std::string& content) {
    const auto stop = content.find_first_of("\r\n");
    if (stop == std::string::npos)
        return "\r\n";
    if (content[stop] == '\n')
        return "\n";
    if (stop + 1 < content.size() && content[stop + 1] == '\n')
        return "\r\n";
    return "\r";
}

// The system's profile reader drops tabs around names and values as well as
// blanks; its rule, not the program's Trim (support/trim.h), holds here.
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t skipBlanks(const std::string& s, std::size_t from, std::size_t end) {
    while (from < end && isBlank(s[from]))
        ++from;
    return from;
}

std::string trimmed(const std::string& s, std::size_t begin, std::size_t end) {
    begin = skipBlanks(s, begin, end);
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

enum class Kind { Empty, Section, Comment, Key, Other };

struct Parsed {
    Kind kind = Kind::Other;
    std::string name;            // section or key name, trimmed
    std::size_t valueBegin = 0;  // Key: first byte after the '='
};

Parsed parse(const std::string& content, const Line& line) {
    Parsed p;
    const std::size_t first = skipBlanks(content, line.begin, line.end);
    if (first == line.end) {
        p.kind = Kind::Empty;
        return p;
    }
    if (content[first] == '[') {
        const auto close = content.find(']', first);
        if (close != std::string::npos && close < line.end) {
            p.kind = Kind::Section;
            p.name = trimmed(content, first + 1, close);
        }
        return p;  // a bracket that is never closed makes no section and no key
    }
    if (content[first] == ';') {
        p.kind = Kind::Comment;
        return p;
    }
    const auto equals = content.find('=', first);
    if (equals != std::string::npos && equals < line.end) {
        p.kind = Kind::Key;
        p.name = trimmed(content, first, equals);
        p.valueBegin = equals + 1;
    }
    return p;
}

struct Location {
    bool sectionFound = false;
    std::size_t lastNonEmpty = 0;        // line index, within the section
    std::optional<std::size_t> keyLine;  // line index
    std::size_t valueBegin = 0;
};

// Only the first section of the name counts, and in it the first key of the
// name, as with the system's own reader.
Location locate(const std::string& content, const std::vector<Line>& lines,
                const std::string& section, const std::string& key) {
    Location loc;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = parse(content, lines[i]);
        if (!loc.sectionFound) {
            if (p.kind == Kind::Section && sameIgnoringCase(p.name, section)) {
                loc.sectionFound = true;
                loc.lastNonEmpty = i;
            }
            continue;
        }
        if (p.kind == Kind::Section)
            break;
        if (p.kind != Kind::Empty)
            loc.lastNonEmpty = i;
        if (p.kind == Kind::Key && !loc.keyLine && sameIgnoringCase(p.name, key)) {
            loc.keyLine = i;
            loc.valueBegin = p.valueBegin;
        }
    }
    return loc;
}

bool holdsLineEnd(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

std::optional<std::string> iniGetValue(const std::string& content, const std::string& section,
                                       const std::string& key) {
    const std::string sectionName = trimmed(section, 0, section.size());
    const std::string keyName = trimmed(key, 0, key.size());
    if (sectionName.empty() || keyName.empty())
        return std::nullopt;
    const auto lines = splitLines(content);
    const Location loc = locate(content, lines, sectionName, keyName);
    if (!loc.keyLine)
        return std::nullopt;
    const Line& line = lines[*loc.keyLine];
    return content.substr(loc.valueBegin, line.end - loc.valueBegin);
}

std::string iniSetValue(const std::string& content, const std::string& section,
                        const std::string& key, const std::string& value) {
    const std::string sectionName = trimmed(section, 0, section.size());
    const std::string keyName = trimmed(key, 0, key.size());
    // Names that would not read back as the same section and key are refused
    // rather than written into the host's file.
    if (sectionName.empty() || keyName.empty() || holdsLineEnd(sectionName) ||
        holdsLineEnd(keyName) || sectionName.find(']') != std::string::npos ||
        keyName.find('=') != std::string::npos || keyName[0] == '[' || keyName[0] == ';')
        return content;
    // A value is one line; a line break in it would add lines of its own to
    // the host's file, so the value ends there.
    const std::string oneLine = value.substr(0, value.find_first_of("\r\n"));

    const auto lines = splitLines(content);
    const Location loc = locate(content, lines, sectionName, keyName);
    const std::string eol = lineEndOf(content);
    if (loc.keyLine) {
        // Keep the key as written and the blanks after its '='.
        const Line& line = lines[*loc.keyLine];
        const std::size_t from = skipBlanks(content, loc.valueBegin, line.end);
        return content.substr(0, from) + oneLine + content.substr(line.end);
    }
    const std::string newLine = keyName + "=" + oneLine + eol;
    if (loc.sectionFound) {
        const Line& after = lines[loc.lastNonEmpty];
        if (after.next == after.end)  // the last line of a file without a final line end
            return content + eol + newLine;
        return content.substr(0, after.next) + newLine + content.substr(after.next);
    }
    std::string out = content;
    if (!out.empty() && out.back() != '\n' && out.back() != '\r')
        out += eol;
    out += "[" + sectionName + "]" + eol + newLine;
    return out;
}

}  // namespace lumaro

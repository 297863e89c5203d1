// The INI reader and writer on any file and any edit. An edit may change the
// bytes of its own value (or add its section and key), nothing else; the value
// reads back as INILesen hands it over; earlier edits stay readable.
//
// Input: "file content \0 section \x01 key \x01 value \0 section ...". Without a
// NUL the whole input is the file, edited as the program edits it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/fuzz_world.h"
#include "support/ini.h"

namespace lumaro::fuzzing {
namespace {

struct Edit {
    std::string section, key, value;
};

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

std::string trimmedBy(const std::string& s, const char* blanks) {
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// What INILesen returns after `value` was written: one line of it, without
// the blanks and tabs around and one pair of quotes around the whole, at
// most 49 characters, without spaces at either end.
std::string readBackAs(const std::string& value) {
    std::string v = value.substr(0, value.find_first_of("\r\n"));
    v = trimmedBy(v, " \t");
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    if (v.size() > 49)
        v.resize(49);
    return trimmedBy(v, " ");
}

// Names the writer must refuse, since they would not read back as themselves.
bool writable(const Edit& e) {
    const std::string s = trimmedBy(e.section, " \t");
    const std::string k = trimmedBy(e.key, " \t");
    auto holdsBreak = [](const std::string& t) {
        return t.find_first_of("\r\n") != std::string::npos;
    };
    return !s.empty() && !k.empty() && !holdsBreak(s) && !holdsBreak(k) &&
           s.find(']') == std::string::npos && k.find('=') == std::string::npos && k[0] != '[' &&
           k[0] != ';';
}

// Two names that might be one under the system's case-insensitive
// comparison: same length, and every pair of ASCII letters equal but for case.
bool maybeSameName(const std::string& a, const std::string& b) {
    const std::string x = trimmedBy(a, " \t"), y = trimmedBy(b, " \t");
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const auto c = static_cast<unsigned char>(x[i]), d = static_cast<unsigned char>(y[i]);
        if (c >= 0x80 || d >= 0x80)
            continue;
        auto lower = [](unsigned char ch) { return ch >= 'A' && ch <= 'Z' ? ch + 32 : ch; };
        if (lower(c) != lower(d))
            return false;
    }
    return true;
}

// old = P + X + S and new = P + Y + S with X within one line: only one
// value's bytes were replaced, or lines were inserted.
void checkOnlyOneValueChanged(const std::string& before, const std::string& after) {
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const std::string removed = before.substr(prefix, before.size() - prefix - suffix);
    for (char c : removed)
        check(!isLineBreak(c), "an edit removed a line break of the host's file");
}

std::string readThroughFile(World& w, const std::string& content, const Edit& e) {
    w.services.iniPath = w.folder() + "/Halmor.ini";
    std::FILE* f = std::fopen(w.services.iniPath.c_str(), "wb");
    check(f != nullptr, "cannot write the test's Halmor.ini");
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
    return INILesen(w.services, e.section, e.key, "\x01");
}

}  // namespace
}  // namespace lumaro::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumaro;
    using namespace lumaro::fuzzing;
    const std::vector<std::string> parts = splitAt(asText(data, size), '\0');
    std::string content = parts[0];
    std::vector<Edit> edits;
    if (parts.size() == 1) {
        edits = {{"Drucker", "Labeldrucker", "Lumaro PDF"},
                 {"wdwGrafikSpeicher", "AufrufZ\xE4hler", "1"},
                 {"wdwGrafikSpeicher", "AufrufZ\xE4hlerStart", "05.12.2026 14:03"},
                 {"WDWGRAFIKSPEICHER", "breit", "2955"},
                 {"drucker", "LABELDRUCKER", "  \"Etiketten B\xFCro\"  "}};
    } else {
        for (std::size_t i = 1; i < parts.size() && edits.size() < 16; ++i) {
            std::vector<std::string> f = splitAt(parts[i], '\x01');
            f.resize(3);
            edits.push_back({f[0], f[1], f[2]});
        }
    }

    World w;
    std::vector<Edit> done;
    for (const Edit& e : edits) {
        const std::string before = content;
        content = iniSetValue(before, e.section, e.key, e.value);
        checkOnlyOneValueChanged(before, content);
        if (!writable(e)) {
            check(content == before, "the writer took names that cannot read back");
            continue;
        }
        const auto raw = iniGetValue(content, e.section, e.key);
        check(raw.has_value(), "a value just written is not found");
        check(readThroughFile(w, content, e) == readBackAs(e.value),
              "INILesen does not give back what was written");
        // Earlier values survive unless this edit may have named the same key.
        std::vector<Edit> kept;
        for (const Edit& old : done) {
            if (maybeSameName(old.section, e.section) && maybeSameName(old.key, e.key))
                continue;
            check(readThroughFile(w, content, old) == readBackAs(old.value),
                  "an edit of another key changed an earlier value");
            kept.push_back(old);
        }
        kept.push_back(e);
        done = std::move(kept);
    }
    // The program's own writer on the file: the same bytes as the text edit.
    if (!edits.empty() && writable(edits.front())) {
        const std::string original = parts[0];
        const std::string path = w.folder() + "/Halmor.ini";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        check(f != nullptr, "cannot write the test's Halmor.ini");
        std::fwrite(original.data(), 1, original.size(), f);
        std::fclose(f);
        w.services.iniPath = path;
        const Edit& e = edits.front();
        INISpeichern(w.services, e.section, e.key, e.value);
        check(w.ini() == iniSetValue(original, e.section, e.key, e.value),
              "INISpeichern wrote other bytes than the edit");
    }
    return 0;
}

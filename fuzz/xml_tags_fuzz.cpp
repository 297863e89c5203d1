// The tag operations against a plain, quadratic reading of how they are meant
// to work, and XmlCutter against repeated XMLTagAusschneiden on the same names.
//
// Input: "ops \x01 name \x01 name ... \0 text". Each byte of ops is one cut:
// its low two bits pick the name, bit 2 keeps the tags. An input without a NUL
// is all text, cut with the names of the real data files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_world.h"
#include "xml/xml_tags.h"

namespace lumaro::fuzzing {
namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string removeEvery(std::string s, const std::string& pattern) {
    if (pattern.empty())
        return s;
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = s.find(pattern, from)) != std::string::npos;
         from = at + pattern.size())
        out.append(s, from, at - from);
    out.append(s, from, std::string::npos);
    return out;
}

// The element as the data files are read: the first "<name>", the next ">"
// after its "<" must close exactly that name, then the first "</name>" after it.
struct RefElement {
    bool found = false;
    bool complained = false;  // the "Problem beim Holen" message
    std::size_t p = 0;        // where "<name>" starts
    std::size_t end = 0;      // just after "</name>"
};

RefElement refFind(const std::string& text, const std::string& name) {
    RefElement r;
    const std::string open = "<" + name + ">";
    const std::string close = "</" + name + ">";
    const std::size_t p = text.find(open);
    if (p == std::string::npos)
        return r;
    const std::size_t q = text.find('>', p + 1);
    if (q == std::string::npos)
        return r;
    if (text.substr(p + 1, q - p - 1) != name) {
        r.complained = true;
        return r;
    }
    const std::size_t e = text.find(close, p + 1);
    if (e == std::string::npos)
        return r;
    r.found = true;
    r.p = p;
    r.end = e + close.size();
    return r;
}

std::string refWertHolen(const std::string& text, const std::string& name, bool& complained) {
    complained = false;
    if (trimmed(text).empty())
        return {};
    const RefElement r = refFind(text, name);
    complained = r.complained;
    if (!r.found)
        return {};
    const std::string element = text.substr(r.p, r.end - r.p);
    return removeEvery(removeEvery(element, "<" + name + ">"), "</" + name + ">");
}

bool refAusschneiden(const std::string& text, const std::string& name, std::string& content,
                     std::string& rest, bool keepTags, bool& complained) {
    complained = false;
    if (trimmed(text).empty())
        return false;
    const RefElement r = refFind(text, name);
    complained = r.complained;
    if (!r.found) {
        content.clear();
        rest = text;
        return false;
    }
    std::string c = trimmed(text.substr(r.p, r.end - r.p));
    if (!keepTags) {
        const std::size_t open = name.size() + 2;
        const std::size_t close = name.size() + 3;
        check(c.size() >= open + close, "an element shorter than its two tags");
        c = c.substr(open, c.size() - open - close);
    }
    content = trimmed(c);
    rest = trimmed(text.substr(0, r.p) + text.substr(r.end));
    return !content.empty();
}

struct Cut {
    std::size_t name;
    bool keepTags;
};

void compareSingleOperations(const std::string& text, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        lumaro::testing::RecordedMessages messages;
        bool complained = false;
        const std::string expected = refWertHolen(text, name, complained);
        check(XMLWertHolen(messages, text, name) == expected, "XMLWertHolen differs for " + name);
        check(messages.shown.size() == (complained ? 1u : 0u),
              "XMLWertHolen: message shown " + std::to_string(messages.shown.size()) + " times");

        for (bool keep : {false, true}) {
            std::string refContent = "unchanged", refRest = "unchanged";
            const bool refResult =
                refAusschneiden(text, name, refContent, refRest, keep, complained);
            std::string content = "unchanged", rest = "unchanged";
            check(XMLTagAusschneiden(messages, text, name, content, rest, keep) == refResult &&
                      content == refContent && rest == refRest,
                  "XMLTagAusschneiden differs for " + name);
            // The callers cut their working text in place.
            std::string refSame = text;
            refContent = "unchanged";
            refAusschneiden(refSame, name, refContent, refSame, keep, complained);
            std::string same = text;
            content = "unchanged";
            const bool inPlace = XMLTagAusschneiden(messages, same, name, content, same, keep);
            check(inPlace == refResult && content == refContent && same == refSame,
                  "XMLTagAusschneiden into its own text differs for " + name);
        }
    }
}

void compareCutter(const std::string& text, const std::vector<std::string>& names,
                   const std::vector<Cut>& cuts) {
    lumaro::testing::RecordedMessages messages;
    XmlCutter cutter(messages, text);
    std::string working = text;
    for (const Cut& cut : cuts) {
        const std::string& name = names[cut.name % names.size()];
        std::string expected = "unchanged";
        const bool expectedResult =
            XMLTagAusschneiden(messages, working, name, expected, working, cut.keepTags);
        std::string content = "unchanged";
        const bool result = cutter.next(name, content, cut.keepTags);
        check(result == expectedResult && content == expected,
              "XmlCutter::next differs from XMLTagAusschneiden for " + name);
        check(cutter.remaining() == working,
              "XmlCutter keeps another rest than XMLTagAusschneiden");
    }
}

}  // namespace
}  // namespace lumaro::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumaro::fuzzing;
    const std::string_view input = asText(data, size);
    std::vector<std::string> names;
    std::vector<Cut> cuts;
    std::string text;
    const std::size_t nul = input.find('\0');
    if (nul == std::string_view::npos) {
        names = {"FormularDaten", "Wartezeitenzettel", "Medikament", "Wortlaut"};
        for (std::size_t i = 0; i < 48; ++i)
            cuts.push_back({i % 4, (i / 8) % 2 == 1});
        text = std::string(input);
    } else {
        std::vector<std::string> header = splitAt(input.substr(0, nul), '\x01');
        for (unsigned char op : header[0].substr(0, 256))
            cuts.push_back({static_cast<std::size_t>(op & 3u), (op & 4u) != 0});
        names.assign(header.begin() + 1, header.end());
        if (names.size() > 4)
            names.resize(4);
        if (names.empty())
            names.push_back("a");
        text = std::string(input.substr(nul + 1));
    }
    compareSingleOperations(text, names);
    compareCutter(text, names, cuts);
    return 0;
}

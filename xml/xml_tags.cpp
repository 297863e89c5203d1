#include "xml/xml_tags.h"

#include <algorithm>

#include "support/codepage.h"
#include "xml/element_search.h"

namespace lumaro {
namespace xml_detail {

namespace {

std::string openTag(const std::string& name) {
    return "<" + name + ">";
}
std::string closeTag(const std::string& name) {
    return "</" + name + ">";
}

// Replaces every non-overlapping occurrence, scanning left to right once.
std::string removeAll(const std::string& s, const std::string& pattern) {
    std::string out;
    out.reserve(s.size());
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = s.find(pattern, from);
        if (at == std::string::npos)
            break;
        out.append(s, from, at - from);
        from = at + pattern.size();
    }
    out.append(s, from, std::string::npos);
    return out;
}

}  // namespace

ElementSearch findElement(Messages& messages, const JoinedText& text, const std::string& name,
                          std::size_t searchFrom) {
    ElementSearch result;
    const std::string open = openTag(name);
    const std::size_t p = text.find(open, searchFrom);
    if (p == JoinedText::npos)
        return result;
    result.open = p;
    // The name as written between "<" and the next ">". It differs from the
    // name asked for only when that name holds a ">" itself, which is a
    // programming error worth telling someone about.
    const std::size_t q = text.find('>', p + 1);
    if (q == JoinedText::npos)
        return result;
    if (text.substr(p + 1, q - p - 1) != name) {
        messages.show(ansi("Problem beim Holen von '") + name + "'.\r\n\r\n" +
                          ansi("Es wird ein leeres Ergebnis zurückgegeben. Bitte informieren Sie "
                               "den Programmierer!"),
                      ansi("Fehler in der XML-Struktur!"), MessageIcon::Stop);
        return result;
    }
    const std::string close = closeTag(name);
    const std::size_t e = text.find(close, p + 1);
    if (e == JoinedText::npos)
        return result;
    result.begin = p;
    result.end = e + close.size();
    return result;
}

std::string elementContent(const JoinedText& text, const ElementSearch& element,
                           const std::string& name, bool keepTags) {
    // The element begins with "<" and ends with ">", so trimming it whole
    // changes nothing; only the inner content needs trimming. A name without
    // ">" cannot make the closing tag overlap the opening one, so the inner
    // part never has a negative length (checked all the same).
    std::size_t from = element.begin;
    std::size_t to = element.end;
    if (!keepTags) {
        const std::size_t openLength = name.size() + 2;
        const std::size_t closeLength = name.size() + 3;
        if (to - from < openLength + closeLength)
            return {};
        from += openLength;
        to -= closeLength;
    }
    // Trimmed before copying: a record can be megabytes long.
    while (from < to && text.at(from) == ' ')
        ++from;
    while (to > from && text.at(to - 1) == ' ')
        --to;
    return text.substr(from, to - from);
}

std::string joinTrimmed(std::string_view before, std::string_view after) {
    before = before.substr(std::min(before.find_first_not_of(' '), before.size()));
    if (before.empty())
        after = after.substr(std::min(after.find_first_not_of(' '), after.size()));
    const std::size_t lastInAfter = after.find_last_not_of(' ');
    after = after.substr(0, lastInAfter == std::string_view::npos ? 0 : lastInAfter + 1);
    if (after.empty()) {
        const std::size_t lastInBefore = before.find_last_not_of(' ');
        before = before.substr(0, lastInBefore == std::string_view::npos ? 0 : lastInBefore + 1);
    }
    std::string joined;
    joined.reserve(before.size() + after.size());
    joined.append(before);
    joined.append(after);
    return joined;
}

}  // namespace xml_detail

using xml_detail::JoinedText;

std::string XMLWertHolen(Messages& messages, std::string_view text, const std::string& name) {
    const JoinedText whole(text, {});
    if (whole.blankOnly())
        return {};
    const auto element = xml_detail::findElement(messages, whole, name);
    if (!element.found())
        return {};
    std::string value = whole.substr(element.begin, element.end - element.begin);
    value = xml_detail::removeAll(value, xml_detail::openTag(name));
    return xml_detail::removeAll(value, xml_detail::closeTag(name));
}

bool XMLTagAusschneiden(Messages& messages, const std::string& text, const std::string& name,
                        std::string& content, std::string& rest, bool keepTags) {
    const JoinedText whole(text, {});
    if (whole.blankOnly())
        return false;
    const auto element = xml_detail::findElement(messages, whole, name);
    if (!element.found()) {
        rest = text;  // first: content may be the same object as text
        content.clear();
        return false;
    }
    // text may be the same object as rest (or content): build both first.
    std::string newContent = xml_detail::elementContent(whole, element, name, keepTags);
    const std::string_view all(text);
    std::string newRest =
        xml_detail::joinTrimmed(all.substr(0, element.begin), all.substr(element.end));
    const bool hasContent = !newContent.empty();
    content = std::move(newContent);
    rest = std::move(newRest);
    return hasContent;
}

}  // namespace lumaro

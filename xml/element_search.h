// The search both tag operations and XmlCutter share, so that cutting through
// a long text with XmlCutter finds exactly what XMLTagAusschneiden finds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "support/services.h"
#include "support/trim.h"
#include "xml/joined_text.h"

namespace lumaro::xml_detail {

struct ElementSearch {
    static constexpr std::size_t npos = JoinedText::npos;
    // Where the first opening tag stands (npos when there is none), even when
    // the element turned out to be missing for another reason.
    std::size_t open = npos;
    // The element with both tags: [begin, end). begin is npos when missing.
    std::size_t begin = npos;
    std::size_t end = npos;
    bool found() const { return begin != npos; }
};

// The first element `name` in text, looking for its opening tag no earlier
// than searchFrom (the caller knows there is none before). Shows the
// "Problem beim Holen" message for a name the opening tag does not reproduce.
ElementSearch findElement(Messages& messages, const JoinedText& text, const std::string& name,
                          std::size_t searchFrom = 0);

// The element's content: its tags dropped unless keepTags, blanks trimmed.
std::string elementContent(const JoinedText& text, const ElementSearch& element,
                           const std::string& name, bool keepTags);

// before + after without the blanks at either end of the joined text, built
// with one copy.
std::string joinTrimmed(std::string_view before, std::string_view after);

}  // namespace lumaro::xml_detail

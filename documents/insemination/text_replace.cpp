#include "documents/insemination/text_replace.h"

#include "support/errors.h"

namespace lumaro {

std::string replaceAll(const std::string& text, const std::string& find, const std::string& with,
                       std::size_t maxLength) {
    if (find.empty())
        return text;
    std::size_t count = 0;
    for (std::size_t pos = text.find(find); pos != std::string::npos;
         pos = text.find(find, pos + find.size()))
        ++count;
    if (count == 0)
        return text;
    // Only the growth can exceed the limit; find is never empty, so the
    // division keeps the count check itself from overflowing.
    if (with.size() > find.size()) {
        const std::size_t growth = with.size() - find.size();
        if (text.size() > maxLength || count > (maxLength - text.size()) / growth)
            raiseError(err::kOutOfMemory);
    }
    std::string out;
    out.reserve(text.size() - count * find.size() + count * with.size());
    std::size_t pos = 0;
    for (std::size_t hit = text.find(find); hit != std::string::npos; hit = text.find(find, pos)) {
        out.append(text, pos, hit - pos);
        out += with;
        pos = hit + find.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

}  // namespace lumaro

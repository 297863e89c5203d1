// A read-only text made of two parts, searched as if they were one string.
//
// XmlCutter keeps its working text as a small owned "before" part followed by
// a view into the original text; the tag search must see the two as one text,
// including a tag that begins in the first part and ends in the second.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace lumaro::xml_detail {

class JoinedText {
  public:
    static constexpr std::size_t npos = std::string_view::npos;

    JoinedText(std::string_view first, std::string_view second) : a_(first), b_(second) {}

    std::size_t size() const { return a_.size() + b_.size(); }
    char at(std::size_t i) const { return i < a_.size() ? a_[i] : b_[i - a_.size()]; }

    // First occurrence of pattern starting at or after from, or npos.
    std::size_t find(std::string_view pattern, std::size_t from) const {
        const std::size_t m = pattern.size();
        if (m == 0)
            return from <= size() ? from : npos;
        if (from < a_.size()) {
            const std::size_t inFirst = a_.find(pattern, from);
            if (inFirst != npos)
                return inFirst;
            // Matches that begin in the first part and end in the second.
            const std::size_t lowest = a_.size() >= m - 1 ? a_.size() - (m - 1) : 0;
            for (std::size_t s = std::max(from, lowest); s < a_.size(); ++s) {
                if (s + m <= size() && matchesAt(pattern, s))
                    return s;
            }
        }
        const std::size_t fromInSecond = from > a_.size() ? from - a_.size() : 0;
        const std::size_t inSecond = b_.find(pattern, fromInSecond);
        return inSecond == npos ? npos : a_.size() + inSecond;
    }

    std::size_t find(char ch, std::size_t from) const {
        if (from < a_.size()) {
            const std::size_t inFirst = a_.find(ch, from);
            if (inFirst != npos)
                return inFirst;
        }
        const std::size_t fromInSecond = from > a_.size() ? from - a_.size() : 0;
        const std::size_t inSecond = b_.find(ch, fromInSecond);
        return inSecond == npos ? npos : a_.size() + inSecond;
    }

    std::string substr(std::size_t pos, std::size_t count) const {
        pos = std::min(pos, size());
        count = std::min(count, size() - pos);
        std::string out;
        out.reserve(count);
        if (pos < a_.size()) {
            const std::size_t fromFirst = std::min(count, a_.size() - pos);
            out.append(a_.substr(pos, fromFirst));
            out.append(b_.substr(0, count - fromFirst));
        } else {
            out.append(b_.substr(pos - a_.size(), count));
        }
        return out;
    }

    // True when the text is empty or holds nothing but blanks (character 32).
    bool blankOnly() const {
        return a_.find_first_not_of(' ') == npos && b_.find_first_not_of(' ') == npos;
    }

  private:
    bool matchesAt(std::string_view pattern, std::size_t s) const {
        for (std::size_t k = 0; k < pattern.size(); ++k) {
            if (at(s + k) != pattern[k])
                return false;
        }
        return true;
    }

    std::string_view a_, b_;
};

}  // namespace lumaro::xml_detail

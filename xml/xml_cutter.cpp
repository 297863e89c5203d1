#include <algorithm>
#include <cstring>
#include <utility>

#include "xml/element_search.h"
#include "xml/xml_tags.h"

namespace lumaro {

using xml_detail::JoinedText;

namespace {

// Few callers walk more than one or two names through the same text.
constexpr std::size_t kRememberedNames = 4;

}  // namespace

XmlCutter::XmlCutter(Messages& messages, std::string text)
    : messages_(messages), text_(std::move(text)), end_(text_.size()) {}

std::string XmlCutter::remaining() const {
    std::string out(head_, headBegin_);
    out.append(text_, begin_, end_ - begin_);
    return out;
}

bool XmlCutter::next(const std::string& name, std::string& content, bool keepTags) {
    const JoinedText working(std::string_view(head_).substr(headBegin_),
                             std::string_view(text_).substr(begin_, end_ - begin_));
    if (working.blankOnly())
        return false;
    const auto element = xml_detail::findElement(messages_, working, name, resumeFor(name));
    if (!element.found()) {
        remember(name, element.open == JoinedText::npos ? working.size() : element.open);
        content.clear();
        return false;
    }
    std::string newContent = xml_detail::elementContent(working, element, name, keepTags);
    remember(name, element.open);
    cut(element.begin, element.end);
    content = std::move(newContent);
    return !content.empty();
}

// Removes [p, end) of the working text and trims blanks from both ends, as
// XMLTagAusschneiden does when it joins the text before and after an element.
void XmlCutter::cut(std::size_t p, std::size_t end) {
    const std::size_t headLength = head_.size() - headBegin_;
    if (end <= headLength) {
        // The element lies wholly in the head: close the gap by moving the
        // shorter side, so that cutting near either end of a long head stays cheap.
        char* head = head_.data() + headBegin_;
        const std::size_t gap = end - p;
        const std::size_t after = headLength - end;
        if (p <= after) {
            std::memmove(head + gap, head, p);
            headBegin_ += gap;
        } else {
            std::memmove(head + p, head + end, after);
            head_.resize(headBegin_ + p + after);
        }
    } else if (p <= headLength) {
        head_.resize(headBegin_ + p);
        begin_ += end - headLength;
    } else {
        // What stood before the element moves into the head. Each character of
        // the original is moved at most once, so this stays linear overall.
        head_.append(text_, begin_, p - headLength);
        begin_ += end - headLength;
    }

    std::size_t leading = 0;
    while (headBegin_ < head_.size() && head_[headBegin_] == ' ') {
        ++headBegin_;
        ++leading;
    }
    if (headBegin_ == head_.size()) {
        while (begin_ < end_ && text_[begin_] == ' ') {
            ++begin_;
            ++leading;
        }
    }
    while (end_ > begin_ && text_[end_ - 1] == ' ')
        --end_;
    if (begin_ == end_) {
        while (head_.size() > headBegin_ && head_.back() == ' ')
            head_.pop_back();
    }
    if (headBegin_ == head_.size()) {
        head_.clear();
        headBegin_ = 0;
    } else if (headBegin_ > head_.size() / 2) {
        head_.erase(0, headBegin_);
        headBegin_ = 0;
    }

    // What each remembered search knew still holds for the front of the text
    // that did not move, but not where the cut joined two pieces: an opening
    // tag may now straddle the join.
    for (auto& r : resume_) {
        const std::size_t openLength = r.name.size() + 2;
        std::size_t from;
        if (p == 0)
            from = r.from > end ? r.from - end : 0;
        else
            from = std::min(r.from, p + 1 > openLength ? p + 1 - openLength : 0);
        r.from = from > leading ? from - leading : 0;
    }
}

std::size_t XmlCutter::resumeFor(const std::string& name) const {
    for (const auto& r : resume_) {
        if (r.name == name)
            return r.from;
    }
    return 0;
}

void XmlCutter::remember(const std::string& name, std::size_t from) {
    for (auto& r : resume_) {
        if (r.name == name) {
            r.from = from;
            return;
        }
    }
    if (resume_.size() == kRememberedNames)
        resume_.erase(resume_.begin());
    resume_.push_back({name, from});
}

}  // namespace lumaro

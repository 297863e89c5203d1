// Values and elements taken out of the data files' text by plain, case-
// sensitive search for "<name>" and the next "</name>". Data files are never
// parsed into a tree.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/services.h"

namespace lumaro {

// The value of the first element `name`: its text with every "<name>" and
// "</name>" inside removed, not trimmed; empty when there is none.
std::string XMLWertHolen(Messages& messages, std::string_view text, const std::string& name);

// Cuts the first element `name` out of text. content: the element (with its
// tags when keepTags) trimmed; rest: the text before and after it, trimmed.
// Returns true when the element was found and its content is not empty. For a
// text that is empty or blanks only, returns false and leaves content and rest
// untouched. text and rest may be the same object.
bool XMLTagAusschneiden(Messages& messages, const std::string& text, const std::string& name,
                        std::string& content, std::string& rest, bool keepTags);

// Walks the repeated elements of a long text without copying the remaining
// text for every element: each call of next() does what XMLTagAusschneiden
// does to the working text, but keeps the rest as a view into the original, so
// cutting n records out of a text of length L costs O(L) in all instead of
// O(n * L). remaining() materialises the trimmed rest when a caller needs it.
class XmlCutter {
  public:
    XmlCutter(Messages& messages, std::string text);
    // As XMLTagAusschneiden on the working text; the working text becomes the rest.
    bool next(const std::string& name, std::string& content, bool keepTags);
    std::string remaining() const;

  private:
    void cut(std::size_t begin, std::size_t end);
    std::size_t resumeFor(const std::string& name) const;
    void remember(const std::string& name, std::size_t from);

    Messages& messages_;
    // The original text. The working text is head_[headBegin_..] (what stood
    // before the elements cut so far, usually a few bytes) followed by the
    // range text_[begin_, end_) of the original.
    std::string text_;
    std::string head_;
    std::size_t headBegin_ = 0;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    // For the last few names searched: no opening tag of that name starts
    // before `from` in the working text, so the next search can start there
    // instead of reading the unchanged front of the text again.
    struct Resume {
        std::string name;
        std::size_t from;
    };
    std::vector<Resume> resume_;
};

}  // namespace lumaro

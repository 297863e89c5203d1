#include "documents/insemination/certificate_data.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

namespace lumaro {

namespace {

constexpr std::size_t npos = std::string::npos;
constexpr std::string_view kEntryOpen = "<FormularDaten>";

}  // namespace

CertificateData::CertificateData(Messages& messages, std::string text)
    : messages_(messages), original_(text), cutter_(messages, std::move(text)) {}

bool CertificateData::nextEntry(std::string& entry) {
    if (!cutter_.next("FormularDaten", entry, true))
        return false;
    ++cuts_;
    if (tracking_)
        locateCut(entry);
    return true;
}

// Finds the entry just cut in the original text. Nothing before front_ can hold
// an entry's opening tag any more (it was the first one each time), so the cut
// is the next opening tag from there; we check that it really is the text the
// cutter returned rather than trusting the search.
void CertificateData::locateCut(const std::string& entry) {
    const std::size_t begin = original_.find(kEntryOpen, front_);
    if (begin == npos || original_.compare(begin, entry.size(), entry) != 0) {
        tracking_ = false;
        return;
    }
    for (std::size_t i = begin; i > front_; --i) {
        const char ch = original_[i - 1];
        if (ch == '<' || ch == '>') {
            lastBracket_ = ch;
            break;
        }
    }
    // Cutting joins the text before the entry to the text after it. A '<' left
    // open before the join could become a tag together with what follows, which
    // the original text does not show; then only the remaining text itself can
    // answer lookups.
    if (lastBracket_ == '<') {
        tracking_ = false;
        return;
    }
    cut_.push_back({begin, begin + entry.size()});
    front_ = begin + entry.size();
}

// A tag of a plain element name can neither start nor end inside a cut entry
// without lying wholly inside it (the entry begins and ends with its own
// tags), so a hit is either wholly kept or wholly cut.
std::size_t CertificateData::findKept(const std::string& needle, std::size_t from) const {
    std::size_t pos = from;
    while (pos < original_.size()) {
        const std::size_t hit = original_.find(needle, pos);
        if (hit == npos)
            return npos;
        const auto after =
            std::upper_bound(cut_.begin(), cut_.end(), hit,
                             [](std::size_t p, const Range& r) { return p < r.begin; });
        if (after == cut_.begin() || hit >= std::prev(after)->end)
            return hit;
        pos = std::prev(after)->end;
    }
    return npos;
}

std::string CertificateData::keptText(std::size_t begin, std::size_t end) const {
    std::string out;
    std::size_t pos = begin;
    auto it = std::partition_point(cut_.begin(), cut_.end(),
                                   [&](const Range& r) { return r.end <= begin; });
    for (; it != cut_.end() && it->begin < end; ++it) {
        out.append(original_, pos, it->begin - pos);
        pos = it->end;
    }
    out.append(original_, pos, end - pos);
    return out;
}

std::string CertificateData::trackedValue(const std::string& name) {
    NameState& st = names_[name];
    // Cutting only ever removes text, so the first tag still present can only
    // lie at or after the one found last time.
    if (st.open != npos)
        st.open = findKept("<" + name + ">", st.open);
    if (st.open == npos)
        return {};
    const std::string close = "</" + name + ">";
    if (st.close != npos)
        st.close = findKept(close, std::max(st.close, st.open + 1));
    if (st.close == npos)
        return {};
    const std::size_t end = st.close + close.size();

    bool fresh = st.cached && st.cachedOpen == st.open && st.cachedClose == st.close;
    if (fresh) {
        const auto firstNew = cut_.begin() + static_cast<std::ptrdiff_t>(st.cachedCuts);
        const auto touching = std::partition_point(
            firstNew, cut_.end(), [&](const Range& r) { return r.end <= st.open; });
        fresh = touching == cut_.end() || touching->begin >= end;
    }
    if (!fresh) {
        st.cachedValue = XMLWertHolen(messages_, keptText(st.open, end), name);
        st.cached = true;
        st.cachedOpen = st.open;
        st.cachedClose = st.close;
    }
    st.cachedCuts = cut_.size();
    return st.cachedValue;
}

std::string CertificateData::value(const std::string& name) {
    if (tracking_)
        return trackedValue(name);
    if (remainingAtCuts_ != cuts_) {
        remaining_ = cutter_.remaining();
        remainingAtCuts_ = cuts_;
    }
    return XMLWertHolen(messages_, remaining_, name);
}

}  // namespace lumaro

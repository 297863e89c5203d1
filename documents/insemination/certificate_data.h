// The certificate's data while its layout entries are taken out one by one.
//
// The entries are cut out of the data in order, and every value looked up
// after a cut sees the data without the entries taken so far, exactly as
// XMLWertHolen on the remaining text would. A file with thousands of entries
// must not pay for a copy of that remaining text per lookup, so the cut-out
// entries are kept as ranges of the original text and every element name has
// search positions that only ever move forward: the whole layout pass then
// reads the text a bounded number of times per element name.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "support/services.h"
#include "xml/xml_tags.h"

namespace lumaro {

class CertificateData {
  public:
    CertificateData(Messages& messages, std::string text);

    // Cuts the next FormularDaten entry out of the data, with its own tags.
    bool nextEntry(std::string& entry);

    // XMLWertHolen on the data as it stands now. name is a plain element name
    // (letters and digits).
    std::string value(const std::string& name);

  private:
    struct Range {
        std::size_t begin, end;
    };
    struct NameState {
        std::size_t open = 0;   // first "<name>" still in the data, npos when none is left
        std::size_t close = 0;  // first "</name>" after it still in the data
        bool cached = false;
        std::size_t cachedOpen = 0, cachedClose = 0, cachedCuts = 0;
        std::string cachedValue;
    };

    void locateCut(const std::string& entry);
    std::size_t findKept(const std::string& needle, std::size_t from) const;
    std::string keptText(std::size_t begin, std::size_t end) const;
    std::string trackedValue(const std::string& name);

    Messages& messages_;
    std::string original_;
    XmlCutter cutter_;
    std::size_t cuts_ = 0;

    // Ranges of original_ cut away so far, in text order.
    std::vector<Range> cut_;
    // End of the last cut: the text before it no longer changes.
    std::size_t front_ = 0;
    // The last '<' or '>' in the text kept before front_, 0 when there is none.
    char lastBracket_ = 0;
    // False once the ranges cannot vouch for the remaining text any more (a
    // tag could have been glued together across a cut); lookups then search
    // the remaining text itself.
    bool tracking_ = true;
    std::map<std::string, NameState> names_;

    std::string remaining_;
    std::size_t remainingAtCuts_ = static_cast<std::size_t>(-1);
};

}  // namespace lumaro

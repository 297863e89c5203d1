// The cost list of the insemination certificate.
//
// One layout entry (DatenTyp "Aufstellung der Kosten", no Wortlaut of its own)
// stands for the whole list. It is the pattern of every row: each cost item
// that is not zero becomes a label row at the entry's place and an amount row
// ending at links + column width; a rule closes the column and "Betrag" with
// the total stands below it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "support/regional.h"
#include "support/services.h"

namespace lumaro {

// The value of a data element, as the certificate's data stands.
using ValueLookup = std::function<std::string(const std::string& element)>;

struct CostColumn {
    std::int16_t width;  // Groesse * 70 / 11
    std::int16_t step;   // Groesse * 5 / 11, the height of one row
};

// Column width and row step for a font size, rounded half to even. Sizes whose
// products leave the 16-bit range raise error 6.
CostColumn costColumn(std::int16_t groesse);

// The rows that replace the cost-list entry, each behind a CR LF. advance is
// the running vertical advance of the certificate: it starts at 0 once and is
// carried from one cost list to the next, so a second list stands below the
// first. Amount texts that cannot be read raise error 13, numbers outside
// their range error 6.
std::string expandCostList(Messages& messages, const Regional& regional, const std::string& entry,
                           const ValueLookup& valueOf, double& advance, std::size_t maxLength);

}  // namespace lumaro

#include "support/run_log.h"

#include <algorithm>

#include "support/errors.h"
#include "support/file_system.h"
#include "support/regional.h"

namespace lumaro {

void Protokollieren(const Services& s, const std::string& text, int indent) {
    // The date picks the file, so a run past midnight goes on in the next
    // day's log.
    const std::string path =
        fs::joinPath(s.programFolder, formatDate_yy_mm_dd(s.clock.now()) + ".txt");
    // The indent is a small 16-bit number; a negative one indents nothing.
    const auto blanks = static_cast<std::size_t>(std::clamp(indent, 0, 32767));
    const std::string line =
        formatTime_hh_mm_ss(s.clock.now()) + "  " + std::string(blanks, ' ') + text + "\r\n";
    if (!fs::appendToFile(path, line))
        raiseError(err::kPathFileAccess);
}

}  // namespace lumaro

// Which data element fills a certificate entry: the host names the value an
// entry stands for by a German label in its DatenTyp.
#pragma once

#include <optional>
#include <string>

namespace lumaro {

// The element whose value belongs into an entry labelled datenTyp
// (Windows-1252, compared exactly), or nothing for a label we do not know.
std::optional<std::string> elementForLabel(const std::string& datenTyp);

}  // namespace lumaro

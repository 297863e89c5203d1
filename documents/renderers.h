// The document renderers behind the dispatch. Each takes the whole text of its
// data file and returns true when the document was printed and its print job
// ended: only then is the data file deleted.
#pragma once

#include <functional>
#include <string>

#include "printing/context.h"

namespace lumaro {

using Renderer = std::function<bool(Context&, const std::string&)>;

struct Renderers {
    Renderer besamungsschein;  // Besamung.xml
    Renderer a4Blaetter;       // "Wartezeiten A4 für Tierhalter"
    Renderer zweiMalA5;        // "Wartezeiten 2 x A5 auf A4", and no layout phrase
    Renderer a5Blaetter;       // "Wartezeiten auf A5-Papier"
};

// The renderers of this build, with the state they keep for one run.
Renderers makeRenderers();

}  // namespace lumaro

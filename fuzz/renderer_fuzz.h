// One document renderer on the whole text of a data file, as the dispatch
// hands it over. True must mean the print job is ended: the dispatch deletes
// the data file then, so nothing of the document may still be waiting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "fuzz/fuzz_world.h"

namespace lumaro::fuzzing {

inline void renderWholeFile(const std::uint8_t* data, std::size_t size,
                            const std::function<bool(Context&, const std::string&)>& renderer) {
    const std::string text(asText(data, size));
    runInWorld([&](World& w) {
        const bool printed = renderer(w.context, text);
        if (printed) {
            const auto& calls = w.surface.calls;
            check(calls.empty() || calls.back().kind == lumaro::testing::DrawCall::EndDoc,
                  "the renderer reported success with its print job still open");
        }
    });
}

}  // namespace lumaro::fuzzing

// What every fuzz target shares: a program folder that lives as long as the
// process and is put back to the same state before each input, fresh fakes per
// input, and the checks that hold whatever the input was.
//
// libFuzzer calls the target millions of times in one process, so nothing of
// one input may leak into the next: the day log, the picture holder's marks in
// Halmor.ini and every file the input made are removed, and the surface and the
// messages start empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "printing/context.h"
#include "tests/fakes/fakes.h"

namespace lumaro::fuzzing {

// The host's own part of Halmor.ini: the program may add its keys, but these
// bytes must survive every run.
extern const char* const kHostIni;

// One input's world: the shared folder (reset) and fresh fakes on it.
class World {
  public:
    World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    lumaro::testing::FixedClock clock;
    lumaro::testing::RecordedMessages messages;
    Services services;
    lumaro::testing::FakeSurface surface;
    lumaro::testing::FakePictureLoader pictures;
    Context context;

    std::string folder() const;
    // Halmor.ini as it is now ("" when it is gone).
    std::string ini() const;
};

// Runs body in a fresh World and afterwards checks what must hold for every
// input: Halmor.ini still begins with the host's bytes, every drawn position
// is a finite number, every message has a text. A RuntimeError or ProgramEnd
// out of body is an allowed outcome (the program's own reported end); anything
// else escaping is a finding. Returns false when body ended with one of those
// two.
bool runInWorld(const std::function<void(World&)>& body);

// Ends the process with a message on standard error and abort(), so that
// libFuzzer keeps the input and a replay run fails.
[[noreturn]] void finding(const std::string& what);
inline void check(bool ok, const std::string& what) {
    if (!ok)
        finding(what);
}

// Splits the input at the byte sep: the pieces in order, at least one.
std::vector<std::string> splitAt(std::string_view data, char sep);

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace lumaro::fuzzing

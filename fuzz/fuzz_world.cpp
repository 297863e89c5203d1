#include "fuzz/fuzz_world.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "support/errors.h"

namespace lumaro::fuzzing {

const char* const kHostIni =
    "[Allgemein]\r\nPraxisname=Tierarztpraxis Gr\xFCnwald\r\nMandant=1\r\n\r\n"
    "[Drucker]\r\nLabeldrucker=Etiketten\r\n";

namespace {

// The program folder of every input of this process. A function-level static:
// libFuzzer's entry point is a free function, and creating a folder per input
// would cost more than most inputs.
lumaro::testing::TempFolder& sharedFolder() {
    static lumaro::testing::TempFolder folder;
    return folder;
}

// Empties the folder and writes the host's files anew: Halmor.ini, the
// database file (only tested for presence), a picture the templates can name
// as "logo.png" and one the picture loader refuses.
void resetFolder(const lumaro::testing::TempFolder& folder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path(), ec)) {
        std::filesystem::remove_all(entry.path(), ec);
    }
    folder.write("Halmor.ini", kHostIni);
    folder.write("Halmor.mdb", "");
    folder.write("logo.png", "\x89PNG\r\n\x1a\n");
    folder.write("bild.bad", "no picture");  // the fake loader refuses it
}

bool finite(double v) {
    return std::isfinite(v);
}

void checkAfterwards(const World& w) {
    const std::string ini = w.ini();
    check(ini.rfind(kHostIni, 0) == 0, "Halmor.ini lost the host's settings:\n" + ini);
    for (const auto& c : w.surface.calls) {
        check(finite(c.x) && finite(c.y) && finite(c.x2) && finite(c.y2),
              "a drawing call with a position that is no finite number: " + c.text);
        if (c.kind == lumaro::testing::DrawCall::Text)
            check(finite(c.size) && c.size > 0, "a text drawn in a size that is no size");
    }
    for (const auto& m : w.messages.shown)
        check(!m.text.empty(), "a message without a text, title: " + m.title);
}

}  // namespace

World::World()
    : services{clock, messages, Regional{}, sharedFolder().path(),
               sharedFolder().file("Halmor.ini")},
      context{services, surface, pictures, PageBounds{}} {
    resetFolder(sharedFolder());
}

std::string World::folder() const {
    return sharedFolder().path();
}

std::string World::ini() const {
    return sharedFolder().read("Halmor.ini").value_or("");
}

bool runInWorld(const std::function<void(World&)>& body) {
    World w;
    bool completed = true;
    try {
        body(w);
    } catch (const RuntimeError&) {
        completed = false;  // the program's own reported error
    } catch (const ProgramEnd&) {
        completed = false;  // the program's own end after its message
    }
    checkAfterwards(w);
    return completed;
}

void finding(const std::string& what) {
    std::fprintf(stderr, "\n*** FUZZ FINDING: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

std::vector<std::string> splitAt(std::string_view data, char sep) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = data.find(sep, from);
        if (at == std::string_view::npos) {
            parts.emplace_back(data.substr(from));
            return parts;
        }
        parts.emplace_back(data.substr(from, at - from));
        from = at + 1;
    }
}

}  // namespace lumaro::fuzzing

// The file test ending that needs a forked child on POSIX systems: a process
// out of file handles. A file the user may not read is checked on the real
// program (tests/e2e/test_faults.py).
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>

#include "support/errors.h"
#include "support/file_access.h"
#include "support/testing_child_posix.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

TEST(PosixFileTest, AConditionTheTableDoesNotKnowEndsTheProgramWithItsNumber) {
    // Running out of file handles has no row of its own; the user is shown
    // our number for it (1000 + errno).
    testing::TestWorld world;
    world.folder.write("Besamung.xml", "x");
    const std::string path = world.folder.file("Besamung.xml");
    // Taken out before the limit: the sanitizer's type checks of the fixture
    // need file handles of their own.
    const Services& services = world.services;
    const auto& shown = world.messages.shown;
    const auto outcome = testing::runInChild(
        [&] {
            // UndefinedBehaviorSanitizer checks a virtual call the first time
            // it sees it, and that check needs a file handle of its own (a
            // pipe): make the one call DateiVorhanden will make once here.
            services.messages.show("", "", MessageIcon::None);
            world.messages.shown.clear();
            const rlimit none{0, 0};
            ::setrlimit(RLIMIT_NOFILE, &none);
            try {
                DateiVorhanden(services, path);
                return std::string("returned");
            } catch (const ProgramEnd& end) {
                const auto& m = shown.at(0);
                return std::to_string(end.exitStatus) + "|" + m.title + "|" +
                       std::to_string(static_cast<int>(m.icon)) + "|" + m.text;
            }
        },
        false);
    ASSERT_EQ(outcome.status, testing::ChildOutcome::Ran);
    EXPECT_EQ(outcome.output, "2|Datei ist offen|" +
                                  std::to_string(static_cast<int>(MessageIcon::Exclamation)) +
                                  "|Fehler Nr. " + std::to_string(1000 + EMFILE) +
                                  " - undefinierter Fehler - Programm wird beendet");
}

}  // namespace
}  // namespace lumaro

// A condition the file test's table does not know (a process out of file
// handles, in a forked child) ends the program with our number, 1000 + errno.
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
    testing::TestWorld world;
    world.folder.write("Besamung.xml", "x");
    const std::string path = world.folder.file("Besamung.xml");
    // Taken out before the limit: the sanitizer's checks need file handles.
    const Services& services = world.services;
    const auto& shown = world.messages.shown;
    const auto outcome = testing::runInChild(
        [&] {
            // The sanitizer's first check of a virtual call needs a handle.
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

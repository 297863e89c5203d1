// The file test's endings that need a forked child on POSIX systems: a file
// the user may not read (as root the child drops its privileges first) and a
// process out of file handles.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>

#include "support/errors.h"
#include "support/file_access.h"
#include "support/testing_child_posix.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::w;

class PosixFileTest : public ::testing::Test {
  protected:
    testing::TestWorld world;
    const Services& s = world.services;
};

TEST_F(PosixFileTest, AFileTheUserMayNotReadEndsTheProgramAfterNamingIt) {
    ::chmod(world.folder.path().c_str(), 0755);
    world.folder.write("Halmor.ini", "[Drucker]\r\n");
    ::chmod(world.folder.file("Halmor.ini").c_str(), 0000);
    const std::string path = world.folder.file("Halmor.ini");
    const auto outcome = testing::runInChild(
        [&] {
            try {
                DateiVorhanden(s, path);
                return std::string("returned");
            } catch (const ProgramEnd& end) {
                const auto& m = world.messages.shown;
                if (m.size() != 1)
                    return std::string("messages: ") + std::to_string(m.size());
                return "end " + std::to_string(end.exitStatus) + "|" + m[0].title + "|" +
                       std::to_string(static_cast<int>(m[0].icon)) + "|" + m[0].text;
            }
        },
        true);
    if (outcome.status == testing::ChildOutcome::NoPrivilegeDrop)
        GTEST_SKIP() << "running as root and unable to switch to an unprivileged user";
    ASSERT_EQ(outcome.status, testing::ChildOutcome::Ran);
    EXPECT_EQ(outcome.output,
              "end 2|Lumaro|" + std::to_string(static_cast<int>(MessageIcon::None)) + "|" +
                  w("Auf die Datei " + path +
                    " kann nicht zugegriffen werden! Sie sollten das Programm beenden, und nach "
                    "der Ursache suchen, falls auf diese Datei zugegriffen werden soll, da sonst "
                    "während der Ausführung Fehler auftreten können!"));
}

TEST_F(PosixFileTest, AConditionTheTableDoesNotKnowEndsTheProgramWithItsNumber) {
    // Running out of file handles has no row of its own; the user is shown
    // our number for it (1000 + errno).
    world.folder.write("Besamung.xml", "x");
    const std::string path = world.folder.file("Besamung.xml");
    // Taken out before the limit: the sanitizer's type checks of the fixture
    // need file handles of their own.
    const Services& services = s;
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

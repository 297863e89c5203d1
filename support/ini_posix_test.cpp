// The INI writer and a file the user may write but not read, shown in a
// forked child (as root the child drops its privileges first).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/ini.h"
#include "support/testing_child_posix.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

TEST(IniFilePosix, INISpeichernNeverOverwritesAnUnreadableFile) {
    testing::TestWorld world;
    const Services& s = world.services;
    ::chmod(world.folder.path().c_str(), 0777);
    world.folder.write("Halmor.ini", "[Drucker]\r\nLabeldrucker=Geheim\r\n");
    ::chmod(world.services.iniPath.c_str(), 0222);  // may be written, not read
    const auto outcome = testing::runInChild(
        [&] {
            INISpeichern(s, "Drucker", "Labeldrucker", "Zebra");
            return std::string("done");
        },
        true);
    ::chmod(world.services.iniPath.c_str(), 0644);
    if (outcome.status == testing::ChildOutcome::NoPrivilegeDrop)
        GTEST_SKIP() << "running as root and unable to switch to an unprivileged user";
    ASSERT_EQ(outcome.status, testing::ChildOutcome::Ran);
    EXPECT_EQ(world.folder.read("Halmor.ini"), "[Drucker]\r\nLabeldrucker=Geheim\r\n");
}

}  // namespace
}  // namespace lumaro

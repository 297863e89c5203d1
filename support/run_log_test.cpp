#include "support/run_log.h"

#include <gtest/gtest.h>

#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::w;

class RunLog : public ::testing::Test {
  protected:
    testing::TestWorld world;
    const Services& s = world.services;
};

TEST_F(RunLog, TheFileIsNamedAfterTheDayLaterCallsAppendAndMidnightStartsANewOne) {
    world.folder.write("26_12_05.txt", "10:00:00  vom Morgen\r\n");
    Protokollieren(s, "erste", 0);
    world.clock.time.second = 28;
    Protokollieren(s, "zweite", 0);
    world.clock.time = DateTime{2026, 12, 6, 0, 0, 1};
    Protokollieren(s, "nachher", 0);
    EXPECT_EQ(world.folder.read("26_12_05.txt"),
              "10:00:00  vom Morgen\r\n14:03:27  erste\r\n14:03:28  zweite\r\n");
    EXPECT_EQ(world.folder.read("26_12_06.txt"), "00:00:01  nachher\r\n");
}

}  // namespace
}  // namespace lumaro

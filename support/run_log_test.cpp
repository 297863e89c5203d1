#include "support/run_log.h"

#include <gtest/gtest.h>

#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::w;

class RunLog : public ::testing::Test {
  protected:
    testing::TestWorld world;
    const Services& s = world.services;
};

TEST_F(RunLog, LinesAreTimeTwoBlanksIndentAndTextEndingInCrLf) {
    Protokollieren(s, "+++++ Programm Lumaro wird beendet +++++", 0);
    Protokollieren(s, w("DruckerEinlesen wird ausgeführt."), 4);
    Protokollieren(s, w("  schon eingerückt"), 8);
    Protokollieren(s, "x", -4);  // a negative indent indents nothing
    EXPECT_EQ(world.log(), w("14:03:27  +++++ Programm Lumaro wird beendet +++++\r\n"
                             "14:03:27      DruckerEinlesen wird ausgeführt.\r\n"
                             "14:03:27            schon eingerückt\r\n"
                             "14:03:27  x\r\n"));
}

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

TEST_F(RunLog, ALogThatCannotBeWrittenRaisesError75) {
    world.services.programFolder = world.folder.file("gibt-es-nicht");
    try {
        Protokollieren(s, "x", 0);
        FAIL() << "no error raised";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 75);
        EXPECT_EQ(e.description(), "Fehler beim Zugriff auf Pfad/Datei");
    }
}

}  // namespace
}  // namespace lumaro

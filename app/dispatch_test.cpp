#include "app/dispatch.h"

#include <gtest/gtest.h>

#include "tests/fakes/fakes.h"

namespace lumaro::testing {
namespace {

struct DispatchFixture : ::testing::Test {
    TestWorld world;
    Renderers renderers;
    std::vector<std::string> calls;
};

TEST_F(DispatchFixture, FileArrivingWhilePrintingIsPrintedInTheSameRun) {
    int n = 0;
    renderers.besamungsschein = [&](Context&, const std::string& text) {
        calls.push_back(text);
        if (++n == 1)
            world.folder.write("Besamung.xml", "zweiter");  // after reading
        return true;
    };
    world.folder.write("Besamung.xml", "erster");
    EXPECT_TRUE(MediInhaltDrucken(world.context, renderers));
    // The new file must not be deleted unseen with the one that was printed.
    EXPECT_EQ(calls, (std::vector<std::string>{"erster", "zweiter"}));
    EXPECT_FALSE(world.folder.read("Besamung.xml"));
}

// Handed over once, the certificate first; the real program's runs check the
// rest of a file's way (printed and deleted, logged, kept after an error).
TEST_F(DispatchFixture, AFileNotPrintedStays) {
    const auto failing = [this](std::string name) {
        return [this, name](Context&, const std::string& text) {
            calls.push_back(name + ":" + text);
            return false;
        };
    };
    renderers.besamungsschein = failing("besamung");
    renderers.zweiMalA5 = failing("2xa5");
    world.folder.write("WZBeleg.xml", "kein Layout");
    world.folder.write("Besamung.xml", "");
    EXPECT_FALSE(MediInhaltDrucken(world.context, renderers));
    EXPECT_EQ(calls, (std::vector<std::string>{"besamung:", "2xa5:kein Layout"}));
    EXPECT_EQ(world.folder.read("WZBeleg.xml"), "kein Layout");
    EXPECT_EQ(world.folder.read("Besamung.xml"), "");
}

}  // namespace
}  // namespace lumaro::testing

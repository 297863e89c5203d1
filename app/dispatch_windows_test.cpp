// The dispatch on Windows, where other programs hold files open: a virus
// scanner that looks at a printed data file must not have it printed twice
// or end the run.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "app/dispatch.h"
#include "support/testing_handles_windows.h"
#include "tests/fakes/fakes.h"

namespace lumaro::testing {
namespace {

TEST(DispatchOnWindows, APrintedFileAScannerStillHoldsIsPrintedOnce) {
    TestWorld world;
    world.folder.write("Besamung.xml", "<Besamung/>");
    std::unique_ptr<HeldFile> scanner;
    std::vector<std::string> printed;
    Renderers renderers;
    renderers.besamungsschein = [&](Context&, const std::string& text) {
        printed.push_back(text);
        if (printed.size() == 1) {
            // The scanner opens the file while it is printed and keeps it
            // until after the run has deleted it.
            scanner =
                std::make_unique<HeldFile>(world.folder.file("Besamung.xml"), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        } else {
            scanner.reset();  // lets a faulty dispatch come to an end
        }
        return true;
    };
    EXPECT_TRUE(MediInhaltDrucken(world.context, renderers));
    EXPECT_EQ(printed, std::vector<std::string>{"<Besamung/>"});
    ASSERT_TRUE(scanner && scanner->held());
    EXPECT_TRUE(world.messages.shown.empty());
    scanner.reset();
    EXPECT_FALSE(world.folder.read("Besamung.xml").has_value());
}

}  // namespace
}  // namespace lumaro::testing

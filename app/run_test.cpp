#include "app/run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "app/fake_window_test_support.h"
#include "printing/printer_list.h"
#include "support/errors.h"

namespace lumaro::testing {
namespace {

struct RunFixture : ::testing::Test {
    TestWorld world;
    FakeWindow window;
    FakePrinterSystem system{{"Buero", "Stall Etiketten"}, "Stall Etiketten"};
    PrinterList printers{world.surface, system, "", world.folder.path()};
    Renderers renderers;
    std::string commandLine;
    bool unattended = false;

    LumaroRun& start() {
        run = std::make_unique<LumaroRun>(
            RunSetup{world.context, window, printers, renderers, commandLine, unattended});
        window.onClick = [this] { run->onListClicked(); };
        window.onAboutToUnload = [this] { run->onAboutToUnload(); };
        window.onUnloaded = [this] { run->onUnloaded(); };
        return *run;
    }
    void hostFiles(const std::string& ini = "[Drucker]\r\nLabeldrucker=\r\n") {
        world.folder.write("Halmor.ini", ini);
        world.folder.write("Halmor.mdb", "");
    }
    std::unique_ptr<LumaroRun> run;
};

// The run's log lines, the missing Halmor.ini and the saved choice at the end
// are checked on the real program (tests/e2e/test_program.py).
TEST_F(RunFixture, APrintedDocumentIsDeletedAndTheExitTimerStarted) {
    hostFiles();
    renderers.besamungsschein = [](Context& c, const std::string&) {
        c.printer.print("x");
        c.printer.endDoc();
        return true;
    };
    world.folder.write("Besamung.xml", "<x/>");
    LumaroRun& r = start();
    r.load();
    EXPECT_TRUE(r.printed());
    EXPECT_EQ(window.timerMs, 2000);
    EXPECT_FALSE(world.folder.read("Besamung.xml").has_value());
    // Nobody chose in the list: the end of the run writes nothing.
    EXPECT_EQ(*world.folder.read("Halmor.ini"), "[Drucker]\r\nLabeldrucker=\r\n");
}

TEST_F(RunFixture, TheSavedLabelPrinterIsWrittenOnlyWhenTheUserChoseInTheList) {
    // A label printer switched off today: the list preselects the current
    // printer, yet neither a key nor the end of the run may save that.
    const std::string ini = "[Drucker]\r\nLabeldrucker=Zebra USB\r\n; host comment\r\n";
    hostFiles(ini);
    auto& r = start();
    r.load();
    EXPECT_EQ(window.listText(), "Stall Etiketten");
    r.onListKeyUp();
    window.unload();
    EXPECT_EQ(*world.folder.read("Halmor.ini"), ini);

    // The user picks the preselected printer itself: that is a choice.
    world.folder.write("Halmor.ini", ini);
    window = FakeWindow();
    auto& again = start();
    again.load();
    window.selectListIndex(window.selected);
    EXPECT_EQ(*world.folder.read("Halmor.ini"),
              "[Drucker]\r\nLabeldrucker=Stall Etiketten\r\n; host comment\r\n");
}

TEST_F(RunFixture, SavedLabelPrinterIsPreselectedWithoutWritingDuringTheLoad) {
    hostFiles("[Drucker]\r\nLabeldrucker=Lumaro PDF\r\n; host comment\r\n");
    start().load();
    EXPECT_EQ(window.selected, 2);
    EXPECT_EQ(window.items.size(), 3u);
    // Nothing printed: the INI is untouched during the load.
    EXPECT_EQ(*world.folder.read("Halmor.ini"),
              "[Drucker]\r\nLabeldrucker=Lumaro PDF\r\n; host comment\r\n");
    // A choice in the list is saved at once.
    window.selectListIndex(0);
    EXPECT_EQ(*world.folder.read("Halmor.ini"),
              "[Drucker]\r\nLabeldrucker=Buero\r\n; host comment\r\n");
}

TEST_F(RunFixture, UnknownSavedPrinterFallsBackToTheCurrentOne) {
    hostFiles("[Drucker]\r\nLabeldrucker=Gibt es nicht\r\n");
    start().load();
    EXPECT_EQ(window.selected, 1);
}

TEST_F(RunFixture, MissingDatabaseNamesItInTheMessage) {
    world.folder.write("Halmor.ini", "");
    EXPECT_THROW(start().load(), ProgramEnd);
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_NE(world.messages.shown[0].text.find("'halmor.mdb' die aber"), std::string::npos);
    EXPECT_EQ(*world.folder.read("Halmor.ini"), "");
}

TEST_F(RunFixture, SetPrinterWithAnUnknownNameChangesNothing) {
    hostFiles();
    auto& r = start();
    world.services.iniPath = world.folder.file("Halmor.ini");
    EXPECT_FALSE(r.SetPrinter("Nirgendwo"));
    EXPECT_EQ(world.surface.deviceName(), "Stall Etiketten");
    const std::string log = world.log();
    EXPECT_TRUE(log.ends_with("          SetPrinter result = False\r\n")) << log;
}

}  // namespace
}  // namespace lumaro::testing

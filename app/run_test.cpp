#include "app/run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "app/fake_window_test_support.h"
#include "printing/printer_list.h"
#include "support/errors.h"

namespace lumaro::testing {
namespace {

// The log's lines without their time stamps.
std::vector<std::string> logLines(const std::string& log) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < log.size()) {
        std::size_t end = log.find("\r\n", pos);
        if (end == std::string::npos)
            end = log.size();
        lines.push_back(log.substr(pos + 8, end - pos - 8));  // "hh:mm:ss" cut off
        pos = end + 2;
    }
    return lines;
}

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

TEST_F(RunFixture, NormalStartLogsTheRunAndThePrinterChoiceInOrder) {
    hostFiles();
    commandLine = "/x --trace t.jsonl";
    renderers.besamungsschein = [](Context& c, const std::string&) {
        c.printer.print("x");
        c.printer.endDoc();
        return true;
    };
    world.folder.write("Besamung.xml", "<x/>");
    auto next = start().load();
    EXPECT_EQ(next, LumaroRun::Next::WaitForExitTimer);
    EXPECT_EQ(window.timerMs, 2000);
    window.unload();

    const std::string b = world.folder.file("Besamung.xml");
    const std::vector<std::string> expected = {
        w("  ***** Lumaro.exe, Druckfunktion für Tierärzte - Version 26. September 2010 wird "
          "gestartet *****"),
        "      Parameter: /x --trace t.jsonl",
        w("      DruckerEinlesen wird ausgeführt."),
        w("          DruckerEinlesen wurde ausgeführt: Printer.DeviceName = Stall Etiketten"),
        w("      FunktionenDrucker.general.SetPrinter wird ausgeführt. prnName = Stall Etiketten"),
        "          SetPrinter result = True --> prnName wurde gefunden als 1 aus 0 bis 2 = Stall "
        "Etiketten",
        "          SetPrinter result = True",
        "      Besamungsschein gefunden: " + b,
        "  +++++ Programm Lumaro wird beendet +++++",
    };
    EXPECT_EQ(logLines(world.log()), expected);
    EXPECT_FALSE(world.folder.read("Besamung.xml").has_value());
    // The end of the run saves the list choice once more.
    EXPECT_EQ(*world.folder.read("Halmor.ini"), "[Drucker]\r\nLabeldrucker=Stall Etiketten\r\n");
}

TEST_F(RunFixture, SavedLabelPrinterIsPreselectedWithoutWritingDuringTheLoad) {
    hostFiles("[Drucker]\r\nLabeldrucker=Lumaro PDF\r\n; host comment\r\n");
    start().load();
    EXPECT_EQ(window.selected, 2);
    EXPECT_EQ(window.items.size(), 3u);
    // Nothing printed: the user is asked, the window stays, the INI is untouched.
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              "Bitte den Drucker einstellen und das Programm dann beenden.");
    EXPECT_EQ(world.messages.shown[0].title, window.caption());
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Information);
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

TEST_F(RunFixture, MissingIniEndsWithTheFourPartMessageAndWritesNothing) {
    world.folder.write("Halmor.mdb", "");
    auto& r = start();
    try {
        r.load();
        FAIL() << "the run went on without Halmor.ini";
    } catch (const ProgramEnd& e) {
        EXPECT_EQ(e.exitStatus, 2);
    }
    ASSERT_EQ(world.messages.shown.size(), 1u);
    const auto& m = world.messages.shown[0];
    EXPECT_EQ(m.title, "Datei fehlt!");
    EXPECT_EQ(m.icon, MessageIcon::Stop);
    EXPECT_EQ(m.text,
              "Im Ordner '" + world.folder.path() +
                  w("' existiert keine Datei mit dem Namen 'halmor.ini' die aber für den Druck "
                    "benötigt wird.\n\nSchliessen Sie alle Programme und verschieben Sie diese "
                    "Datei aus dem Windows-Ordner (c:\\Windows oder c:\\NT) in den Ordner wo "
                    "Tessnar-Halmor läuft.\nDies sollte c:\\Tessnar sein. Die Verwendung eines "
                    "anderen Ordners erfolgt auf eigene Gefahr!"));
    auto lines = logLines(world.log());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "  +++++ Programm Lumaro wird beendet +++++");
    EXPECT_FALSE(world.folder.read("Halmor.ini").has_value());
    EXPECT_TRUE(window.items.empty());
}

TEST_F(RunFixture, MissingDatabaseNamesItInTheMessage) {
    world.folder.write("Halmor.ini", "");
    EXPECT_THROW(start().load(), ProgramEnd);
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_NE(world.messages.shown[0].text.find("'halmor.mdb' die aber"), std::string::npos);
    EXPECT_EQ(*world.folder.read("Halmor.ini"), "");
}

TEST_F(RunFixture, WindowIsFittedToTheListAndCentred) {
    hostFiles();
    start().load();
    // Inner area 840 + 4335 + 120 = 5295 by 120 + 360 + 120 = 600, plus the frame.
    EXPECT_DOUBLE_EQ(window.outer.width, 5295 + 120);
    EXPECT_DOUBLE_EQ(window.outer.height, 600 + 435);
    EXPECT_DOUBLE_EQ(window.outer.left, 28800 / 2 - 5415 / 2.0);
    EXPECT_DOUBLE_EQ(window.outer.top, 16200 / 2 - 1035 / 2.0);
    EXPECT_TRUE(window.shown);
}

TEST_F(RunFixture, SetPrinterWithAnUnknownNameChangesNothing) {
    hostFiles();
    auto& r = start();
    world.services.iniPath = world.folder.file("Halmor.ini");
    EXPECT_FALSE(r.SetPrinter("Nirgendwo"));
    EXPECT_EQ(world.surface.deviceName(), "Stall Etiketten");
    auto lines = logLines(world.log());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "          SetPrinter result = False");
}

}  // namespace
}  // namespace lumaro::testing

// The run's log lines, the missing host files, a printed file deleted and the
// window closing after it are checked on the real program (tests/e2e).
#include "app/run.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/main_window.h"
#include "printing/printer_list.h"
#include "tests/fakes/fakes.h"

namespace lumaro::testing {
namespace {

class FakeWindow : public MainWindow {
  public:
    std::string caption() const override { return "Lumaro"; }
    TwipsRect outerGeometry() const override { return {0, 0, 5550, 1665}; }
    TwipsRect innerGeometry() const override { return {0, 0, 5430, 1230}; }
    TwipsRect listGeometry() const override { return {840, 120, 4335, 360}; }
    double screenWidth() const override { return 28800; }
    double screenHeight() const override { return 16200; }
    void setOuterGeometry(const TwipsRect&) override {}
    void show() override {}
    void addListItem(const std::string& name) override { items.push_back(name); }
    void selectListIndex(int index) override {
        selected = index;
        if (onClick)
            onClick();
    }
    std::string listText() const override {
        return selected >= 0 && selected < static_cast<int>(items.size()) ? items[selected] : "";
    }
    void startExitTimer(int) override {}
    void unload() override {
        onAboutToUnload();
        onUnloaded();
    }

    std::vector<std::string> items;
    int selected = -1;
    std::function<void()> onClick, onAboutToUnload, onUnloaded;
};

struct RunFixture : ::testing::Test {
    TestWorld world;
    FakeWindow window;
    FakePrinterSystem system{{"Buero", "Stall Etiketten"}, "Stall Etiketten"};
    PrinterList printers{world.surface, system, "", world.folder.path()};
    Renderers renderers;
    std::unique_ptr<LumaroRun> run;

    LumaroRun& start() {
        window = FakeWindow();
        run = std::make_unique<LumaroRun>(
            RunSetup{world.context, window, printers, renderers, "", false});
        window.onClick = [this] { run->onListClicked(); };
        window.onAboutToUnload = [this] { run->onAboutToUnload(); };
        window.onUnloaded = [this] { run->onUnloaded(); };
        return *run;
    }
    void hostFiles(const std::string& ini) {
        world.folder.write("Halmor.ini", ini);
        world.folder.write("Halmor.mdb", "");
    }
    std::string ini() const { return *world.folder.read("Halmor.ini"); }
};

// A saved label printer missing today: only a choice in the list may replace
// it, not the load, a key that chose nothing or the end of the run.
TEST_F(RunFixture, TheSavedLabelPrinterIsWrittenOnlyWhenTheUserChoseInTheList) {
    const struct {
        const char* saved;
        int preselected;
        int chosen;  // -1: a key that chose nothing, then the window closes
        const char* written;
    } cases[] = {
        {"Zebra USB", 1, -1, "Zebra USB"},
        {"Zebra USB", 1, 1, "Stall Etiketten"},
        {"Lumaro PDF", 2, 0, "Buero"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved + std::string(" chosen ") + std::to_string(c.chosen));
        const std::string before = "[Drucker]\r\nLabeldrucker=", after = "\r\n; host comment\r\n";
        hostFiles(before + c.saved + after);
        LumaroRun& r = start();
        r.load();
        EXPECT_EQ(window.items.size(), 3u);
        EXPECT_EQ(window.selected, c.preselected);
        EXPECT_EQ(ini(), before + c.saved + after) << "nothing written during the load";
        if (c.chosen >= 0) {
            window.selectListIndex(c.chosen);
        } else {
            r.onListKeyUp();
            window.unload();
        }
        EXPECT_EQ(ini(), before + c.written + after);
    }
}

}  // namespace
}  // namespace lumaro::testing

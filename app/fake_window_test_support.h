// A window for the run's tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "printing/print_surface.h"
#include "tests/fakes/fakes.h"

namespace lumaro::testing {

class FakeWindow : public MainWindow {
  public:
    std::string caption() const override {
        return w("Druckfunktion für Tierärzte - Version 26. September 2010");
    }
    TwipsRect outerGeometry() const override { return outer; }
    TwipsRect innerGeometry() const override { return inner; }
    TwipsRect listGeometry() const override { return {840, 120, 4335, 360}; }
    double screenWidth() const override { return 28800; }
    double screenHeight() const override { return 16200; }
    void setOuterGeometry(const TwipsRect& r) override { outer = r; }
    void show() override { shown = true; }
    void addListItem(const std::string& name) override { items.push_back(name); }
    void selectListIndex(int index) override {
        selected = index;
        if (onClick)
            onClick();
    }
    std::string listText() const override {
        return selected >= 0 && selected < static_cast<int>(items.size()) ? items[selected] : "";
    }
    void startExitTimer(int ms) override { timerMs = ms; }
    void unload() override {
        ++unloads;
        if (onAboutToUnload)
            onAboutToUnload();
        if (onUnloaded)
            onUnloaded();
    }

    // The inner area of the design is 5430 x 1230 twips in a frame of 120 x 435.
    TwipsRect outer{0, 0, 5550, 1665};
    TwipsRect inner{0, 0, 5430, 1230};
    bool shown = false;
    std::vector<std::string> items;
    int selected = -1;
    int timerMs = 0;
    int unloads = 0;
    std::function<void()> onClick, onAboutToUnload, onUnloaded;
};

}  // namespace lumaro::testing

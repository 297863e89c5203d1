// What the run needs of its window: the caption, the label and the printer
// list, the exit timer, and closing. The Qt window implements it; tests use a
// recording fake. Geometry is in twips (1440 per inch).
#pragma once

#include <string>

namespace lumaro {

struct TwipsRect {
    double left = 0, top = 0, width = 0, height = 0;
};

class MainWindow {
  public:
    virtual ~MainWindow() = default;

    virtual std::string caption() const = 0;  // Windows-1252

    // Outer and inner (client) size, the list's designed place, the screen size.
    virtual TwipsRect outerGeometry() const = 0;
    virtual TwipsRect innerGeometry() const = 0;
    virtual TwipsRect listGeometry() const = 0;
    virtual double screenWidth() const = 0;
    virtual double screenHeight() const = 0;
    virtual void setOuterGeometry(const TwipsRect& r) = 0;
    virtual void show() = 0;

    // cmbLabelDrucker. Selecting raises the list's click event (the run's
    // onListChanged), as the platform does.
    virtual void addListItem(const std::string& name) = 0;
    virtual void selectListIndex(int index) = 0;
    virtual std::string listText() const = 0;

    // tmrBeenden: after ms milliseconds the window is unloaded once.
    virtual void startExitTimer(int ms) = 0;
    // Unloads the window (its about-to-unload and unloaded events run).
    virtual void unload() = 0;
};

}  // namespace lumaro

// The program's only window: the label "Drucker:" and the printer list, the
// exit timer, closing with Esc or the close box. Geometry is reported and set
// in twips at the screen's resolution (px = twips * logicalDpi / 1440).
//
// The program sets the event hooks of ProgramWindow (onListClicked: the user
// or the program chose an item; onListKeyUp: any key released in the list;
// onAboutToUnload: never cancels; onUnloaded). Each may be left empty.
// Unattended, show() does nothing (no display
// is needed) and the exit timer fires at once, since nobody waits for the window.
//
// Events from Qt's event loop (a click in the list, a key, the timer, the close
// box) must not throw through Qt. When a callback called from there throws, the
// window keeps the exception and stops waiting: an open message box is closed
// (QtMessageBoxes::show then rethrows it to its caller), else the running event
// loop is ended, and runUntilUnloaded rethrows it. Calls made by the program itself
// (selectListIndex, unload) let exceptions pass as usual.
#pragma once

#include <QIcon>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <functional>
#include <string>

#include "app/program.h"

class QComboBox;
class QLabel;

namespace lumaro::platform {

class QtMainWindow : public QWidget, public ProgramWindow {
  public:
    explicit QtMainWindow(bool unattended, QWidget* parent = nullptr);

    // Rethrows what a callback threw inside the event loop, if anything.
    void rethrowPendingException();
    // Runs Qt's event loop until the window is unloaded.
    void runUntilUnloaded() override;
    bool isUnloaded() const override { return unloaded_; }

    std::string caption() const override;
    TwipsRect outerGeometry() const override;
    TwipsRect innerGeometry() const override;
    TwipsRect listGeometry() const override;
    double screenWidth() const override;
    double screenHeight() const override;
    void setOuterGeometry(const TwipsRect& r) override;
    void show() override;

    void addListItem(const std::string& name) override;
    // -1 leaves the list without selection; a valid index raises onListClicked.
    void selectListIndex(int index) override;
    std::string listText() const override;

    void startExitTimer(int ms) override;
    void unload() override;

  protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The window's icon, also shown by the task bar.
    static QIcon programIcon();

  private:
    void placeLabelOnListBaseline();
    void windowKeyUp(int key);
    void fromEventLoop(const std::function<void()>& f);
    TwipsRect toTwips(const QRect& px) const;
    int pxX(double twips) const;
    int pxY(double twips) const;

    bool unattended_;
    bool unloaded_ = false;
    QLabel* label_;
    QComboBox* list_;
    QTimer exitTimer_;
    std::exception_ptr pending_;
};

}  // namespace lumaro::platform

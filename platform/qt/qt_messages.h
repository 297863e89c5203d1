// Qt's modal message boxes for the run's messages (app/run_messages.h).
//
// While a box waits, the window's events still run. When one of them fails
// (the window carries the error, see qt_main_window.h), the box is closed and
// show() rethrows that error to its caller, as if the message had raised it.
#pragma once

#include <QPointer>
#include <string>

#include "app/run_messages.h"
#include "platform/qt/qt_main_window.h"

namespace lumaro::platform {

class QtMessageBoxes : public MessageBoxes {
  public:
    // Boxes centre on the window once it is given.
    void setParentWindow(QtMainWindow* window) { window_ = window; }

    void show(const std::string& text, const std::string& title, MessageIcon icon) override;

  private:
    QPointer<QtMainWindow> window_;
};

}  // namespace lumaro::platform

// Message boxes. Attended, each message is a modal box with its icon and one
// OK button; unattended, nothing waits: the message is one line on standard
// error, "MELDUNG [icon] title: text". Either way it goes into the trace. A box
// without a title carries the program's name, "Lumaro".
//
// Construction (the trace must outlive it):
//     QtMessages messages(trace, unattended);
//     messages.setParentWindow(&window);   // boxes centre on it; see below
// It serves as Services::messages.
//
// While a box waits, the window's events still run. When one of them fails
// (the window carries the error, see qt_main_window.h), the box is closed and
// show() rethrows that error to its caller, as if the message had raised it.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <iosfwd>
#include <string>

#include "platform/qt/qt_main_window.h"
#include "platform/qt/trace.h"
#include "support/services.h"

namespace lumaro::platform {

// The line written to standard error, UTF-8, without the line end. Every CR LF
// pair and every lone LF of text becomes the two characters \n. Title and text
// are Windows-1252.
std::string messageLine(const std::string& text, const std::string& title, MessageIcon icon);

class QtMessages : public Messages {
  public:
    // err receives the unattended lines; std::cerr unless a test gives its own.
    QtMessages(TraceWriter& trace, bool unattended);
    QtMessages(TraceWriter& trace, bool unattended, std::ostream& err);

    void setParentWindow(QtMainWindow* window) { window_ = window; }

    void show(const std::string& text, const std::string& title, MessageIcon icon) override;

    // Called with every unattended message after its line on standard error;
    // may be left empty.
    std::function<void(const std::string& text, const std::string& title, MessageIcon icon)>
        onUnattended;

  private:
    TraceWriter& trace_;
    bool unattended_;
    std::ostream& err_;
    QPointer<QtMainWindow> window_;
};

}  // namespace lumaro::platform

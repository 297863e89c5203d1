// Message boxes. Attended, each message is a modal box with its icon and one
// OK button; unattended, nothing waits: the message is one line on standard
// error, "MELDUNG [icon] title: text". Either way it goes into the trace. A box
// without a title carries the program's name, "Lumaro".
//
// Construction (the trace must outlive it):
//     QtMessages messages(trace, unattended);
//     messages.setParentWindow(&window);   // optional: boxes centre on it
// It serves as Services::messages.
#pragma once

#include <QPointer>
#include <QWidget>
#include <iosfwd>
#include <string>

#include "platform/trace.h"
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

    void setParentWindow(QWidget* parent) { parent_ = parent; }

    void show(const std::string& text, const std::string& title, MessageIcon icon) override;

  private:
    TraceWriter& trace_;
    bool unattended_;
    std::ostream& err_;
    QPointer<QWidget> parent_;
};

}  // namespace lumaro::platform

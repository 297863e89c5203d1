// The run's messages: every message goes into the trace; attended it is a
// modal box of the platform's, unattended nothing waits and it is one line on
// standard error, "MELDUNG [icon] title: text". A message without a title
// carries the program's name, "Lumaro", as the platform's boxes do.
#pragma once

#include <iosfwd>
#include <string>

#include "printing/trace.h"
#include "support/services.h"

namespace lumaro {

// The line written to standard error, UTF-8, without the line end. Every CR LF
// pair and every lone LF of text becomes the two characters \n. Title and text
// are Windows-1252.
std::string messageLine(const std::string& text, const std::string& title, MessageIcon icon);

// The platform's modal box with its icon and one OK button; it returns when
// the user has answered. title is never empty here.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual void show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

class RunMessages : public Messages {
  public:
    // boxes nullptr: unattended. err receives the unattended lines. All three
    // must outlive the messages.
    RunMessages(TraceWriter& trace, MessageBoxes* boxes, std::ostream& err);

    void show(const std::string& text, const std::string& title, MessageIcon icon) override;

    bool unattended() const { return boxes_ == nullptr; }
    // Unattended messages also go into the day log, one line each at indent
    // 4 ("MELDUNG ..." as on standard error, Windows-1252): for a run without
    // a display, whose standard error may go nowhere. A log that cannot be
    // written does not stop the message. log must outlive the messages.
    void alsoLogTo(const Services& log) { log_ = &log; }

  private:
    TraceWriter& trace_;
    MessageBoxes* boxes_;
    std::ostream& err_;
    const Services* log_ = nullptr;
};

}  // namespace lumaro

#include "app/run_messages.h"

#include <ostream>

#include "support/codepage.h"
#include "support/errors.h"
#include "support/run_log.h"

namespace lumaro {

namespace {

std::string effectiveTitle(const std::string& title) {
    return title.empty() ? std::string("Lumaro") : title;
}

}  // namespace

std::string messageLine(const std::string& text, const std::string& title, MessageIcon icon) {
    // One message, one line: a reader of the error stream splits on line ends.
    std::string flat;
    flat.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            flat += "\\n";
            ++i;
        } else if (text[i] == '\n') {
            flat += "\\n";
        } else {
            flat += text[i];
        }
    }
    return "MELDUNG [" + std::string(iconWord(icon)) + "] " + toUtf8(effectiveTitle(title)) + ": " +
           toUtf8(flat);
}

RunMessages::RunMessages(TraceWriter& trace, MessageBoxes* boxes, std::ostream& err)
    : trace_(trace), boxes_(boxes), err_(err) {}

void RunMessages::show(const std::string& text, const std::string& title, MessageIcon icon) {
    trace_.message(effectiveTitle(title), text, icon);
    if (!boxes_) {
        const std::string line = messageLine(text, title, icon);
        err_ << line << '\n';
        err_.flush();
        if (log_) {
            try {
                Protokollieren(*log_, fromUtf8(line), 4);
            } catch (const RuntimeError&) {
                // The message itself is out; a failing log reports itself.
            }
        }
        return;
    }
    boxes_->show(text, effectiveTitle(title), icon);
}

}  // namespace lumaro

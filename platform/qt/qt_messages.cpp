#include "platform/qt/qt_messages.h"

#include <QMessageBox>
#include <iostream>

#include "platform/qt/qt_text.h"
#include "support/codepage.h"

namespace lumaro::platform {

namespace {

std::string effectiveTitle(const std::string& title) {
    return title.empty() ? std::string("Lumaro") : title;
}

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
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

QtMessages::QtMessages(TraceWriter& trace, bool unattended)
    : QtMessages(trace, unattended, std::cerr) {}

QtMessages::QtMessages(TraceWriter& trace, bool unattended, std::ostream& err)
    : trace_(trace), unattended_(unattended), err_(err) {}

void QtMessages::show(const std::string& text, const std::string& title, MessageIcon icon) {
    trace_.message(effectiveTitle(title), text, icon);
    if (unattended_) {
        err_ << messageLine(text, title, icon) << '\n';
        err_.flush();
        if (onUnattended)
            onUnattended(text, title, icon);
        return;
    }
    QMessageBox box(toQt(icon), toQString(effectiveTitle(title)), toQString(text), QMessageBox::Ok,
                    window_.data());
    box.setTextFormat(Qt::PlainText);
    box.exec();
    if (window_)
        window_->rethrowPendingException();
}

}  // namespace lumaro::platform

#include "platform/qt/qt_messages.h"

#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace lumaro::platform {

namespace {

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

void QtMessageBoxes::show(const std::string& text, const std::string& title, MessageIcon icon) {
    QMessageBox box(toQt(icon), toQString(title), toQString(text), QMessageBox::Ok, window_.data());
    box.setTextFormat(Qt::PlainText);
    box.exec();
    if (window_)
        window_->rethrowPendingException();
}

}  // namespace lumaro::platform

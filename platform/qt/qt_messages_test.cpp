#include "platform/qt/qt_messages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <sstream>

#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

using lumaro::testing::w;

// A box waits for its answer; the tests answer it from inside its own loop.
QMessageBox* openBox() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

TEST(QtMessages, AModalBoxWithTheIconAndOneOkButtonAndAnErrorWhileItWaitsComesOutOfShow) {
    TraceWriter trace;
    std::ostringstream err;
    QtMainWindow window(false);
    window.onAboutToUnload = [] { throw ProgramEnd{2}; };
    QtMessageBoxes boxes;
    boxes.setParentWindow(&window);
    RunMessages messages(trace, &boxes, err);
    // The user closes the window while the box waits.
    QTimer::singleShot(0, [&] { window.close(); });
    EXPECT_THROW(messages.show("Warten", "", MessageIcon::Information), ProgramEnd);
    EXPECT_TRUE(window.isUnloaded());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Nothing is left over: the next box waits for its answer again.
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttons = 0;
    QTimer::singleShot(0, [&] {
        if (QMessageBox* box = openBox()) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->buttons().size();
            box->button(QMessageBox::Ok)->click();
        }
    });
    messages.show(w("Bitte den Drucker einstellen und das Programm dann beenden."),
                  w("Druckfunktion für Tierärzte"), MessageIcon::Stop);
    EXPECT_EQ(title, QString::fromUtf8("Druckfunktion für Tierärzte"));
    EXPECT_EQ(text, "Bitte den Drucker einstellen und das Programm dann beenden.");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(err.str().empty());
}

}  // namespace
}  // namespace lumaro::platform

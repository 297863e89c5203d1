// The Linux window and its message boxes, which the unattended end-to-end runs never show.
#include "platform/qt/qt_main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <sstream>

#include "platform/qt/qt_messages.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

using lumaro::testing::errorOf;
using lumaro::testing::w;
using Calls = std::vector<std::string>;

void release(QWidget* target, int key) {
    QKeyEvent e(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
}

// The lowest row with a dark pixel in the columns x0..x1 and rows y0..y1; -1 when none.
int lowestDarkRow(const QImage& image, int x0, int x1, int y0, int y1) {
    for (int y = y1 - 1; y >= y0; --y) {
        for (int x = x0; x < x1; ++x) {
            if (qGray(image.pixel(x, y)) < 110)
                return y;
        }
    }
    return -1;
}

TEST(Window, HasAnIconAndTheLabelStandsOnTheListsBaseline) {
    QtMainWindow window(false);
    EXPECT_FALSE(window.windowIcon().pixmap(32).isNull());
    window.addListItem("Buero");
    window.selectListIndex(0);
    QLabel* label = window.findChild<QLabel*>();
    QComboBox* list = window.findChild<QComboBox*>();
    ASSERT_TRUE(label && list);
    // Neither "Drucker:" nor "Buero" has a descender: the lowest dark row is the baseline.
    const QImage labelImage = label->grab().toImage();
    const QImage listImage = list->grab().toImage();
    const int labelRow = lowestDarkRow(labelImage, 0, labelImage.width(), 0, labelImage.height());
    const int listRow =
        lowestDarkRow(listImage, 4, listImage.width() / 2, 3, listImage.height() - 3);
    ASSERT_GE(labelRow, 0);
    ASSERT_GE(listRow, 0);
    EXPECT_EQ(label->y() + labelRow, list->y() + listRow);
}

TEST(Window, OnlyTheProgramSelectsAndEscTheCloseBoxOrTheTimerUnloadsOnceWithTheQueryFirst) {
    for (const char* way : {"Esc", "close box", "timer"}) {
        SCOPED_TRACE(way);
        QtMainWindow window(false);
        Calls calls;
        window.onListClicked = [&] { calls.push_back("click " + window.listText()); };
        window.onListKeyUp = [&] { calls.push_back("keyup"); };
        window.onAboutToUnload = [&] { calls.push_back("query"); };
        window.onUnloaded = [&] { calls.push_back("unloaded"); };
        window.addListItem("Kyocera");
        window.addListItem(w("Büro"));
        window.selectListIndex(1);
        window.selectListIndex(-1);
        EXPECT_EQ(window.listText(), "");
        QComboBox* list = window.findChild<QComboBox*>();
        release(list, Qt::Key_A);
        EXPECT_EQ(calls, Calls({"click " + w("Büro"), "keyup"}));
        calls.clear();
        window.show();
        if (way == std::string("Esc")) {
            release(list, Qt::Key_Escape);
        } else if (way == std::string("close box")) {
            window.close();
        } else {
            QElapsedTimer clock;
            clock.start();
            window.startExitTimer(50);
            while (!window.isUnloaded() && clock.elapsed() < 5000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            EXPECT_GE(clock.elapsed(), 40);
        }
        EXPECT_EQ(calls, Calls({"query", "unloaded"}));
        EXPECT_FALSE(window.isVisible());
        release(&window, Qt::Key_Escape);
        window.unload();
        window.close();
        EXPECT_EQ(calls.size(), 2u);
    }
}

// An error in the run's unload (the day log) ends the application's loop and waits for its caller.
TEST(Window, AnErrorInAnEventEndsTheEventLoopAndIsCarriedPastIt) {
    QtMainWindow window(false);
    window.onUnloaded = [] { raiseError(err::kPrinterError); };
    QTimer safety;  // a broken carrier would leave exec() running for ever
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    safety.start(5000);
    window.startExitTimer(0);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(errorOf([&] { window.rethrowPendingException(); }), err::kPrinterError);
    EXPECT_EQ(errorOf([&] { window.rethrowPendingException(); }), 0);  // once only
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
        // A box waits for its answer: answered from inside its own loop.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
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

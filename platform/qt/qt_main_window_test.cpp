#include "platform/qt/qt_main_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

using lumaro::testing::errorOf;
using lumaro::testing::w;
using Calls = std::vector<std::string>;

// Runs the event loop until the window is unloaded or limitMs passed; the time taken.
qint64 waitForUnload(const QtMainWindow& window, int limitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!window.isUnloaded() && clock.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return clock.elapsed();
}

void release(QWidget* target, int key) {
    QKeyEvent e(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
}

// Records the calls the run would get.
void record(QtMainWindow& window, Calls& calls) {
    window.onListClicked = [&] { calls.push_back("click " + window.listText()); };
    window.onListKeyUp = [&] { calls.push_back("keyup"); };
    window.onAboutToUnload = [&] { calls.push_back("query"); };
    window.onUnloaded = [&] { calls.push_back("unloaded"); };
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
        record(window, calls);
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
            window.startExitTimer(50);
            QCoreApplication::processEvents();
            EXPECT_FALSE(window.isUnloaded());
            EXPECT_GE(waitForUnload(window, 5000), 40);
        }
        EXPECT_EQ(calls, Calls({"query", "unloaded"}));
        EXPECT_FALSE(window.isVisible());
        release(&window, Qt::Key_Escape);
        window.unload();
        window.close();
        EXPECT_EQ(calls.size(), 2u);
    }
}

TEST(Window, AnErrorInAnEventIsCarriedPastTheEventLoop) {
    QtMainWindow window(true);
    window.onAboutToUnload = [] { raiseError(err::kPathFileAccess); };
    EXPECT_NO_THROW(release(&window, Qt::Key_Escape));
    EXPECT_EQ(errorOf([&] { window.rethrowPendingException(); }), err::kPathFileAccess);
    EXPECT_EQ(errorOf([&] { window.rethrowPendingException(); }), 0);  // once only

    // From the timer while the application's loop runs: the loop ends and the
    // error waits for whoever ran it.
    QtMainWindow timed(false);
    timed.onUnloaded = [] { raiseError(err::kPrinterError); };
    QTimer safety;  // a broken carrier would leave exec() running for ever
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    safety.start(5000);
    timed.startExitTimer(0);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(errorOf([&] { timed.rethrowPendingException(); }), err::kPrinterError);

    // Called by the program itself, the error reaches the caller directly.
    QtMainWindow direct(true);
    direct.onListClicked = [] { throw ProgramEnd{2}; };
    direct.addListItem("A");
    EXPECT_THROW(direct.selectListIndex(0), ProgramEnd);
}

}  // namespace
}  // namespace lumaro::platform

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

class Window : public ::testing::Test {
  protected:
    QtMainWindow window{false};
    Calls calls;

    void SetUp() override {
        window.onListClicked = [this] { calls.push_back("click " + window.listText()); };
        window.onListKeyUp = [this] { calls.push_back("keyup"); };
        window.onAboutToUnload = [this] { calls.push_back("query"); };
        window.onUnloaded = [this] { calls.push_back("unloaded"); };
    }
    QComboBox* list() { return window.findChild<QComboBox*>(); }
    void release(QWidget* target, int key) {
        QKeyEvent e(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &e);
    }
};

TEST_F(Window, HasTheDesignedCaptionListAndTooltipAndKeepsItsGeometryInTwips) {
    EXPECT_EQ(window.windowTitle(),
              QString::fromUtf8("Druckfunktion für Tierärzte - Version 26. September 2010"));
    EXPECT_EQ(list()->toolTip(), QString::fromUtf8("verfügbaren Bon-Drucker auswählen"));
    const double pixel = 1440.0 / window.logicalDpiX();  // the precision the window keeps
    const TwipsRect l = window.listGeometry();
    EXPECT_NEAR(l.left, 840, pixel);
    EXPECT_NEAR(l.top, 120, pixel);
    EXPECT_NEAR(l.width, 4335, pixel);
    EXPECT_NEAR(l.height, 360, pixel);
    window.setOuterGeometry({1500, 3000, 5415, 840});
    const TwipsRect r = window.outerGeometry();
    EXPECT_NEAR(r.left, 1500, pixel);
    EXPECT_NEAR(r.top, 3000, pixel);
    EXPECT_NEAR(r.width, 5415, pixel);
    EXPECT_NEAR(r.height, 840, pixel);
}

// The lowest row of the image with a dark pixel between the columns x0 and x1
// and the rows y0 and y1 (the frame of a widget left out); -1 when none.
int lowestDarkRow(const QImage& image, int x0, int x1, int y0, int y1) {
    for (int y = y1 - 1; y >= y0; --y) {
        for (int x = x0; x < x1; ++x) {
            if (qGray(image.pixel(x, y)) < 110)
                return y;
        }
    }
    return -1;
}

TEST_F(Window, HasAnIconAndTheLabelStandsOnTheListsBaseline) {
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_FALSE(window.windowIcon().pixmap(32).isNull());
    window.addListItem("Buero");
    window.selectListIndex(0);
    QLabel* label = window.findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    // "Drucker:" and "Buero" have no letter below the baseline, so the lowest
    // dark row of each text is its baseline.
    const QImage labelImage = label->grab().toImage();
    const QImage listImage = list()->grab().toImage();
    const int labelRow = lowestDarkRow(labelImage, 0, labelImage.width(), 0, labelImage.height());
    const int listRow =
        lowestDarkRow(listImage, 4, listImage.width() / 2, 3, listImage.height() - 3);
    ASSERT_GE(labelRow, 0);
    ASSERT_GE(listRow, 0);
    EXPECT_EQ(label->y() + labelRow, list()->y() + listRow);
}

TEST_F(Window, FillingTheListSelectsNothingUntilTheProgramChooses) {
    window.addListItem("Kyocera");
    window.addListItem(w("Büro"));
    EXPECT_EQ(window.listText(), "");
    EXPECT_TRUE(calls.empty());
    window.selectListIndex(1);
    EXPECT_EQ(calls, Calls({"click " + w("Büro")}));
    calls.clear();
    window.selectListIndex(-1);
    EXPECT_EQ(window.listText(), "");
    EXPECT_TRUE(calls.empty());
}

TEST_F(Window, EscReleasedUnloadsOnceWithTheQueryFirst) {
    window.addListItem("A");
    release(list(), Qt::Key_A);
    EXPECT_EQ(calls, Calls({"keyup"}));
    calls.clear();
    release(list(), Qt::Key_Escape);
    EXPECT_EQ(calls, Calls({"query", "unloaded"}));
    EXPECT_TRUE(window.isUnloaded());
    release(&window, Qt::Key_Escape);
    window.unload();
    window.close();
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(Window, TheCloseBoxUnloadsLikeEsc) {
    window.show();
    window.close();
    EXPECT_EQ(calls, Calls({"query", "unloaded"}));
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Window, TheExitTimerUnloadsOnceAfterItsTime) {
    window.startExitTimer(50);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isUnloaded());
    EXPECT_GE(waitForUnload(window, 5000), 40);
    EXPECT_EQ(calls, Calls({"query", "unloaded"}));
}

TEST(UnattendedWindow, IsNeverShownAndEndsWithoutWaiting) {
    QtMainWindow window(true);
    int unloaded = 0;
    window.onUnloaded = [&] { ++unloaded; };
    window.show();
    EXPECT_FALSE(window.isVisible());
    window.startExitTimer(2000);
    EXPECT_LT(waitForUnload(window, 1000), 1000);
    EXPECT_EQ(unloaded, 1);
}

TEST(WindowErrors, AnErrorInAnEventIsCarriedPastTheEventLoop) {
    QtMainWindow window(true);
    window.onAboutToUnload = [] { raiseError(err::kPathFileAccess); };
    QKeyEvent e(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&window, &e));
    try {
        window.rethrowPendingException();
        FAIL() << "nothing pending";
    } catch (const RuntimeError& err) {
        EXPECT_EQ(err.number(), err::kPathFileAccess);
    }
    EXPECT_NO_THROW(window.rethrowPendingException());

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
    safety.stop();
    EXPECT_THROW(timed.rethrowPendingException(), RuntimeError);

    // Called by the program itself, the error reaches the caller directly.
    QtMainWindow direct(true);
    direct.onListClicked = [] { throw ProgramEnd{2}; };
    direct.addListItem("A");
    EXPECT_THROW(direct.selectListIndex(0), ProgramEnd);
}

}  // namespace
}  // namespace lumaro::platform

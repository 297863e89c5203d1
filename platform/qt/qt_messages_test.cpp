#include "platform/qt/qt_messages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <sstream>

#include "platform/qt/test_support.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

using lumaro::testing::w;

TEST(MessageLine, PutsTheWholeMessageOnOneLine) {
    EXPECT_EQ(
        messageLine(w("Zeile 1\r\nZeile 2\nZeile 3\n\nEnde"), w("Datei fehlt!"), MessageIcon::Stop),
        "MELDUNG [stop] Datei fehlt!: Zeile 1\\nZeile 2\\nZeile 3\\n\\nEnde");
    // A lone CR is no line end of ours; it stays as it is.
    EXPECT_EQ(messageLine("a\rb", "T", MessageIcon::None), "MELDUNG [none] T: a\rb");
    EXPECT_EQ(messageLine("x", "", MessageIcon::Exclamation), "MELDUNG [exclamation] Lumaro: x");
}

TEST(QtMessagesUnattended, WritesOneUtf8LineAndTheTraceWithoutWaiting) {
    lumaro::testing::TempFolder folder;
    const QString tracePath = QString::fromStdString(folder.file("t.jsonl"));
    TraceWriter trace(tracePath);
    std::ostringstream err;
    QtMessages messages(trace, true, err);
    messages.show(w("Fehler 482 (Druckerfehler)\r\nnächste Zeile"), "", MessageIcon::Stop);
    EXPECT_EQ(err.str(), "MELDUNG [stop] Lumaro: Fehler 482 (Druckerfehler)\\nnächste Zeile\n");
    const auto ev = testing::readTrace(tracePath);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0]["title"].toString(), "Lumaro");
}

// A box waits for its answer; the tests answer it from inside its own loop.
QMessageBox* openBox() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

TEST(QtMessagesAttended, ShowsAModalBoxWithTheIconAndOneOkButton) {
    TraceWriter trace;
    std::ostringstream err;
    QtMessages messages(trace, false, err);
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
                  w("Druckfunktion für Tierärzte"), MessageIcon::Information);
    EXPECT_EQ(title, QString::fromUtf8("Druckfunktion für Tierärzte"));
    EXPECT_EQ(text, "Bitte den Drucker einstellen und das Programm dann beenden.");
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(err.str().empty());
}

TEST(QtMessagesAttended, AnErrorInAWindowEventWhileTheBoxWaitsComesOutOfShow) {
    TraceWriter trace;
    QtMainWindow window(false);
    window.onAboutToUnload = [] { throw ProgramEnd{2}; };
    QtMessages messages(trace, false);
    messages.setParentWindow(&window);
    // The user closes the window while the box waits.
    QTimer::singleShot(0, [&] { window.close(); });
    EXPECT_THROW(messages.show("Warten", "", MessageIcon::Information), ProgramEnd);
    EXPECT_TRUE(window.isUnloaded());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Nothing is left over: the next box waits for its answer again.
    bool answered = false;
    QTimer::singleShot(0, [&] {
        if (QMessageBox* box = openBox()) {
            answered = true;
            box->button(QMessageBox::Ok)->click();
        }
    });
    messages.show("Weiter", "", MessageIcon::None);
    EXPECT_TRUE(answered);
}

}  // namespace
}  // namespace lumaro::platform

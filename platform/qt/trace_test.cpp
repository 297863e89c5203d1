#include "platform/qt/trace.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "support/codepage.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

using lumaro::testing::w;

TEST(JsonString, EscapesControlsAndEveryCodePageCharacterRoundTrips) {
    EXPECT_EQ(jsonString("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(jsonString(std::string("x\r\n\t\x01\x1f\x7f", 7)),
              R"("x\u000d\u000a\u0009\u0001\u001f\u007f")");
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    const std::string utf8 = toUtf8(all);
    QJsonParseError error{};
    const QJsonDocument parsed =
        QJsonDocument::fromJson(QByteArray::fromStdString("[" + jsonString(utf8) + "]"), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(parsed.array().at(0).toString().toStdString(), utf8);
}

TEST(JsonNumber, RoundsToFourDecimalsAndNeverWritesNonNumbers) {
    EXPECT_EQ(jsonNumber(210), "210");
    EXPECT_EQ(jsonNumber(12.5), "12.5");
    EXPECT_EQ(jsonNumber(-2.0 / 3.0), "-0.6667");
    EXPECT_EQ(jsonNumber(-0.00001), "0");
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL})
        EXPECT_EQ(jsonNumber(bad), "0") << bad;
    // Huge but finite values stay numbers a JSON reader accepts.
    const std::string big = jsonNumber(1e300);
    EXPECT_TRUE(QJsonDocument::fromJson(QByteArray::fromStdString("[" + big + "]")).isArray());
}

TEST(TraceWriter, WritesEachEventAsOneFlushedLine) {
    lumaro::testing::TempFolder folder;
    const QString path = QString::fromStdString(folder.file("trace.jsonl"));
    folder.write("trace.jsonl", "old content that must go\n");
    TraceWriter trace(path);
    ASSERT_TRUE(trace.isOpen());
    trace.message(w("Datei fehlt!"), w("Im Ordner\r\nä"), MessageIcon::Stop);
    trace.box(3, 2, 1, 2, 3, 4.25, true, 255);

    // Read while the writer is still open: a run that dies keeps its lines.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3);  // two lines and the empty rest after the last LF
    EXPECT_TRUE(lines[2].isEmpty());

    const QJsonObject msg = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(msg["ev"].toString(), "message");
    EXPECT_EQ(msg["title"].toString(), "Datei fehlt!");
    EXPECT_EQ(msg["text"].toString(), QString::fromUtf8("Im Ordner\r\nä"));
    EXPECT_EQ(msg["icon"].toString(), "stop");

    EXPECT_EQ(lines[1].toStdString(),
              R"({"ev":"box","job":3,"page":2,"x1":1,"y1":2,"x2":3,"y2":4.25,"filled":true,)"
              R"("color":255})");
}

TEST(TraceWriter, WithoutAFileDropsEvents) {
    TraceWriter none;
    EXPECT_FALSE(none.isOpen());
    none.endDoc(1, 1);  // must simply do nothing

    TraceWriter unwritable(QStringLiteral("/nonexistent-folder/trace.jsonl"));
    EXPECT_FALSE(unwritable.isOpen());
    unwritable.newPage(1, 2);
}

}  // namespace
}  // namespace lumaro::platform

#include "platform/qt/test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace lumaro::platform::testing {

std::vector<QJsonObject> readTrace(const QString& path) {
    std::vector<QJsonObject> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject()) {
            out.push_back(QJsonObject{{"ev", "BROKEN LINE: " + QString::fromUtf8(line)}});
            continue;
        }
        out.push_back(doc.object());
    }
    return out;
}

QStringList eventNames(const std::vector<QJsonObject>& events) {
    QStringList names;
    for (const auto& e : events)
        names << e["ev"].toString();
    return names;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

bool haveTool(const QString& name) {
    return !QStandardPaths::findExecutable(name).isEmpty();
}

std::optional<QString> runTool(const QString& name, const QStringList& args) {
    QProcess p;
    p.start(name, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPageCount(const QString& pdf) {
    if (haveTool("pdfinfo")) {
        const auto info = runTool("pdfinfo", {pdf});
        if (!info)
            return -1;
        const auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(*info);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }
    QFile f(pdf);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString raw = QString::fromLatin1(f.readAll());
    // The root page tree is the /Pages object with the largest count.
    int best = -1;
    auto it = QRegularExpression(R"(/Type\s*/Pages\b[^>]*?/Count\s+(\d+))").globalMatch(raw);
    while (it.hasNext())
        best = std::max(best, it.next().captured(1).toInt());
    return best;
}

QImage renderFirstPage(const QString& pdf, int pixelsPerMm) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("page");
    const QString dpi = QString::number(25.4 * pixelsPerMm);
    if (!runTool("pdftoppm",
                 {"-r", dpi, "-gray", "-singlefile", "-f", "1", "-l", "1", pdf, prefix}))
        return {};
    return QImage(prefix + ".pgm");
}

}  // namespace lumaro::platform::testing

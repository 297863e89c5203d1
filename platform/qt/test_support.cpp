#include "platform/qt/test_support.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace lumaro::platform::testing {

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

bool haveTool(const QString& name) {
    return !QStandardPaths::findExecutable(name).isEmpty();
}

QImage renderFirstPage(const QString& pdf, int pixelsPerMm) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("page");
    QProcess p;
    p.start("pdftoppm", {"-r", QString::number(25.4 * pixelsPerMm), "-gray", "-singlefile", "-f",
                         "1", "-l", "1", pdf, prefix});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QImage(prefix + ".pgm");
}

}  // namespace lumaro::platform::testing

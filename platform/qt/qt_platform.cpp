#include "platform/qt/qt_platform.h"

#include <QDir>
#include <QFileInfo>
#include <cstdlib>
#include <iostream>

#include "platform/qt/qt_text.h"
#include "platform/qt/regional_qt.h"

namespace lumaro::platform {

namespace {

// Standard error carries the program's own message lines in unattended runs;
// Qt's warnings about the environment (no runtime folder, no display fonts)
// would only bury them. Critical and fatal messages still go through.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << msg.toLocal8Bit().constData() << '\n';
}

}  // namespace

QtPlatform::QtPlatform(int& argc, char** argv, bool unattended) {
    // Unattended runs need no display at all. A run without one (none named,
    // or an X display that cannot be reached) goes on as if unattended instead
    // of Qt ending the process: the host's document still gets printed. A
    // platform named in QT_QPA_PLATFORM is taken as it is.
    const bool platformGiven = std::getenv("QT_QPA_PLATFORM") != nullptr;
    if (!platformGiven) {
        if (!unattended && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
            noDisplay_ = true;
        if (unattended || noDisplay_)
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        else if (!std::getenv("WAYLAND_DISPLAY"))
            setenv("QT_QPA_PLATFORM", "xcb;offscreen", 1);  // offscreen when X is not there
    }
    if (!std::getenv("LUMARO_QT_WARNINGS"))
        qInstallMessageHandler(quietQtMessages);
    app_ = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName("Lumaro");
    if (!platformGiven && !unattended && QGuiApplication::platformName() == "offscreen")
        noDisplay_ = true;
    window_ = std::make_unique<QtMainWindow>(unattended || noDisplay_);
    boxes_.setParentWindow(window_.get());
}

std::string QtPlatform::programFolder(const std::optional<std::string>& given) {
    QString folder =
        given ? QString::fromLocal8Bit(given->c_str()) : QCoreApplication::applicationDirPath();
    folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return fromQString(QDir::toNativeSeparators(folder));
}

std::string QtPlatform::absolutePath(const std::string& given) {
    return fromQString(QFileInfo(QString::fromLocal8Bit(given.c_str())).absoluteFilePath());
}

std::filesystem::path QtPlatform::nativePath(const std::string& given) {
    return std::filesystem::path(given);
}

Regional QtPlatform::regional() {
    return regionalFromEnvironment();
}

const FontTable& QtPlatform::fonts() {
    return FontTable::standIns();
}

}  // namespace lumaro::platform

// Lumaro: wires the Qt adapters into one run and turns its outcome into the
// exit status. Nothing else happens here.

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/printer_choice.h"
#include "app/run.h"
#include "documents/renderers.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_picture_loader.h"
#include "platform/qt/qt_print_surface.h"
#include "platform/qt/qt_printers.h"
#include "platform/qt/regional_qt.h"
#include "platform/qt/trace.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "support/run_log.h"
#include "support/services.h"

#ifndef LUMARO_VERSION
#define LUMARO_VERSION "0"
#endif

using namespace lumaro;

namespace {

std::optional<std::string> environment(const std::string& name) {
    const char* v = std::getenv(name.c_str());
    if (!v)
        return std::nullopt;
    return std::string(v);
}

// The program folder as the platform reports it: absolute, without a
// trailing separator.
QString programFolder(const Options& o) {
    QString folder = o.folder ? QString::fromLocal8Bit(o.folder->c_str())
                              : QCoreApplication::applicationDirPath();
    folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return QDir::toNativeSeparators(folder);
}

// Standard error carries the program's own message lines in unattended runs;
// Qt's warnings about the environment (no runtime folder, no display fonts)
// would only bury them. Critical and fatal messages still go through.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << msg.toLocal8Bit().constData() << '\n';
    }
}

std::string ansiFromQString(const QString& s) {
    return fromUtf8(s.toUtf8().toStdString());
}

// An error nothing handled: the platform's message, as users of the original
// knew it, then the end of the run. The log gets one line, so that support can
// see why a document was not printed.
int reportUnhandled(Services& services, int number, const std::string& description) {
    try {
        Protokollieren(services,
                       "Laufzeitfehler " + std::to_string(number) + " (" + description +
                           ") - Programm wird beendet",
                       0);
    } catch (const RuntimeError&) {
        // The log itself may be what failed; the message still tells the user.
    }
    services.messages.show("Laufzeitfehler '" + std::to_string(number) + "':\r\n\r\n" + description,
                           "Lumaro", MessageIcon::Stop);
    return kExitUnhandledError;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedOptions parsed = parseOptions(args, environment, [](const std::string& path) {
        std::error_code ec;
        return std::filesystem::is_directory(path, ec);
    });
    if (!parsed.usageError.empty()) {
        std::cerr << parsed.usageError << "\n\n" << usageText();
        return kExitUsage;
    }
    const Options& options = parsed.options;
    if (options.help) {
        std::cout << usageText();
        return 0;
    }
    if (options.version) {
        std::cout << "Lumaro " LUMARO_VERSION "\n";
        return 0;
    }
    // Unattended runs need no display at all. A run without one (no display
    // named, or one that cannot be reached) goes on as if unattended instead
    // of Qt ending the process: the host's document still gets printed and the
    // day log says what happened. A platform named in QT_QPA_PLATFORM is
    // taken as it is.
    bool unattended = options.unattended;
    bool noDisplay = false;
    const bool platformGiven = environment("QT_QPA_PLATFORM").has_value();
    if (!platformGiven) {
        if (!unattended && !environment("DISPLAY") && !environment("WAYLAND_DISPLAY")) {
            noDisplay = true;
            unattended = true;
        }
        if (unattended)
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        else if (!environment("WAYLAND_DISPLAY"))
            setenv("QT_QPA_PLATFORM", "xcb;offscreen", 1);  // offscreen when X is not there
    }

    if (!environment("LUMARO_QT_WARNINGS"))
        qInstallMessageHandler(quietQtMessages);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Lumaro");
    if (!platformGiven && !unattended && QGuiApplication::platformName() == "offscreen") {
        noDisplay = true;
        unattended = true;
    }
    const QString folder = programFolder(options);

    platform::TraceWriter trace =
        options.trace ? platform::TraceWriter(QString::fromLocal8Bit(options.trace->c_str()))
                      : platform::TraceWriter();
    platform::QtMessages messages(trace, unattended);
    SystemClock clock;
    Services services{clock, messages, platform::regionalFromEnvironment(), ansiFromQString(folder),
                      ""};
    if (noDisplay) {
        // Standard error of a run without a display may go nowhere: the day log
        // keeps each message as well.
        messages.onUnattended = [&](const std::string& text, const std::string& title,
                                    MessageIcon icon) {
            try {
                Protokollieren(services, unseenMessageLogLine(text, title, icon), 4);
            } catch (const RuntimeError&) {
                // The log itself failing is reported by the message that follows.
            }
        };
    }
    platform::QtPictureLoader pictures;
    platform::QtPrintSurface surface(trace, pictures, clock);
    const QString pdfFolder =
        options.pdf ? QFileInfo(QString::fromLocal8Bit(options.pdf->c_str())).absoluteFilePath()
                    : QString();
    auto printers = platform::QtPrinters::fromSystem(surface, pdfFolder, folder);
    Context context{services, surface, pictures, PageBounds{}};

    platform::QtMainWindow window(unattended);
    messages.setParentWindow(&window);
    const Renderers renderers = makeRenderers();
    // When the built-in printer prints for want of a usable system printer,
    // the user learns where each file went.
    surface.onPdfWritten = [&](const QString& path) {
        if (printers.announcesPdfFiles())
            announcePdfFile(services, ansiFromQString(QDir::toNativeSeparators(path)));
    };
    LumaroRun run(RunSetup{context, window, printers, renderers, fromUtf8(options.commandLine),
                           unattended, noDisplay});
    window.onListClicked = [&] { run.onListClicked(); };
    window.onListKeyUp = [&] { run.onListKeyUp(); };
    window.onAboutToUnload = [&] { run.onAboutToUnload(); };
    window.onUnloaded = [&] {
        run.onUnloaded();
        QCoreApplication::quit();
    };

    int status = kExitNothingPrinted;
    try {
        run.load();
        if (unattended) {
            // Nobody waits for the window: end as the timer or Esc would.
            window.unload();
        } else if (!window.isUnloaded()) {
            QApplication::exec();
            window.rethrowPendingException();
        }
        status = run.printed() ? kExitPrinted : kExitNothingPrinted;
    } catch (const ProgramEnd& end) {
        status = end.exitStatus;
    } catch (const RuntimeError& e) {
        status = reportUnhandled(services, e.number(), e.description());
    } catch (const std::bad_alloc&) {
        status = reportUnhandled(services, err::kOutOfMemory, errorDescription(err::kOutOfMemory));
    } catch (const std::exception& e) {
        status = reportUnhandled(services, 51, ansi("Interner Fehler: ") + fromUtf8(e.what()));
    }
    // A job that was never ended belongs to a data file that stays in place and
    // is printed whole next time: nothing of it may reach paper or a PDF.
    surface.abort();
    return status;
}

#include "app/program.h"

#include <filesystem>
#include <new>
#include <ostream>
#include <system_error>

#include "app/pdf_announcement.h"
#include "app/run.h"
#include "documents/renderers.h"
#include "printing/printer_list.h"
#include "printing/trace.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "support/run_log.h"
#include "support/services.h"

#ifndef LUMARO_VERSION
#define LUMARO_VERSION "0"
#endif

namespace lumaro {

namespace {

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

int runProgram(const ProgramArguments& a, const PlatformFactory& makePlatform) {
    const ParsedOptions parsed = parseOptions(a.args, a.getenv, [](const std::string& path) {
        // Arguments are UTF-8 on every system (Windows hands them over as
        // UTF-16): a folder named with umlauts is no stranger on Windows.
        std::error_code ec;
        return std::filesystem::is_directory(
            std::filesystem::path(std::u8string(path.begin(), path.end())), ec);
    });
    if (!parsed.usageError.empty()) {
        a.err << parsed.usageError << "\n\n" << usageText();
        return kExitUsage;
    }
    const Options& options = parsed.options;
    if (options.help) {
        a.out << usageText();
        return 0;
    }
    if (options.version) {
        a.out << "Lumaro " LUMARO_VERSION "\n";
        return 0;
    }

    const std::unique_ptr<Platform> platform = makePlatform(options.unattended);
    const std::string folder = platform->programFolder(options.folder);
    TraceWriter trace =
        options.trace ? TraceWriter(platform->nativePath(*options.trace)) : TraceWriter();
    MessageBoxes* boxes = options.unattended ? nullptr : platform->boxes();
    // No box can be shown (no display): the run goes on unattended, says so in
    // the day log and keeps each message there too.
    const bool noDisplay = !options.unattended && boxes == nullptr;
    RunMessages messages(trace, boxes, a.err);
    SystemClock clock;
    Services services{clock, messages, platform->regional(), folder, ""};
    if (noDisplay)
        messages.alsoLogTo(services);
    PrintSurface surface(platform->fonts(), clock);
    surface.addObserver(trace);
    PrinterList printers(surface, platform->printers(),
                         options.pdf ? platform->absolutePath(*options.pdf) : std::string(),
                         folder);
    // After the trace, so that a PDF's message follows its job's end there.
    PdfAnnouncer announcer(services, printers);
    surface.addObserver(announcer);
    Archive archive(services, platform->pdfFonts());
    if (options.archive)
        archive.setFolder(platform->absolutePath(*options.archive));
    surface.addObserver(archive);
    Context context{services, surface, platform->pictures(), PageBounds{}};

    ProgramWindow& window = platform->window();
    const Renderers renderers = makeRenderers();
    LumaroRun run(RunSetup{context, window, printers, renderers, fromUtf8(options.commandLine),
                           messages.unattended(), noDisplay, &archive});
    window.onListClicked = [&] { run.onListClicked(); };
    window.onListKeyUp = [&] { run.onListKeyUp(); };
    window.onAboutToUnload = [&] { run.onAboutToUnload(); };
    window.onUnloaded = [&] { run.onUnloaded(); };

    int status = kExitNothingPrinted;
    try {
        run.load();
        if (messages.unattended()) {
            // Nobody waits for the window: end as the timer or Esc would.
            window.unload();
        } else if (!window.isUnloaded()) {
            window.runUntilUnloaded();
        }
        status = run.printed() ? kExitPrinted : kExitNothingPrinted;
    } catch (const ProgramEnd& end) {
        status = end.exitStatus;
    } catch (const RuntimeError& e) {
        status = reportUnhandled(services, e.number(), e.description());
    } catch (const std::bad_alloc&) {
        status = reportUnhandled(services, err::kOutOfMemory, errorDescription(err::kOutOfMemory));
    } catch (const std::exception& e) {
        status = reportUnhandled(services, err::kInternal,
                                 ansi("Interner Fehler: ") + fromUtf8(e.what()));
    }
    // A job that was never ended belongs to a data file that stays in place and
    // is printed whole next time: nothing of it may reach paper or a PDF.
    surface.abort();
    surface.removeObserver(archive);
    surface.removeObserver(announcer);
    surface.removeObserver(trace);
    return status;
}

}  // namespace lumaro

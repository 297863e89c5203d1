#include "app/options.h"

namespace lumaro {
namespace {

// "--name VALUE" or "--name=VALUE". A missing value (end of the arguments, or
// the next argument is itself an option) is a usage error.
bool takeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
               std::optional<std::string>& target, std::string& error) {
    const std::string& arg = args[i];
    const std::string flag = "--" + name;
    if (arg == flag) {
        if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0 || args[i + 1].empty()) {
            error = "lumaro: Option " + flag + " braucht einen Wert (" + flag + " DIR)";
            return true;
        }
        target = args[++i];
        return true;
    }
    if (arg.rfind(flag + "=", 0) == 0) {
        target = arg.substr(flag.size() + 1);
        if (target->empty())
            error = "lumaro: Option " + flag + " braucht einen Wert";
        return true;
    }
    return false;
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& args, const Getenv& getenv,
                           const IsFolder& isFolder) {
    ParsedOptions result;
    Options& o = result.options;
    std::optional<std::string> folder, pdf, trace, archive;
    bool unattended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!o.commandLine.empty())
            o.commandLine += ' ';
        if (takeValue(args, i, "folder", folder, result.usageError) ||
            takeValue(args, i, "pdf", pdf, result.usageError) ||
            takeValue(args, i, "trace", trace, result.usageError) ||
            takeValue(args, i, "archive", archive, result.usageError)) {
            if (!result.usageError.empty())
                return result;
            // The parameter line holds the arguments as given, values included.
            o.commandLine += arg;
            if (arg.find('=') == std::string::npos)
                o.commandLine += ' ' + args[i];
            continue;
        }
        o.commandLine += arg;
        if (arg == "--unattended") {
            unattended = true;
        } else if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (arg.rfind("--", 0) == 0) {
            // The host passes no such argument; a mistyped option taken as
            // one would run silently with the default in its place.
            result.usageError = "lumaro: unbekannte Option " + arg;
            return result;
        }
        // Anything else is a host argument: logged, otherwise ignored.
    }

    auto fromEnv = [&](const char* name) -> std::optional<std::string> {
        auto v = getenv(name);
        if (v && v->empty())
            return std::nullopt;
        return v;
    };
    o.folder = folder ? folder : fromEnv("LUMARO_FOLDER");
    // --help and --version touch no folder, so a wrong one does not stop them.
    if (o.folder && isFolder && !o.help && !o.version && !isFolder(*o.folder)) {
        result.usageError = "lumaro: Der Programmordner \"" + *o.folder + "\" (" +
                            (folder ? "--folder" : "LUMARO_FOLDER") +
                            ") existiert nicht oder ist kein Ordner.";
        return result;
    }
    o.pdf = pdf ? pdf : fromEnv("LUMARO_PDF");
    o.trace = trace ? trace : fromEnv("LUMARO_TRACE");
    o.archive = archive ? archive : fromEnv("LUMARO_ARCHIVE");
    auto envUnattended = fromEnv("LUMARO_UNATTENDED");
    o.unattended = unattended || (envUnattended && *envUnattended != "0");
    return result;
}

std::string usageText() {
    return "Aufruf: lumaro [--folder DIR] [--pdf DIR] [--unattended] [--trace FILE] "
           "[--archive DIR] [Argumente des Hauptprogramms ...]\n"
           "       lumaro --help | --version\n"
           "\n"
           "  --folder DIR   Programmordner mit Halmor.ini, Halmor.mdb und den Datendateien\n"
           "                 (Vorgabe: der Ordner des Programms)\n"
           "  --pdf DIR      auf dem eingebauten PDF-Drucker \"Lumaro PDF\" in DIR drucken\n"
           "  --unattended   ohne Fenster und ohne Rückfragen; Meldungen auf stderr\n"
           "  --trace FILE   jeden Zeichenaufruf als JSON Lines in FILE schreiben\n"
           "  --archive DIR  jeden gedruckten Auftrag auch als PDF in DIR/<Jahr>/ ablegen\n"
           "                 (gilt vor [Lumaro] Archivordner in Halmor.ini)\n"
           "\n"
           "Umgebungsvariablen: LUMARO_FOLDER, LUMARO_PDF, LUMARO_UNATTENDED=1, LUMARO_TRACE,\n"
           "                    LUMARO_ARCHIVE\n"
           "Ohne Anzeige läuft das Programm wie mit --unattended.\n"
           "Exit-Status: 0 gedruckt, 1 nichts gedruckt, 2 Host-Datei fehlt oder nicht lesbar,\n"
           "             3 unbehandelter Laufzeitfehler, 64 Aufruffehler\n";
}

}  // namespace lumaro

#include "app/dispatch.h"

#include "support/codepage.h"
#include "support/file_access.h"
#include "support/file_system.h"
#include "support/run_log.h"

namespace lumaro {

WithdrawalLayout chooseWithdrawalLayout(const std::string& text) {
    // The first phrase found in this order decides; exact bytes, so "für" must
    // be the single Windows-1252 byte, as the host writes it.
    if (text.find(ansi("Wartezeiten A4 für Tierhalter")) != std::string::npos) {
        return WithdrawalLayout::A4Blaetter;
    }
    if (text.find("Wartezeiten 2 x A5 auf A4") != std::string::npos) {
        return WithdrawalLayout::ZweiMalA5;
    }
    if (text.find("Wartezeiten auf A5-Papier") != std::string::npos) {
        return WithdrawalLayout::A5Blaetter;
    }
    return WithdrawalLayout::ZweiMalA5;
}

namespace {

// A renderer of this build that does not exist yet leaves its file in place,
// like one that did not print.
bool render(const Renderer& renderer, Context& c, const std::string& text) {
    return renderer ? renderer(c, text) : false;
}

// True when printed. `blocked` is set when the file must not be handed over
// again in this run: its renderer did not print it (the file stays for the next
// start), it was printed but an archive copy is missing, or it was printed but
// could not be deleted.
bool printAndDelete(Context& c, const std::string& path, const Renderer& renderer,
                    const std::string& text, const Archive* archive, bool& blocked) {
    const int archiveFailures = archive ? archive->failures() : 0;
    if (!render(renderer, c, text)) {
        blocked = true;
        return false;
    }
    if (archive && archive->failures() > archiveFailures) {
        // On paper but not in the archive: the file stays, so that the next
        // start prints and archives it; a practice must find every record there.
        Protokollieren(c.services,
                       ansi("Datei bleibt erhalten, da eine Archivkopie fehlt: ") + path, 4);
        blocked = true;
        return true;
    }
    // The host may have left a new file under the same name while we printed;
    // deleting that one would lose a document nobody has seen. Delete only the
    // text we printed; a replaced file gets its own turn in the next pass.
    if (DateiEinlesen(path) != text) {
        Protokollieren(c.services,
                       ansi("Datei wurde während des Drucks ersetzt und wird neu gelesen: ") + path,
                       4);
        return true;
    }
    if (!fs::removeFile(path)) {
        // Printed but still there: the next start would print it again. Say so
        // in the log; this run will not hand it over a second time.
        Protokollieren(c.services, ansi("Datei konnte nicht gelöscht werden: ") + path, 4);
        blocked = true;
    }
    return true;
}

}  // namespace

bool MediInhaltDrucken(Context& c, const Renderers& renderers, const Archive* archive) {
    bool result = false;
    // A file that was printed and deleted may come again (the host can leave a
    // new one while we print); a file that stays after its turn may not.
    bool blockedB = false;
    bool blockedW = false;
    for (;;) {
        // Looked up anew on every pass, whatever the case of the names (the
        // host's system ignores it); the log names each file as found.
        const std::string w = fs::findInFolder(c.services.programFolder, "WZBeleg.xml");
        const std::string b = fs::findInFolder(c.services.programFolder, "Besamung.xml");
        const bool haveB = !blockedB && DateiVorhanden(c.services, b);
        const bool haveW = !haveB && !blockedW && DateiVorhanden(c.services, w);
        if (haveB) {
            std::string text = DateiEinlesen(b);
            Protokollieren(c.services, "Besamungsschein gefunden: " + b, 4);
            if (printAndDelete(c, b, renderers.besamungsschein, text, archive, blockedB))
                result = true;
        } else if (haveW) {
            std::string text = DateiEinlesen(w);
            Protokollieren(c.services, "Medikamentenbeleg gefunden: " + w, 4);
            const Renderer* renderer = &renderers.zweiMalA5;
            switch (chooseWithdrawalLayout(text)) {
                case WithdrawalLayout::A4Blaetter:
                    renderer = &renderers.a4Blaetter;
                    break;
                case WithdrawalLayout::A5Blaetter:
                    renderer = &renderers.a5Blaetter;
                    break;
                case WithdrawalLayout::ZweiMalA5:
                    break;
            }
            if (printAndDelete(c, w, *renderer, text, archive, blockedW))
                result = true;
        } else {
            return result;
        }
    }
}

}  // namespace lumaro

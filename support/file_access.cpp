#include "support/file_access.h"

#include "support/codepage.h"
#include "support/errors.h"
#include "support/file_system.h"
#include "support/trim.h"

namespace lumaro {

bool DateiVorhanden(const Services& s, const std::string& path) {
    const int code = fs::probeOpenForReading(path);
    switch (code) {
        case 0:   // opened
        case 55:  // already open elsewhere: it is there
            return true;
        case 52:  // bad file name
        case 53:  // not found
        case 71:  // disk not ready
        case 75:  // a folder or no file at all
        case 76:  // folder on the way missing
            return false;
        case 70:
            s.messages.show(ansi("Auf die Datei ") + path +
                                ansi(" kann nicht zugegriffen werden! Sie sollten das Programm "
                                     "beenden, und nach der Ursache suchen, falls auf diese "
                                     "Datei zugegriffen werden soll, da sonst während der "
                                     "Ausführung Fehler auftreten können!"),
                            "Lumaro", MessageIcon::None);
            throw ProgramEnd{2};
        default:
            s.messages.show("Fehler Nr. " + std::to_string(code) +
                                " - undefinierter Fehler - Programm wird beendet",
                            "Datei ist offen", MessageIcon::Exclamation);
            throw ProgramEnd{2};
    }
}

std::string DateiEinlesen(const std::string& path) {
    const std::string p(trimBlanks(path));
    // Folders, hidden files and anything else that is no ordinary file count
    // as absent.
    if (!fs::isOrdinaryFile(p))
        return {};
    if (auto content = fs::readWholeFile(p))
        return *content;
    // Gone since it was found: absent, as above.
    if (!fs::isOrdinaryFile(p))
        return {};
    // There but unreadable (a read error, rights taken away since it was
    // found). The empty text would print nothing and have the file deleted as
    // printed; an error ends the run and keeps it for the next one.
    raiseError(err::kPathFileAccess);
}

}  // namespace lumaro

#include "support/errors.h"

#include <utility>

#include "support/codepage.h"

namespace lumaro {

RuntimeError::RuntimeError(int number, std::string description)
    : number_(number), description_(std::move(description)) {}

std::string errorDescription(int number) {
    switch (number) {
        case err::kInvalidCall:
            return ansi("Ungültiger Prozeduraufruf oder ungültiges Argument");
        case err::kOverflow:
            return ansi("Überlauf");
        case err::kOutOfMemory:
            return ansi("Nicht genügend Speicher");
        case err::kSubscriptOutOfRange:
            return ansi("Index außerhalb des gültigen Bereichs");
        case err::kDivisionByZero:
            return ansi("Division durch Null");
        case err::kTypeMismatch:
            return ansi("Typen unverträglich");
        case err::kBadFileName:
            return ansi("Dateiname oder -nummer falsch");
        case err::kFileNotFound:
            return ansi("Datei nicht gefunden");
        case err::kDeviceIo:
            return ansi("Fehler beim Lesen/Schreiben des Geräts");
        case err::kDiskFull:
            return ansi("Datenträger voll");
        case err::kPermissionDenied:
            return ansi("Zugriff verweigert");
        case err::kPathFileAccess:
            return ansi("Fehler beim Zugriff auf Pfad/Datei");
        case err::kPathNotFound:
            return ansi("Pfad nicht gefunden");
        case err::kInvalidProperty:
            return ansi("Unzulässiger Eigenschaftswert");
        case err::kInvalidPicture:
            return ansi("Ungültiges Bild");
        case err::kPrinterError:
            return ansi("Druckerfehler");
        case err::kFieldTooLong:
            return ansi("Die Daten sind zu lang für das Feld der Medikamententabelle");
        default:
            return ansi("Anwendungs- oder objektdefinierter Fehler");
    }
}

void raiseError(int number) {
    throw RuntimeError(number, errorDescription(number));
}

std::string formatErrorText(const RuntimeError& e, const std::string& procedure,
                            const std::string& moduleWord) {
    return "Fehler " + std::to_string(e.number()) + " (" + e.description() + ") in Prozedur " +
           procedure + " " + moduleWord + " FunktionenDrucker";
}

}  // namespace lumaro

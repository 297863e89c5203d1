// The program's run-time errors and its immediate end.
//
// A RuntimeError carries the number and German description users of the
// original platform know ("Fehler 13 (Typen unverträglich)"). Routines with a
// handler format it with formatErrorText; the rest travels up to the top of the
// run, which reports "Laufzeitfehler" and ends with exit status 3.
//
// ProgramEnd is not an error: it is how a routine ends the whole program at once
// (a missing host file, a file the user may not read). Nothing may catch it but
// the top of the run, so no handler of ours derives from or swallows it.
#pragma once

#include <exception>
#include <string>

namespace lumaro {

class RuntimeError : public std::exception {
  public:
    RuntimeError(int number, std::string description);
    int number() const { return number_; }
    // Windows-1252 bytes.
    const std::string& description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

  private:
    int number_;
    std::string description_;
};

// Error numbers and their German descriptions (Windows-1252).
namespace err {
inline constexpr int kInvalidCall = 5;          // "Ungültiger Prozeduraufruf ..."
inline constexpr int kOverflow = 6;             // "Überlauf"
inline constexpr int kOutOfMemory = 7;          // "Nicht genügend Speicher"
inline constexpr int kSubscriptOutOfRange = 9;  // "Index außerhalb des gültigen Bereichs"
inline constexpr int kDivisionByZero = 11;      // "Division durch Null"
inline constexpr int kTypeMismatch = 13;        // "Typen unverträglich"
inline constexpr int kInternal = 51;            // "Interner Fehler"
inline constexpr int kBadFileName = 52;         // "Dateiname oder -nummer falsch"
inline constexpr int kFileNotFound = 53;        // "Datei nicht gefunden"
inline constexpr int kFileAlreadyOpen = 55;     // "Datei bereits geöffnet"
inline constexpr int kDeviceIo = 57;            // "Fehler beim Lesen/Schreiben des Geräts"
inline constexpr int kDiskFull = 61;            // "Datenträger voll"
inline constexpr int kPermissionDenied = 70;    // "Zugriff verweigert"
inline constexpr int kDiskNotReady = 71;        // "Datenträger nicht bereit"
inline constexpr int kPathFileAccess = 75;      // "Fehler beim Zugriff auf Pfad/Datei"
inline constexpr int kPathNotFound = 76;        // "Pfad nicht gefunden"
inline constexpr int kInvalidProperty = 380;    // "Unzulässiger Eigenschaftswert"
inline constexpr int kInvalidPicture = 481;     // "Ungültiges Bild"
inline constexpr int kPrinterError = 482;       // "Druckerfehler"
inline constexpr int kFieldTooLong = 3265;      // table refuses a value longer than its column
// File-test results of our own for conditions the host's table does not
// know: this plus the system's error number.
inline constexpr int kSystemErrorBase = 1000;
}  // namespace err

// The German description of a known error number (Windows-1252), or
// "Anwendungs- oder objektdefinierter Fehler" for numbers we do not name.
std::string errorDescription(int number);

// Convenience: throw RuntimeError(number, errorDescription(number)).
[[noreturn]] void raiseError(int number);

// "Fehler 13 (Typen unverträglich) in Prozedur NAME im Modul FunktionenDrucker"
// moduleWord is "im Modul" for most routines, "in Modul" for the drug-record renderers.
std::string formatErrorText(const RuntimeError& e, const std::string& procedure,
                            const std::string& moduleWord = "im Modul");

// Thrown to end the program at once with the given exit status. Only the top of
// the run catches it.
struct ProgramEnd {
    int exitStatus;
};

}  // namespace lumaro

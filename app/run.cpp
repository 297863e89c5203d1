#include "app/run.h"

#include <utility>

#include "app/dispatch.h"
#include "support/codepage.h"
#include "support/errors.h"
#include "support/file_access.h"
#include "support/file_system.h"
#include "support/ini.h"
#include "support/run_log.h"

namespace lumaro {

std::string noDisplayLogLine() {
    return ansi(
        "Keine Anzeige vorhanden: das Programm läuft ohne Fenster und ohne Rückfragen wie mit "
        "--unattended; Meldungen gehen auf die Standardfehlerausgabe und in dieses Protokoll.");
}

LumaroRun::LumaroRun(RunSetup setup) : s_(std::move(setup)) {}

void LumaroRun::load() {
    Services& sv = s_.context.services;
    loading_ = true;
    Protokollieren(sv, "***** Lumaro.exe, " + s_.window.caption() + " wird gestartet *****", 0);
    if (!s_.commandLine.empty())
        Protokollieren(sv, "    Parameter: " + s_.commandLine, 0);
    if (s_.noDisplay)
        Protokollieren(sv, noDisplayLogLine(), 4);

    fitAndCentreWindow();
    s_.window.show();

    // The host's files are found whatever the case of their names, as on the
    // host's own system.
    const std::string ini = fs::findInFolder(sv.programFolder, "Halmor.ini");
    if (!DateiVorhanden(sv, ini))
        missingHostFile("halmor.ini");
    sv.iniPath = ini;

    if (!DateiVorhanden(sv, fs::findInFolder(sv.programFolder, "Halmor.mdb")) &&
        !DateiVorhanden(sv, "C:\\vb\\Aufbau\\Halmor.mdb")) {
        missingHostFile("halmor.mdb");
    }

    DruckerEinlesen();
    if (Archive* archive = s_.archive) {
        if (archive->folder().empty())
            archive->setFolder(INILesen(sv, "Lumaro", "Archivordner", ""));
        if (!archive->folder().empty())
            Protokollieren(sv, "Archivordner: " + archive->folder(), 4);
    }
    loading_ = false;

    // DruckenUndBeenden
    printed_ = MediInhaltDrucken(s_.context, s_.renderers, s_.archive);
    if (printed_) {
        s_.context.printer.endDoc();
        if (!s_.unattended)
            s_.window.startExitTimer(2000);
        return;
    }
    sv.messages.show("Bitte den Drucker einstellen und das Programm dann beenden.",
                     s_.window.caption(), MessageIcon::Information);
}

void LumaroRun::fitAndCentreWindow() {
    // The inner area ends 120 twips right of and below the list; the frame
    // keeps its own thickness.
    const TwipsRect outer = s_.window.outerGeometry();
    const TwipsRect inner = s_.window.innerGeometry();
    const TwipsRect list = s_.window.listGeometry();
    TwipsRect r = outer;
    r.width = list.left + list.width + 120 + (outer.width - inner.width);
    r.height = list.top + list.height + 120 + (outer.height - inner.height);
    r.left = static_cast<float>(s_.window.screenWidth()) / 2 - static_cast<float>(r.width) / 2;
    r.top = static_cast<float>(s_.window.screenHeight()) / 2 - static_cast<float>(r.height) / 2;
    s_.window.setOuterGeometry(r);
}

void LumaroRun::missingHostFile(const std::string& fileName) {
    Services& sv = s_.context.services;
    // Line feeds alone between the parts, as the host's users know this text.
    const std::string text =
        "Im Ordner '" + sv.programFolder + "' existiert keine Datei mit dem Namen '" + fileName +
        ansi("' die aber für den Druck benötigt wird.") + "\n\n" +
        ansi(
            "Schliessen Sie alle Programme und verschieben Sie diese Datei aus dem "
            "Windows-Ordner (c:\\Windows oder c:\\NT) in den Ordner wo Tessnar-Halmor läuft.") +
        "\n" +
        ansi(
            "Dies sollte c:\\Tessnar sein. Die Verwendung eines anderen Ordners erfolgt auf "
            "eigene Gefahr!");
    sv.messages.show(text, "Datei fehlt!", MessageIcon::Stop);
    s_.window.unload();
    throw ProgramEnd{2};
}

void LumaroRun::onUnloaded() {
    if (unloaded_)
        return;
    unloaded_ = true;
    Protokollieren(s_.context.services, "+++++ Programm Lumaro wird beendet +++++", 0);
}

void LumaroRun::DruckerEinlesen() {
    Services& sv = s_.context.services;
    Protokollieren(sv, ansi("DruckerEinlesen wird ausgeführt."), 4);
    const std::string saved = INILesen(sv, "Drucker", "Labeldrucker", "");
    // Only now is the label printer known, which the documents must not go to
    // when the system names no default printer.
    const std::string why = s_.printers.chooseStartPrinter(saved);
    if (!why.empty())
        Protokollieren(sv, why, 8);
    const std::string current = s_.context.printer.deviceName();
    int currentIndex = -1;
    int savedIndex = -1;
    const int count = s_.printers.count();
    for (int i = 0; i < count; ++i) {
        const std::string name = s_.printers.deviceName(i);
        s_.window.addListItem(name);
        // Exact comparisons; with two printers of one name the last one wins.
        if (name == current)
            currentIndex = i;
        if (name == saved)
            savedIndex = i;
    }
    s_.window.selectListIndex(savedIndex >= 0 ? savedIndex : currentIndex);
    preselected_ = s_.window.listText();
    Protokollieren(sv, ansi("DruckerEinlesen wurde ausgeführt: Printer.DeviceName = ") + current,
                   8);
    SetPrinter(current);
}

bool LumaroRun::SetPrinter(const std::string& prnName) {
    Services& sv = s_.context.services;
    Protokollieren(
        sv, ansi("FunktionenDrucker.general.SetPrinter wird ausgeführt. prnName = ") + prnName, 4);
    bool result = false;
    const int count = s_.printers.count();
    for (int i = 0; i < count; ++i) {
        if (s_.printers.deviceName(i) != prnName)
            continue;
        s_.printers.makeCurrent(i);
        result = true;
        Protokollieren(sv,
                       "SetPrinter result = True --> prnName wurde gefunden als " +
                           std::to_string(i) + " aus 0 bis " + std::to_string(count - 1) + " = " +
                           s_.context.printer.deviceName(),
                       8);
        break;
    }
    Protokollieren(sv, std::string("SetPrinter result = ") + (result ? "True" : "False"), 8);
    return result;
}

void LumaroRun::LabeldruckerSpeichern() {
    if (loading_)
        return;
    // The saved label printer stays until the user picks another one. A label
    // printer that is switched off today is missing from the list, which then
    // preselects another printer; saving that on a key or at the end would lose
    // the user's setting.
    if (!userChose_ && s_.window.listText() == preselected_)
        return;
    INISpeichern(s_.context.services, "Drucker", "Labeldrucker", s_.window.listText());
}

}  // namespace lumaro

// The main window's controller: one complete run from the window's load event
// (log the start, check the host files, fill the printer list, print what is
// waiting) to its unload, plus the printer list and the label-printer choice.
#pragma once

#include <string>

#include "app/archive.h"
#include "app/main_window.h"
#include "documents/renderers.h"
#include "printing/context.h"

namespace lumaro {

inline constexpr const char* kWindowCaptionUtf8 =
    "Druckfunktion für Tierärzte - Version 26. September 2010";

// The day-log line of a run started without a display (Windows-1252).
std::string noDisplayLogLine();

struct RunSetup {
    Context& context;
    MainWindow& window;
    Printers& printers;
    const Renderers& renderers;
    std::string commandLine;  // Windows-1252; empty without arguments
    bool unattended = false;
    // Started without a display and without --unattended: the run goes on
    // unattended, and the day log says why.
    bool noDisplay = false;
    // The archive of printed jobs; its folder, when no option gave one, comes
    // from Halmor.ini ([Lumaro] Archivordner). nullptr: none.
    Archive* archive = nullptr;
};

class LumaroRun {
  public:
    explicit LumaroRun(RunSetup setup);

    // The window's load event. Printed: the exit timer (or, unattended, the
    // caller) unloads the window; nothing printed: the window stays until it
    // is closed. Ends the program (throws ProgramEnd{2}) when a host file is
    // missing, after the message and the unload.
    void load();

    // Window and list events.
    // A click in the list (or a key that chose an item) is the user's choice,
    // as long as the window is no longer loading.
    void onListClicked() {
        if (!loading_)
            userChose_ = true;
        LabeldruckerSpeichern();
    }
    void onListKeyUp() { LabeldruckerSpeichern(); }
    void onAboutToUnload() { LabeldruckerSpeichern(); }
    void onUnloaded();

    bool printed() const { return printed_; }

    // The printer list (exposed for tests).
    void DruckerEinlesen();
    bool SetPrinter(const std::string& prnName);
    void LabeldruckerSpeichern();

  private:
    void fitAndCentreWindow();
    [[noreturn]] void missingHostFile(const std::string& fileName);

    RunSetup s_;
    bool loading_ = false;
    // The list's text after DruckerEinlesen, and whether the user has chosen
    // an item since: only a choice of the user is saved.
    std::string preselected_;
    bool userChose_ = false;
    bool printed_ = false;
    bool unloaded_ = false;
};

}  // namespace lumaro

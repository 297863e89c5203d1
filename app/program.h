// The whole program above the platform: the options, one run with its
// printers, messages and trace, and the exit status. Each platform supplies
// its window, message boxes, printers, pictures and paths through Platform;
// main() only chooses the platform.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/options.h"
#include "app/run_messages.h"
#include "pdf/font_source.h"
#include "printing/font_table.h"
#include "printing/picture.h"
#include "printing/printer_system.h"
#include "support/regional.h"

namespace lumaro {

// The window as the program drives it: the run's window plus its events and
// the platform's event loop.
class ProgramWindow : public MainWindow {
  public:
    // Filled by the program before the run; each may be left empty.
    std::function<void()> onListClicked;
    std::function<void()> onListKeyUp;
    std::function<void()> onAboutToUnload;
    std::function<void()> onUnloaded;

    // Runs the platform's event loop until the window is unloaded, then
    // rethrows what a callback threw inside it, if anything.
    virtual void runUntilUnloaded() = 0;
    virtual bool isUnloaded() const = 0;
};

// What one run needs of the system it runs on, made once the options are
// known.
class Platform {
  public:
    virtual ~Platform() = default;

    // The program folder: given (--folder, as the system spells it) or the
    // running program's own; absolute, without a trailing separator,
    // Windows-1252.
    virtual std::string programFolder(const std::optional<std::string>& given) = 0;
    // An option's path as the core keeps it (Windows-1252, absolute) and as
    // the standard library opens it.
    virtual std::string absolutePath(const std::string& given) = 0;
    virtual std::filesystem::path nativePath(const std::string& given) = 0;

    virtual Regional regional() = 0;
    virtual const FontTable& fonts() = 0;
    // nullptr when no box can be shown (no display): the run goes on unattended.
    virtual MessageBoxes* boxes() = 0;
    virtual ProgramWindow& window() = 0;
    virtual PrinterSystem& printers() = 0;
    // Where the PDF printer and the archive find the font files they embed.
    virtual pdf::FontSource& pdfFonts() = 0;
    virtual PictureLoader& pictures() = 0;
};

// Makes the platform of a run; unattended when no window is to be shown.
using PlatformFactory = std::function<std::unique_ptr<Platform>(bool unattended)>;

struct ProgramArguments {
    std::vector<std::string> args;  // without the program path, as the system gives them
    Getenv getenv;
    std::ostream& out;
    std::ostream& err;
};

// Runs the program and returns its exit status.
int runProgram(const ProgramArguments& a, const PlatformFactory& makePlatform);

}  // namespace lumaro

// What the program-wide routines need of the world, bundled for one run.
//
// There are no globals: the run creates one Services (and, above it, one
// printing Context) and hands it down by reference. Tests build their own with
// a fixed clock, recorded messages and a temporary folder.
#pragma once

#include <string>

#include "support/regional.h"

namespace lumaro {

struct DateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

// The local time of this machine.
class SystemClock : public Clock {
  public:
    DateTime now() const override;
};

enum class MessageIcon { None, Stop, Exclamation, Information };

// Modal message boxes with one OK button. Texts are Windows-1252. An empty
// title means the program's own name, as the platform does for a box without one.
class Messages {
  public:
    virtual ~Messages() = default;
    virtual void show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

struct Services {
    Clock& clock;
    Messages& messages;
    Regional regional;
    // The program folder as the platform reports it, without a trailing
    // separator (Windows-1252 bytes; converted to the system's form when a file
    // is opened).
    std::string programFolder;
    // Full path of Halmor.ini, empty until the run sequence has confirmed it.
    std::string iniPath;
};

}  // namespace lumaro

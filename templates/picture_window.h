// The picture holder of the template renderer. No window appears, but loading
// and unloading it keep their lasting marks in Halmor.ini (section
// "wdwGrafikSpeicher"): a load counter with the time of the first load, and the
// geometry at the last unload.
#pragma once

#include <string>

#include "printing/context.h"

namespace lumaro {

class PictureWindow {
  public:
    // The load: counts it in the INI file.
    explicit PictureWindow(Context& c);
    // The unload: writes the geometry.
    ~PictureWindow();
    PictureWindow(const PictureWindow&) = delete;
    PictureWindow& operator=(const PictureWindow&) = delete;

    // Loads the file into the holder (RuntimeError 481 when it is no picture).
    const Picture& load(const std::string& path);

  private:
    Context& c_;
    Picture picture_;
};

}  // namespace lumaro

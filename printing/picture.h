// Pictures as the documents hold them and as devices draw them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lumaro {

// A decoded picture, the same for every device.
struct Image {
    int width = 0, height = 0;  // pixels
    // The resolution the file names, 0 when it names none (then 96 dpi).
    double dotsPerMetreX = 0, dotsPerMetreY = 0;
    // width * height * 3 bytes, rows top to bottom, red-green-blue;
    // transparent parts already laid onto white, as on paper.
    std::vector<std::uint8_t> rgb;
    // The file's own bytes when it is a JPEG that a PDF can carry unchanged
    // (baseline or progressive, grey or RGB); empty otherwise.
    std::string jpeg;
};

// A loaded picture. handle 0 (and no image) means no picture is held.
struct Picture {
    int handle = 0;
    std::string file;  // Windows-1252, for the log and the trace
    std::shared_ptr<const Image> image;
};

// Loads picture files (BMP, JPEG, GIF, PNG, ICO) for drawing. A missing file
// raises RuntimeError 53; a file that is there but holds no picture the
// platform can read raises 481. Each load gives a fresh handle.
class PictureLoader {
  public:
    virtual ~PictureLoader() = default;
    virtual Picture load(const std::string& path) = 0;
};

}  // namespace lumaro

// Loads picture files (BMP, JPEG, GIF, PNG, ICO) for drawing and keeps the
// images by handle, so that the print surface can draw a Picture the core hands
// back to it.
//
// Construct one per run and give it to QtPrintSurface and to the Context:
//     QtPictureLoader pictures;
//     QtPrintSurface surface(trace, pictures, clock);
// It must outlive the surface.
#pragma once

#include <QImage>
#include <map>
#include <string>

#include "printing/print_surface.h"

namespace lumaro::platform {

class QtPictureLoader : public PictureLoader {
  public:
    // path is Windows-1252. A missing file raises RuntimeError 53; a file that
    // holds no picture of the formats above (or one too large to load) raises
    // 481 "Ungültiges Bild". Each load gives a fresh handle; loading the same
    // unchanged file again shares the decoded image.
    Picture load(const std::string& path) override;

    // The image behind a handle, or nullptr for 0 or an unknown handle.
    const QImage* image(int handle) const;

  private:
    struct Cached {
        qint64 size = -1;
        qint64 modified = 0;
        QImage image;
    };
    std::map<int, QImage> images_;
    std::map<QString, Cached> byPath_;
    int next_ = 1;
};

}  // namespace lumaro::platform

// Loads picture files (BMP, JPEG, GIF, PNG, ICO) with Qt's image readers into
// the core's Image: RGB rows, transparency laid onto white, and a JPEG's own
// bytes kept so that a PDF can carry it unchanged.
#pragma once

#include <QString>
#include <map>
#include <memory>
#include <string>

#include "printing/picture.h"

namespace lumaro::platform {

class QtPictureLoader : public PictureLoader {
  public:
    // path is Windows-1252. A missing file raises RuntimeError 53; a file that
    // holds no picture of the formats above (or one too large to load) raises
    // 481 "Ungültiges Bild". Each load gives a fresh handle; loading the same
    // unchanged file again shares the decoded image.
    Picture load(const std::string& path) override;

  private:
    struct Cached {
        qint64 size = -1;
        qint64 modified = 0;
        std::shared_ptr<const Image> image;
    };
    std::map<QString, Cached> byPath_;
    int next_ = 1;
};

}  // namespace lumaro::platform

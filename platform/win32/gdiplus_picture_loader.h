// Loads the template pictures (BMP, JPEG, GIF, PNG, icons) with GDI+ into the
// core's Image: decoded once to 32-bit ARGB, transparent parts laid onto white
// as on paper, the resolution the file names, and a JPEG's own bytes for the
// PDF printer. Devices then draw the plain pixels (StretchDIBits on a printer:
// GDI+ drawing straight onto a printer would rasterise every picture at the
// printer's resolution and paint transparent pixels black).
//
// One per run; it starts GDI+ and shuts it down again, so it must outlive
// every Picture it gave only as far as its handles go (the images themselves
// are shared and stay valid).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "printing/picture.h"

namespace lumaro::platform {

class GdiplusPictureLoader : public PictureLoader {
  public:
    GdiplusPictureLoader();
    ~GdiplusPictureLoader() override;
    GdiplusPictureLoader(const GdiplusPictureLoader&) = delete;
    GdiplusPictureLoader& operator=(const GdiplusPictureLoader&) = delete;

    // path is Windows-1252. A missing file (or folder on its path) raises
    // RuntimeError 53; a folder, a file that cannot be read, a format other
    // than those above, a broken file or one of more than 64 million pixels
    // raise 481. Loading the same unchanged file again reuses its image.
    Picture load(const std::string& path) override;

  private:
    struct Cached {
        std::uint64_t size = 0;
        std::uint64_t modified = 0;
        std::shared_ptr<const Image> image;
    };
    std::shared_ptr<const Image> decode(const std::string& bytes);

    std::uintptr_t token_ = 0;
    std::map<std::string, Cached> byPath_;
    int next_ = 1;
};

}  // namespace lumaro::platform

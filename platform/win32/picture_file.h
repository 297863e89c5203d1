// What the bytes of a picture file say before any decoder looks at them: the
// format (only those the program has always accepted), the resolution the file
// names, and whether a PDF can carry it unchanged.
#pragma once

#include <string_view>

namespace lumaro::platform {

enum class PictureFormat { Unknown, Bmp, Jpeg, Gif, Png, Icon };

PictureFormat sniffFormat(std::string_view bytes);

struct Resolution {
    double dotsPerMetreX = 0, dotsPerMetreY = 0;  // 0 when the file names none
};

// From a BMP's header, a PNG's pHYs chunk (in metres) or a JPEG's JFIF
// density (in inches or centimetres); GIF and icons name none.
Resolution fileResolution(PictureFormat format, std::string_view bytes);

// A baseline or progressive JPEG of one (grey) or three (YCbCr/RGB)
// components: the kinds a PDF's DCT filter shows as they are.
bool jpegForPdf(std::string_view bytes);

}  // namespace lumaro::platform

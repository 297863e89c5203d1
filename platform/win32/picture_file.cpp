#include "platform/win32/picture_file.h"

#include <cstdint>

namespace lumaro::platform {

namespace {

std::uint32_t le32(std::string_view b, std::size_t at) {
    if (at + 4 > b.size())
        return 0;
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

std::uint32_t be32(std::string_view b, std::size_t at) {
    if (at + 4 > b.size())
        return 0;
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at])) << 24 |
           static_cast<std::uint8_t>(b[at + 1]) << 16 | static_cast<std::uint8_t>(b[at + 2]) << 8 |
           static_cast<std::uint8_t>(b[at + 3]);
}

unsigned be16(std::string_view b, std::size_t at) {
    if (at + 2 > b.size())
        return 0;
    return static_cast<unsigned>(static_cast<std::uint8_t>(b[at])) << 8 |
           static_cast<std::uint8_t>(b[at + 1]);
}

unsigned byteAt(std::string_view b, std::size_t at) {
    return at < b.size() ? static_cast<std::uint8_t>(b[at]) : 0;
}

// Walks a JPEG's marker segments up to the start of the picture data; f is
// called with the marker and the offset of its segment's length field, and
// stops the walk by returning true.
template <typename F>
void forEachJpegSegment(std::string_view b, F f) {
    std::size_t at = 2;
    while (at + 4 <= b.size()) {
        if (byteAt(b, at) != 0xFF)
            return;
        const unsigned marker = byteAt(b, at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return;
        if (f(marker, at + 2))
            return;
        at += 2 + be16(b, at + 2);
    }
}

}  // namespace

PictureFormat sniffFormat(std::string_view b) {
    if (b.size() >= 2 && b.substr(0, 2) == "BM")
        return PictureFormat::Bmp;
    if (b.size() >= 3 && byteAt(b, 0) == 0xFF && byteAt(b, 1) == 0xD8 && byteAt(b, 2) == 0xFF)
        return PictureFormat::Jpeg;
    if (b.size() >= 6 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a"))
        return PictureFormat::Gif;
    if (b.size() >= 8 && b.substr(0, 8) == std::string_view("\x89PNG\r\n\x1A\n", 8))
        return PictureFormat::Png;
    // Icons and cursors: reserved 0, type 1 or 2, at least one image.
    if (b.size() >= 6 && byteAt(b, 0) == 0 && byteAt(b, 1) == 0 &&
        (byteAt(b, 2) == 1 || byteAt(b, 2) == 2) && byteAt(b, 3) == 0 &&
        (byteAt(b, 4) | byteAt(b, 5)) != 0)
        return PictureFormat::Icon;
    return PictureFormat::Unknown;
}

Resolution fileResolution(PictureFormat format, std::string_view b) {
    Resolution r;
    switch (format) {
        case PictureFormat::Bmp: {
            // BITMAPINFOHEADER (40 bytes or a later, longer one) after the 14-byte file header.
            if (le32(b, 14) >= 40) {
                const auto x = static_cast<std::int32_t>(le32(b, 38));
                const auto y = static_cast<std::int32_t>(le32(b, 42));
                if (x > 0 && y > 0)
                    r = {static_cast<double>(x), static_cast<double>(y)};
            }
            break;
        }
        case PictureFormat::Png: {
            for (std::size_t at = 8; at + 8 <= b.size();) {
                const std::uint32_t length = be32(b, at);
                const std::string_view type = b.substr(at + 4, 4);
                if (type == "IDAT" || type == "IEND")
                    break;
                if (type == "pHYs" && length >= 9 && byteAt(b, at + 16) == 1) {
                    const std::uint32_t x = be32(b, at + 8), y = be32(b, at + 12);
                    if (x > 0 && y > 0)
                        r = {static_cast<double>(x), static_cast<double>(y)};
                    break;
                }
                if (length > b.size())
                    break;
                at += 12 + static_cast<std::size_t>(length);
            }
            break;
        }
        case PictureFormat::Jpeg:
            forEachJpegSegment(b, [&](unsigned marker, std::size_t at) {
                if (marker == 0xE0 && b.substr(at + 2, 5) == std::string_view("JFIF\0", 5)) {
                    const unsigned units = byteAt(b, at + 9);
                    const double x = be16(b, at + 10), y = be16(b, at + 12);
                    const double perMetre = units == 1 ? 1 / 0.0254 : units == 2 ? 100 : 0;
                    if (perMetre > 0 && x > 0 && y > 0)
                        r = {x * perMetre, y * perMetre};
                    return true;
                }
                return false;
            });
            break;
        default:
            break;
    }
    return r;
}

bool jpegForPdf(std::string_view b) {
    if (sniffFormat(b) != PictureFormat::Jpeg)
        return false;
    bool ok = false;
    forEachJpegSegment(b, [&](unsigned marker, std::size_t at) {
        // Start of frame: baseline (C0), extended (C1) or progressive (C2)
        // Huffman coding; every other kind (lossless, arithmetic) is refused.
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            const unsigned components = byteAt(b, at + 7);
            ok = marker <= 0xC2 && byteAt(b, at + 2) == 8 && (components == 1 || components == 3);
            return true;
        }
        return false;
    });
    return ok;
}

}  // namespace lumaro::platform

#include "platform/win32/gdi_font_source.h"

#include <windows.h>

#include <cstdint>

#include "platform/win32/wide_text.h"

namespace lumaro::platform {

namespace {

constexpr DWORD tag(char a, char b, char c, char d) {
    // GetFontData takes a table's tag in the file's byte order.
    return static_cast<DWORD>(static_cast<unsigned char>(a)) |
           static_cast<DWORD>(static_cast<unsigned char>(b)) << 8 |
           static_cast<DWORD>(static_cast<unsigned char>(c)) << 16 |
           static_cast<DWORD>(static_cast<unsigned char>(d)) << 24;
}

std::string fontData(HDC dc, DWORD table) {
    const DWORD size = ::GetFontData(dc, table, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0)
        return {};
    std::string bytes(size, '\0');
    if (::GetFontData(dc, table, 0, bytes.data(), size) != size)
        return {};
    return bytes;
}

std::uint32_t be32(const std::string& b, std::size_t at) {
    if (at + 4 > b.size())
        return 0;
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8 |
           static_cast<unsigned char>(b[at + 3]);
}

unsigned be16(const std::string& b, std::size_t at) {
    if (at + 2 > b.size())
        return 0;
    return static_cast<unsigned>(static_cast<unsigned char>(b[at])) << 8 |
           static_cast<unsigned char>(b[at + 1]);
}

struct Selected {
    HDC dc = nullptr;
    HFONT font = nullptr;
    HGDIOBJ old = nullptr;
    ~Selected() {
        if (dc) {
            ::SelectObject(dc, old);
            ::DeleteDC(dc);
        }
        if (font)
            ::DeleteObject(font);
    }
};

}  // namespace

pdf::FontFile GdiFontSource::fontFile(const std::string& family, bool bold, bool italic) {
    Selected s;
    s.dc = ::CreateCompatibleDC(nullptr);
    // The same request as the printers make (gdi_print_device.cpp), so that
    // GDI's choice of face is the same.
    s.font = ::CreateFontW(-2048, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           wideFromAnsi(family).substr(0, LF_FACESIZE - 1).c_str());
    if (!s.dc || !s.font)
        return {};
    s.old = ::SelectObject(s.dc, s.font);
    // Outlines of its own: the PDF printer embeds TrueType outlines only.
    if (::GetFontData(s.dc, tag('g', 'l', 'y', 'f'), 0, nullptr, 0) == GDI_ERROR)
        return {};
    std::string collection = fontData(s.dc, tag('t', 't', 'c', 'f'));
    if (collection.empty())
        return pdf::FontFile{fontData(s.dc, 0), 0};
    // In a collection, GDI reads "the file" from the selected font's own
    // table directory; the font is the one whose directory that is.
    const std::string own = fontData(s.dc, 0);
    const std::size_t directory = 12 + 16 * static_cast<std::size_t>(be16(own, 4));
    if (own.size() < directory || be32(collection, 0) != 0x74746366)  // "ttcf"
        return {};
    const std::uint32_t count = be32(collection, 8);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t offset = be32(collection, 12 + 4 * static_cast<std::size_t>(i));
        if (offset + directory <= collection.size() &&
            collection.compare(offset, directory, own, 0, directory) == 0)
            return pdf::FontFile{std::move(collection), static_cast<int>(i)};
    }
    return {};
}

}  // namespace lumaro::platform

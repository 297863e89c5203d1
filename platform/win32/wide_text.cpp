#include "platform/win32/wide_text.h"

#include <windows.h>

#include "support/codepage.h"

namespace lumaro::platform {

std::wstring wideFromAnsi(std::string_view cp1252) {
    std::wstring out;
    out.reserve(cp1252.size());
    const std::string utf8 = toUtf8(cp1252);
    // Decoding our own table's UTF-8 (at most three bytes a character).
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<wchar_t>(b);
            i += 1;
        } else if (b < 0xE0) {
            out += static_cast<wchar_t>(((b & 0x1F) << 6) | (utf8[i + 1] & 0x3F));
            i += 2;
        } else {
            out += static_cast<wchar_t>(((b & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) |
                                        (utf8[i + 2] & 0x3F));
            i += 3;
        }
    }
    return out;
}

std::string utf8FromWide(std::wstring_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = static_cast<char16_t>(utf16[i]);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < utf16.size() &&
            static_cast<char16_t>(utf16[i + 1]) >= 0xDC00 &&
            static_cast<char16_t>(utf16[i + 1]) < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char16_t>(utf16[i + 1]) - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::wstring wideFromUtf8(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string ansiFromWide(std::wstring_view utf16) {
    return fromUtf8(utf8FromWide(utf16));
}

}  // namespace lumaro::platform

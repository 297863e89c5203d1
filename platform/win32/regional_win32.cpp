#include "platform/win32/regional_win32.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace lumaro::platform {

namespace {

// The single Windows-1252 byte of a separator, or 0 when there is none.
char separatorByte(const std::wstring& s, bool group) {
    if (s.size() != 1)
        return 0;
    const wchar_t c = s[0];
    // Narrow and thin spaces (French, Swiss) have no code in 1252; the
    // no-break space is what Windows itself uses for them.
    if (c == L' ' || c == 0x00A0 || c == 0x202F || c == 0x2009)
        return group ? '\xA0' : 0;
    const std::string cp = ansiFromWide(s);
    if (cp.size() != 1 || (cp[0] == '?' && c != L'?'))
        return 0;
    return cp[0];
}

std::wstring localeInfo(const wchar_t* locale, LCTYPE type) {
    wchar_t buf[16] = {};
    const int n = ::GetLocaleInfoEx(locale, type, buf, 16);
    return n > 1 ? std::wstring(buf, static_cast<std::size_t>(n - 1)) : std::wstring();
}

bool isCLocale(const std::string& name) {
    return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

Regional fromWindowsLocale(const wchar_t* locale) {
    Regional german;  // ',' and '.'
    const std::wstring decimalText = localeInfo(locale, LOCALE_SDECIMAL);
    if (decimalText.empty())
        return german;
    Regional r;
    const char decimal = separatorByte(decimalText, false);
    const char group = separatorByte(localeInfo(locale, LOCALE_STHOUSAND), true);
    r.decimal = decimal ? decimal : german.decimal;
    r.thousands = group ? group : german.thousands;
    // Austria groups with a point in the regional settings the practices have
    // always used; newer locale data writes a no-break space instead.
    const std::wstring name = localeInfo(locale, LOCALE_SNAME);
    if (name.rfind(L"de-AT", 0) == 0)
        r.thousands = '.';
    if (r.thousands == r.decimal)  // never two meanings for one character
        r.thousands = r.decimal == '.' ? ',' : '.';
    return r;
}

}  // namespace

Regional regionalFromLocaleName(const std::string& name) {
    if (isCLocale(name))
        return Regional{};
    // "de_DE.UTF-8@euro" -> "de-DE"
    std::string tag = name.substr(0, name.find_first_of(".@"));
    for (char& c : tag) {
        if (c == '_')
            c = '-';
    }
    const std::wstring wide = wideFromAnsi(tag);
    if (::LocaleNameToLCID(wide.c_str(), 0) == 0)
        return Regional{};
    return fromWindowsLocale(wide.c_str());
}

Regional regionalFromEnvironment(const std::function<std::string(const char*)>& lookup) {
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const std::string value = lookup(var);
        if (!value.empty())
            return regionalFromLocaleName(value);
    }
    return fromWindowsLocale(LOCALE_NAME_USER_DEFAULT);
}

}  // namespace lumaro::platform

#include "platform/qt/regional_qt.h"

#include <QLocale>
#include <QString>

#include "support/codepage.h"

namespace lumaro::platform {

namespace {

// The single Windows-1252 byte of a separator, or 0 when there is none.
char separatorByte(const QString& s, bool group) {
    if (s.size() != 1)
        return 0;
    const QChar c = s.at(0);
    // Narrow and thin spaces (French, Swiss) have no code in 1252; the
    // no-break space is what Windows uses for them.
    if (c.isSpace())
        return group ? '\xA0' : 0;
    const std::string cp = fromUtf8(s.toStdString());
    if (cp.size() != 1 || (cp[0] == '?' && c != QLatin1Char('?')))
        return 0;
    return cp[0];
}

bool isCLocale(const std::string& name) {
    return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

}  // namespace

Regional regionalFromLocaleName(const std::string& name) {
    Regional german;  // ',' and '.'
    if (isCLocale(name))
        return german;
    const QLocale locale(QString::fromStdString(name));
    if (locale.language() == QLocale::C)
        return german;
    Regional r;
    const char decimal = separatorByte(locale.decimalPoint(), false);
    const char group = separatorByte(locale.groupSeparator(), true);
    r.decimal = decimal ? decimal : german.decimal;
    r.thousands = group ? group : german.thousands;
    // Austria groups with a point in the regional settings the practices have
    // always used; newer locale data writes a no-break space instead.
    if (locale.language() == QLocale::German && locale.territory() == QLocale::Austria)
        r.thousands = '.';
    if (r.thousands == r.decimal)  // never two meanings for one character
        r.thousands = r.decimal == '.' ? ',' : '.';
    return r;
}

Regional regionalFromEnvironment(const std::function<const char*(const char*)>& lookup) {
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = lookup(var);
        if (value && *value)
            return regionalFromLocaleName(value);
    }
    return Regional{};
}

}  // namespace lumaro::platform

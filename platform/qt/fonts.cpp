#include "platform/qt/fonts.h"

#include "platform/qt/qt_text.h"

namespace lumaro::platform {

QString substituteFamily(const std::string& name) {
    const QString given = toQString(name).trimmed();
    struct Substitute {
        const char* asked;
        const char* family;
    };
    static constexpr Substitute table[] = {
        {"Veranda", "DejaVu Sans"},           {"Verdana", "DejaVu Sans"},
        {"Arial", "Liberation Sans"},         {"Helvetica", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"}, {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
    };
    if (given.isEmpty())
        return QStringLiteral("DejaVu Sans");
    for (const auto& s : table) {
        if (given.compare(QLatin1String(s.asked), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(s.family);
    }
    return given;
}

QFont makeFont(const std::string& name, double points, bool bold, bool italic, bool underline) {
    QFont f(substituteFamily(name));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

}  // namespace lumaro::platform

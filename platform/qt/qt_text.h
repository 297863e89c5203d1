// Text across the Qt edge: the core keeps Windows-1252 bytes, Qt wants QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "support/codepage.h"

namespace lumaro::platform {

inline QString toQString(std::string_view cp1252) {
    return QString::fromStdString(toUtf8(cp1252));
}

// Characters outside Windows-1252 become '?'.
inline std::string fromQString(const QString& s) {
    return fromUtf8(s.toStdString());
}

}  // namespace lumaro::platform

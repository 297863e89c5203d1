// The one place where the font names documents ask for become fonts this
// system has. Measuring and drawing both go through makeFont, so a text is
// always measured in the very font that draws it.
#pragma once

#include <QFont>
#include <QString>
#include <string>

namespace lumaro::platform {

// The family that stands in for a (Windows-1252) font name: "Veranda" and
// "Verdana" -> DejaVu Sans; "Arial", "Helvetica", "MS Sans Serif" -> Liberation
// Sans; "Times New Roman" -> Liberation Serif; "Courier New" -> Liberation Mono;
// empty -> DejaVu Sans; any other name as given (Qt falls back on its own).
// Names compare without regard to case, as font names do on Windows.
QString substituteFamily(const std::string& name);

// A font of the substituted family in points with the given style. Hinting is
// off so that widths scale with the size and do not depend on the device's
// pixel grid.
QFont makeFont(const std::string& name, double points, bool bold, bool italic, bool underline);

}  // namespace lumaro::platform

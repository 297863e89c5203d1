// Helpers for the platform tests: the files a printer wrote, and a page of a
// PDF rendered by poppler's pdftoppm when it is installed.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace lumaro::platform::testing {

// Files in folder, sorted by name.
QStringList filesIn(const QString& folder);

bool haveTool(const QString& name);

// Page 1 rendered in grey at pixelsPerMm pixels per millimetre (null when
// pdftoppm failed).
QImage renderFirstPage(const QString& pdf, int pixelsPerMm = 1);

}  // namespace lumaro::platform::testing

// Helpers for the platform tests: reading a trace back, and looking into PDF
// files with poppler's command-line tools when they are installed.
#pragma once

#include <QImage>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace lumaro::platform::testing {

std::vector<QJsonObject> readTrace(const QString& path);
// The "ev" fields in order.
QStringList eventNames(const std::vector<QJsonObject>& events);
// Files in folder, sorted by name.
QStringList filesIn(const QString& folder);

bool haveTool(const QString& name);
// Output of a tool, or nullopt when it failed.
std::optional<QString> runTool(const QString& name, const QStringList& args);
// Page count from pdfinfo, or from the page tree's /Count without it.
int pdfPageCount(const QString& pdf);
// Page 1 rendered in grey at pixelsPerMm pixels per millimetre.
QImage renderFirstPage(const QString& pdf, int pixelsPerMm = 1);

}  // namespace lumaro::platform::testing

#pragma once

#include <QString>

namespace gyrena {

// gyrena --export-pdf OUT FILE: the route window's passage plan of FILE (a voyage file when its
// name ends in .gpx, else a data file) written to OUT as PDF, without showing a window. What went wrong goes to standard error; returns the
// exit status: 0, or 1 when the file cannot be read, holds no route, or OUT cannot be written.
int exportPdfCommand(const QString& pdfPath, const QString& file);

} // namespace gyrena

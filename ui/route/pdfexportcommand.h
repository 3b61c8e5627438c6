#pragma once

#include <QString>

namespace gyrena {

// gyrena --export-pdf OUT FILE: the route window's passage plan of the data file FILE written
// to OUT as PDF, without showing a window. What went wrong goes to standard error; returns the
// exit status: 0, or 1 when the file cannot be read, holds no route, or OUT cannot be written.
int exportPdfCommand(const QString& pdfPath, const QString& file);

} // namespace gyrena

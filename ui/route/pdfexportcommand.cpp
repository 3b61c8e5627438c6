#include "ui/route/pdfexportcommand.h"

#include "io/datafile.h"
#include "io/regularfile.h"
#include "platform/services.h"
#include "ui/route/planexports.h"
#include "ui/route/routewindow.h"

#include <QFile>

#include <cstdio>
#include <variant>

namespace gyrena {

namespace {

int fail(const QString& file, const std::string& why)
{
    std::fprintf(stderr, "gyrena: %s: %s\n", QFile::encodeName(file).constData(), why.c_str());
    return 1;
}

} // namespace

int exportPdfCommand(const QString& pdfPath, const QString& file)
{
    auto opened = RegularFile::open(QFile::encodeName(file).toStdString());
    if (const auto* error = std::get_if<FileError>(&opened))
        return fail(file, "cannot open the file: " + error->what);
    const auto bytes = std::get<RegularFile>(opened).readAtMost(kDataFileReadLimit);
    if (const auto* error = std::get_if<FileError>(&bytes))
        return fail(file, "cannot read the file: " + error->what);
    const auto parsed = readDataFile(std::get<std::string>(bytes));
    if (const auto* error = std::get_if<FileError>(&parsed))
        return fail(file, "not a readable Gyrena data file: " + error->what);
    const LocationData& data = std::get<LocationData>(parsed);
    LocationState location;
    updateLocation(location, RouteEnd::Start, data.start);
    updateLocation(location, RouteEnd::End, data.end);

    // The window is never shown: it lays out and plans exactly as on screen, so the document
    // is the one Export PDF… writes.
    RouteWindow window{Services{}};
    window.setRoute(startPosition(location), endPosition(location),
                    QString::fromStdString(data.start.name), QString::fromStdString(data.end.name));
    if (!window.plan().hasPlan)
        return fail(file, "no route to plan: " + window.plan().problem);
    const QString failed = window.exports()->writePdf(pdfPath);
    if (!failed.isEmpty()) {
        std::fprintf(stderr, "gyrena: the PDF file was not written: %s\n",
                     failed.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

} // namespace gyrena

#include "ui/route/pdfexportcommand.h"

#include "io/files/regularfile.h"
#include "io/formats/datafile.h"
#include "io/formats/voyagegpx.h"
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

// What stopped the read, where: "cannot open the file: ...", "not a readable voyage file: ...
// (line 3)".
std::string whyUnread(const FileReadError& failed, const char* kind)
{
    const FileError& error = failed.error;
    switch (failed.step) {
    case ReadStep::Open:
        return "cannot open the file: " + error.what;
    case ReadStep::Read:
        return "cannot read the file: " + error.what;
    case ReadStep::Parse:
        break;
    }
    std::string why = std::string("not a readable ") + kind + ": " + error.what;
    if (error.line > 0 && error.what.find("line") == std::string::npos)
        why += " (line " + std::to_string(error.line) + ')';
    return why;
}

} // namespace

int exportPdfCommand(const QString& pdfPath, const QString& file)
{
    const std::string path = QFile::encodeName(file).toStdString();
    // The window is never shown: it lays out and plans exactly as on screen, so the document
    // is the one Export PDF… writes.
    RouteWindow window{Services{}};
    if (file.endsWith(QStringLiteral(".gpx"), Qt::CaseInsensitive)) {
        const auto read = readRegularFile<Voyage>(path, kVoyageFileLimit, readVoyageGpx);
        if (const auto* failed = std::get_if<FileReadError>(&read))
            return fail(file, whyUnread(*failed, "voyage file"));
        window.setVoyage(std::get<Voyage>(read));
    } else {
        const auto read = readRegularFile<LocationData>(path, {kDataFileReadLimit}, readDataFile);
        if (const auto* failed = std::get_if<FileReadError>(&read))
            return fail(file, whyUnread(*failed, "Gyrena data file"));
        const LocationData& data = std::get<LocationData>(read);
        LocationState location;
        updateLocation(location, RouteEnd::Start, data.start);
        updateLocation(location, RouteEnd::End, data.end);
        window.setRoute(startPosition(location), endPosition(location),
                        QString::fromStdString(data.start.name),
                        QString::fromStdString(data.end.name));
    }
    // The land and the routes by sea read here, at once: a window would wait for them.
    window.checkLandNow();
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

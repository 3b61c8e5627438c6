#include "exports.h"

#include "io/files/atomicfile.h"
#include "io/formats/kmlwriter.h"
#include "io/formats/rtzwriter.h"
#include "plan_output.h"

#include <iostream>

namespace gyrena::route {

std::optional<std::string>* exportTarget(PlanRequest& request, std::string_view option)
{
    if (option == "--gpx")
        return &request.gpxPath;
    if (option == "--rtz")
        return &request.rtzPath;
    if (option == "--kml")
        return &request.kmlPath;
    return nullptr;
}

int writeExportFiles(const PassagePlan& plan, const PlanRequest& request)
{
    struct Export
    {
        const std::optional<std::string>& path;
        const char* format;
        std::string (*write)(const PassagePlan&);
    };
    int status = 0;
    for (const Export& file : {Export{request.rtzPath, "RTZ", &writeRtzRoute},
                               Export{request.kmlPath, "KML", &writeKmlRoute}}) {
        if (!file.path)
            continue;
        const std::string failed = writeFileAtomically(*file.path, file.write(plan));
        if (!failed.empty()) {
            std::cerr << "gyrena-route: the " << file.format << " file was not written: " << failed
                      << '\n';
            status = 1;
        }
    }
    return status;
}

} // namespace gyrena::route

#include "land_output.h"

#include "geo/landcheck.h"
#include "io/earth/landasset.h"

#include <iostream>

namespace gyrena::route {

std::optional<bool> printLandCrossings(const VoyagePlan& plan,
                                       const std::vector<std::string>& placeNames)
{
    const auto& land = builtInLand();
    if (const auto* failed = std::get_if<LandAssetError>(&land)) {
        std::cout.flush();
        std::cerr << "gyrena-route: the land cannot be read: " << failed->what << " (byte "
                  << failed->offset << ")\n";
        return std::nullopt;
    }
    const std::vector<LandCrossing> crossings = landCrossings(plan, std::get<LandIndex>(land));
    for (const LandCrossing& crossing : crossings)
        std::cout << "Land: "
                  << landCrossingText(crossing, placeNames.at(crossing.leg),
                                      placeNames.at(crossing.leg + 1))
                  << '\n';
    if (crossings.empty())
        std::cout << "No leg crosses land.\n";
    return !crossings.empty();
}

int landStatus(int status, bool checkLand, const std::optional<bool>& crossesLand)
{
    if (status != 0)
        return status;
    if (!crossesLand)
        return 1;
    return checkLand && *crossesLand ? kExitCrossesLand : 0;
}

} // namespace gyrena::route

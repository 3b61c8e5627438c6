#include "geo/sealand.h"

#include "geo/landcheck.h"
#include "geo/seageometry.h"

#include <array>

namespace gyrena {

using namespace sea;

IndexSeaLand::IndexSeaLand(const LandIndex& land) : m_land(land) {}

double IndexSeaLand::clearanceNm(LatLon from, LatLon to, double capNm) const
{
    return m_land.clearanceNm(from, to, capNm);
}

bool IndexSeaLand::legClears(LatLon from, LatLon to, double clearanceNm, bool fromIsPlace,
                             bool toIsPlace) const
{
    const Vec a = toVec(from);
    const Vec b = toVec(to);
    const double lengthNm = arcNm(a, b);
    const double approachFrom = fromIsPlace ? kApproachNm : 0.0;
    const double approachTo = toIsPlace ? kApproachNm : 0.0;
    const std::array<LatLon, 2> leg = {from, to};
    // The land check's own rule: an approach begins at the place and ends in water within
    // kApproachNm of it; land a little off a place (a headland past its harbour) is a crossing.
    for (const LandStretch& stretch : m_land.stretchesAlong(leg)) {
        const bool atStart = fromIsPlace && stretch.fromNm <= kPlaceSlackNm;
        const bool atEnd = toIsPlace && stretch.toNm >= lengthNm - kPlaceSlackNm;
        const bool inApproach = (atStart && !atEnd && stretch.toNm <= approachFrom) ||
                                (atEnd && !atStart && stretch.fromNm >= lengthNm - approachTo);
        if (!inApproach)
            return false;
    }
    if (clearanceNm <= 0 || approachFrom + approachTo >= lengthNm)
        return true;
    const Vec start = approachFrom > 0 ? along(a, b, approachFrom / lengthNm) : a;
    const Vec end = approachTo > 0 ? along(a, b, 1.0 - approachTo / lengthNm) : b;
    return m_land.clearanceNm(toLatLon(start), toLatLon(end), clearanceNm) >= clearanceNm;
}

} // namespace gyrena

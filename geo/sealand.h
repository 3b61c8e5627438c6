#pragma once

// The land as routing asks it (SeaLand), answered by the land check's index.

#include "geo/landindex.h"
#include "geo/searoute.h"

namespace gyrena {

class IndexSeaLand : public SeaLand
{
public:
    // `land` must outlive this.
    explicit IndexSeaLand(const LandIndex& land);

    double clearanceNm(LatLon from, LatLon to, double capNm) const override;
    // A crossing is what the land check calls one (geo/landcheck.h): land within kApproachNm of
    // a place along its leg is its approach; the clearance is asked beyond the approaches.
    bool legClears(LatLon from, LatLon to, double clearanceNm, bool fromIsPlace,
                   bool toIsPlace) const override;

private:
    const LandIndex& m_land;
};

} // namespace gyrena

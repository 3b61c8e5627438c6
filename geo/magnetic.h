#pragma once

// The Earth's magnetic field from a spherical-harmonic model such as the World Magnetic Model:
// the variation (declination) a compass shows, summed by GeographicLib as its MagneticModel
// does, from coefficients the program carries (io/earth/magneticmodel.h reads them).

#include "geo/latlon.h"

#include <GeographicLib/SphericalHarmonic1.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gyrena {

// One model: the main field at its epoch and its secular variation, Schmidt semi-normalised
// Gauss coefficients in GeographicLib's column-major order (m = 0..degree, for each n =
// m..degree; the sine terms from m = 1), nT and nT per year.
struct MagneticCoefficients
{
    std::string name;  // "World Magnetic Model 2025"
    int degree = 0;    // N = M, 1..kMaximumMagneticDegree
    double radius = 0; // the reference radius, metres
    double epoch = 0;  // decimal year of the main field
    // The years the model holds for: from firstYear up to, not including, lastYear.
    double firstYear = 0;
    double lastYear = 0;
    std::vector<double> c, s, cRate, sRate;
};

inline constexpr int kMaximumMagneticDegree = 30;

// The number of cosine and of sine coefficients of a model of `degree`.
std::size_t cosineCoefficientCount(int degree);
std::size_t sineCoefficientCount(int degree);

class MagneticModel
{
public:
    // `coefficients` must hold the counts above for its degree (readMagneticModel checks).
    explicit MagneticModel(MagneticCoefficients coefficients);

    // The variation at `position` (on the WGS84 ellipsoid, `height` metres above it) in the
    // decimal year `year`: degrees east of true north, -180..180 (east positive). Nothing outside
    // the model's years, at a geographic pole (where north has no direction) or where the field
    // has no horizontal part.
    std::optional<double> variation(LatLon position, double year, double height = 0.0) const;

    const MagneticCoefficients& coefficients() const { return m_coefficients; }
    bool holdsFor(double year) const;

private:
    MagneticCoefficients m_coefficients;
    GeographicLib::SphericalHarmonic1 m_harmonic;
};

// The decimal year of a UTC minute (geo/utctime.h): 2026-07-02T12:00Z is 2026.5, each year
// divided into its own number of days, as the World Magnetic Model counts.
double decimalYear(std::int64_t utcMinute);

} // namespace gyrena

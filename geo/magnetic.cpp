#include "geo/magnetic.h"

#include <GeographicLib/Geocentric.hpp>

#include <chrono>
#include <cmath>
#include <numbers>
#include <utility>

namespace gyrena {

std::size_t cosineCoefficientCount(int degree)
{
    const auto n = static_cast<std::size_t>(degree);
    return (n + 1) * (n + 2) / 2;
}

std::size_t sineCoefficientCount(int degree)
{
    return cosineCoefficientCount(degree) - static_cast<std::size_t>(degree) - 1;
}

MagneticModel::MagneticModel(MagneticCoefficients coefficients)
    : m_coefficients(std::move(coefficients)),
      m_harmonic(m_coefficients.c, m_coefficients.s, m_coefficients.degree, m_coefficients.cRate,
                 m_coefficients.sRate, m_coefficients.degree, m_coefficients.radius,
                 GeographicLib::SphericalHarmonic1::SCHMIDT)
{
}

bool MagneticModel::holdsFor(double year) const
{
    return year >= m_coefficients.firstYear && year < m_coefficients.lastYear;
}

std::optional<double> MagneticModel::variation(LatLon position, double year, double height) const
{
    if (!holdsFor(year) || !(std::abs(position.latitude) < 90.0) ||
        !std::isfinite(position.longitude) || !std::isfinite(height))
        return std::nullopt;
    // As GeographicLib's MagneticModel: the potential's gradient at the geocentric point, the
    // secular variation scaled by the years from the epoch, then turned into east, north, up.
    double x = 0, y = 0, z = 0;
    std::vector<double> rotation(9); // the 3 x 3 rotation from east, north, up to X, Y, Z
    GeographicLib::Geocentric::WGS84().Forward(position.latitude, position.longitude, height, x, y,
                                               z, rotation);
    double gx = 0, gy = 0, gz = 0;
    m_harmonic(year - m_coefficients.epoch, x, y, z, gx, gy, gz);
    // The field is minus the gradient times the radius; its direction alone matters here.
    const double east = -(rotation[0] * gx + rotation[3] * gy + rotation[6] * gz);
    const double north = -(rotation[1] * gx + rotation[4] * gy + rotation[7] * gz);
    if (std::hypot(east, north) == 0.0 || !std::isfinite(east) || !std::isfinite(north))
        return std::nullopt;
    return std::atan2(east, north) * 180.0 / std::numbers::pi;
}

double decimalYear(std::int64_t utcMinute)
{
    using namespace std::chrono;
    const sys_days day{days{utcMinute >= 0 ? utcMinute / 1440 : -((-utcMinute + 1439) / 1440)}};
    const year y = year_month_day{day}.year();
    const sys_days first{y / January / 1};
    const sys_days next{(y + years{1}) / January / 1};
    const double minutesIn = double((next - first).count()) * 1440.0;
    const double minutesSince = double(utcMinute - first.time_since_epoch().count() * 1440);
    return double(int(y)) + minutesSince / minutesIn;
}

} // namespace gyrena

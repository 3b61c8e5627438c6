#pragma once

// The magnetic model as GeographicLib stores one (assets/magnetic/wmm2025.wmm and .wmm.cof,
// written by tools/make-magnetic-model.py): a text of "Key value" lines and a binary file of
// coefficients. Read bounded and whole-or-nothing.

#include "geo/magnetic.h"
#include "io/earth/dataerror.h"

#include <string_view>
#include <variant>

namespace gyrena {

inline constexpr std::size_t kMaxMagneticMetadataBytes = 16 * 1024;
inline constexpr std::size_t kMaxMagneticCoefficientBytes = 1024 * 1024;

// A model of one epoch and its secular variation (NumModels 1, no constant terms, Schmidt
// normalised, little-endian, degree up to kMaximumMagneticDegree, N = M). The metadata must give
// Radius, Epoch, MinTime, MaxTime and an 8-character ID that the coefficients begin with; the
// error's offset counts in the metadata for a problem there, else in the coefficients.
std::variant<MagneticCoefficients, EarthDataError> readMagneticModel(std::string_view metadata,
                                                                     std::string_view coefficients);

} // namespace gyrena

#include "io/earth/magneticmodel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <string>

namespace gyrena {

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::optional<double> number(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double littleDouble(std::string_view bytes, std::size_t at)
{
    const std::uint64_t bits =
        std::uint64_t(littleU32(bytes, at)) | std::uint64_t(littleU32(bytes, at + 4)) << 32;
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

std::variant<MagneticCoefficients, EarthDataError> readMagneticModel(std::string_view metadata,
                                                                     std::string_view coefficients)
{
    if (metadata.size() > kMaxMagneticMetadataBytes)
        return EarthDataError{"the model's description is larger than 16 KB", 0};
    if (!metadata.starts_with("WMMF-"))
        return EarthDataError{"not a GeographicLib magnetic model (no WMMF- header)", 0};
    std::map<std::string, std::string, std::less<>> keys;
    std::size_t at = 0;
    while (at < metadata.size()) {
        const std::size_t lineEnd = std::min(metadata.find('\n', at), metadata.size());
        const std::string_view line = trimmed(metadata.substr(at, lineEnd - at));
        if (!line.empty() && line.front() != '#') {
            const std::size_t gap = line.find_first_of(" \t");
            if (gap != std::string_view::npos)
                keys[std::string(line.substr(0, gap))] = std::string(trimmed(line.substr(gap)));
        }
        at = lineEnd + 1;
    }
    const auto value = [&](std::string_view key) -> std::string_view {
        const auto found = keys.find(key);
        return found == keys.end() ? std::string_view() : std::string_view(found->second);
    };
    const auto radius = number(value("Radius"));
    const auto epoch = number(value("Epoch"));
    const auto first = number(value("MinTime"));
    const auto last = number(value("MaxTime"));
    if (!radius || !epoch || !first || !last || !(*radius > 0) || !(*first < *last))
        return EarthDataError{"the model's radius, epoch or years are missing or wrong", 0};
    if (value("NumModels") != "1" ||
        !(value("NumConstants").empty() || value("NumConstants") == "0"))
        return EarthDataError{"not a model of one epoch with its secular variation", 0};
    if (!(value("Normalization").empty() || value("Normalization") == "schmidt") ||
        !(value("ByteOrder").empty() || value("ByteOrder") == "little"))
        return EarthDataError{"not Schmidt-normalised little-endian coefficients", 0};
    const std::string_view id = value("ID");
    if (id.size() != 8)
        return EarthDataError{"the model's ID is not 8 characters", 0};

    if (coefficients.size() > kMaxMagneticCoefficientBytes)
        return EarthDataError{"the coefficients are larger than 1 MB", 0};
    if (coefficients.size() < 16 || coefficients.substr(0, 8) != id)
        return EarthDataError{"the coefficients do not begin with the model's ID", 0};
    MagneticCoefficients model;
    model.name = value("Description").empty() ? std::string(value("Name"))
                                              : std::string(value("Description"));
    model.radius = *radius;
    model.epoch = *epoch;
    model.firstYear = *first;
    model.lastYear = *last;
    std::size_t offset = 8;
    for (std::vector<double>* c : {&model.c, &model.cRate}) {
        if (coefficients.size() < offset + 8)
            return EarthDataError{"the coefficients end early", offset};
        const auto n = static_cast<std::int32_t>(littleU32(coefficients, offset));
        const auto m = static_cast<std::int32_t>(littleU32(coefficients, offset + 4));
        if (n < 1 || n > kMaximumMagneticDegree || m != n || (model.degree && n != model.degree))
            return EarthDataError{"a degree outside 1..30, or unequal degrees", offset};
        model.degree = n;
        offset += 8;
        std::vector<double>* s = c == &model.c ? &model.s : &model.sRate;
        const std::size_t counts[] = {cosineCoefficientCount(n), sineCoefficientCount(n)};
        if (coefficients.size() < offset + 8 * (counts[0] + counts[1]))
            return EarthDataError{"the coefficients end early", offset};
        for (int kind = 0; kind < 2; ++kind) {
            std::vector<double>& out = kind == 0 ? *c : *s;
            out.resize(counts[kind]);
            for (double& coefficient : out) {
                coefficient = littleDouble(coefficients, offset);
                if (!std::isfinite(coefficient) || std::abs(coefficient) > 1e6)
                    return EarthDataError{"a coefficient that is not a number of the field",
                                          offset};
                offset += 8;
            }
        }
    }
    if (offset != coefficients.size())
        return EarthDataError{"bytes after the coefficients", offset};
    return model;
}

} // namespace gyrena

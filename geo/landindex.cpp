#include "geo/landindex.h"

#include "geo/landengine.h"

#include <dlfcn.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <variant>

// Where the module lies: beside the installed program (relative to its folder), else in the
// build tree. The build passes both.
#ifndef GYRENA_LAND_MODULE_RELATIVE
#error "GYRENA_LAND_MODULE_RELATIVE must name gyrena-s2land.so relative to the program's folder"
#endif
#ifndef GYRENA_LAND_MODULE_BUILD
#error "GYRENA_LAND_MODULE_BUILD must name gyrena-s2land.so in the build tree"
#endif

namespace gyrena {

namespace {

std::string programFolder()
{
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || std::size_t(length) >= path.size())
        return {};
    path.resize(std::size_t(length));
    return path.substr(0, path.rfind('/'));
}

// Loads the module once per process; the entry point, or why it could not be had.
const std::variant<MakeLandEngine, std::string>& landEngineEntry()
{
    static const std::variant<MakeLandEngine, std::string> entry =
        []() -> std::variant<MakeLandEngine, std::string> {
        std::string why;
        for (const std::string& path : {programFolder() + "/" + GYRENA_LAND_MODULE_RELATIVE,
                                        std::string(GYRENA_LAND_MODULE_BUILD)}) {
            if (access(path.c_str(), R_OK) != 0)
                continue;
            // Kept for the life of the process: engines made by it may live until its end.
            void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (!module) {
                why = dlerror();
                continue;
            }
            if (void* make = dlsym(module, kLandEngineEntry))
                return reinterpret_cast<MakeLandEngine>(make);
            why = path + " has no " + kLandEngineEntry;
        }
        return why.empty() ? "gyrena-s2land.so is not installed" : why;
    }();
    return entry;
}

} // namespace

struct LandIndex::Impl
{
    std::unique_ptr<LandEngine> engine;
    std::vector<WaterCorridor> corridors; // names and sources only
};

LandIndex::LandIndex(const LandMap& map) : m(std::make_unique<Impl>())
{
    const auto& entry = landEngineEntry();
    if (const auto* why = std::get_if<std::string>(&entry))
        throw std::runtime_error("the land check's library cannot be loaded: " + *why);
    m->engine.reset(std::get<MakeLandEngine>(entry)(map));
    if (!m->engine)
        throw std::runtime_error("the land check's library made no index");
    for (const WaterCorridor& corridor : map.corridors)
        if (corridor.ring.size() >= 3)
            m->corridors.push_back({corridor.name, corridor.source, {}});
}

LandIndex::~LandIndex() = default;
LandIndex::LandIndex(LandIndex&&) noexcept = default;
LandIndex& LandIndex::operator=(LandIndex&&) noexcept = default;

bool LandIndex::isLand(LatLon point) const
{
    return m->engine->isLand(point);
}

std::vector<LandStretch> LandIndex::stretchesAlong(std::span<const LatLon> points) const
{
    return m->engine->stretchesAlong(points);
}

double LandIndex::clearanceNm(LatLon a, LatLon b, double capNm) const
{
    return m->engine->clearanceNm(a, b, capNm);
}

std::size_t LandIndex::polygonCount() const
{
    return m->engine->polygonCount();
}

std::size_t LandIndex::corridorCount() const
{
    return m->corridors.size();
}

const WaterCorridor& LandIndex::corridor(std::size_t i) const
{
    return m->corridors.at(i);
}

} // namespace gyrena

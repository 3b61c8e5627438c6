#include "io/earth/landasset.h"

#include "io/files/incbin.h"

#include <atomic>
#include <exception>

// The asset's bytes (io/files/incbin.h). The build names the file and passes its hash, so
// that a changed asset changes this unit for every compiler cache.
#ifndef GYRENA_LAND_ASSET
#error "GYRENA_LAND_ASSET must name assets/land/land-10m.bin"
#endif

GYRENA_INCBIN(gyrena_land, GYRENA_LAND_ASSET);
static const char* const kAssetHash = GYRENA_LAND_SHA256;

namespace gyrena {

namespace {

std::atomic<bool> s_read{false};

} // namespace

std::string_view builtInLandBytes()
{
    (void)kAssetHash;
    return std::string_view(gyrena_land_begin, std::size_t(gyrena_land_end - gyrena_land_begin));
}

const std::variant<LandIndex, LandAssetError>& builtInLand()
{
    s_read = true;
    static const std::variant<LandIndex, LandAssetError> land =
        []() -> std::variant<LandIndex, LandAssetError> {
        auto map = readLandAsset(builtInLandBytes());
        if (auto* failed = std::get_if<LandAssetError>(&map))
            return *failed;
        try {
            return LandIndex(std::get<LandMap>(map));
        } catch (const std::exception& e) {
            return LandAssetError{e.what(), 0};
        }
    }();
    return land;
}

bool builtInLandRead()
{
    return s_read;
}

} // namespace gyrena

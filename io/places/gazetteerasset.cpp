#include "io/places/gazetteerasset.h"

#include "io/files/incbin.h"

#include <atomic>
#include <string>

// The asset's bytes (io/files/incbin.h). The build names the file and passes its hash, so
// that a changed asset changes this unit for every compiler cache.
#ifndef GYRENA_GAZETTEER_ASSET
#error "GYRENA_GAZETTEER_ASSET must name assets/places/gazetteer.bin"
#endif

GYRENA_INCBIN(gyrena_gazetteer, GYRENA_GAZETTEER_ASSET);
static const char* const kAssetHash = GYRENA_GAZETTEER_SHA256;

namespace gyrena {

namespace {

std::atomic<bool> s_read{false};

} // namespace

std::string_view builtInGazetteerBytes()
{
    (void)kAssetHash;
    return std::string_view(gyrena_gazetteer_begin,
                            std::size_t(gyrena_gazetteer_end - gyrena_gazetteer_begin));
}

const std::variant<Gazetteer, GazetteerError>& builtInGazetteer()
{
    s_read = true;
    static const std::variant<Gazetteer, GazetteerError> gazetteer =
        readGazetteer(std::string(builtInGazetteerBytes()));
    return gazetteer;
}

bool builtInGazetteerRead()
{
    return s_read;
}

} // namespace gyrena

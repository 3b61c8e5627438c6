#include "io/places/gazetteerasset.h"

#include <atomic>
#include <string>

// The asset's bytes, placed in the read-only data by the assembler: a program that never
// searches never touches its pages. The build names the file and passes its hash, so that a
// changed asset changes this unit for every compiler cache.
#ifndef GYRENA_GAZETTEER_ASSET
#error "GYRENA_GAZETTEER_ASSET must name assets/places/gazetteer.bin"
#endif

extern "C" const char gyrena_gazetteer_begin[];
extern "C" const char gyrena_gazetteer_end[];
__asm__(".pushsection .rodata\n"
        ".balign 16\n"
        ".globl gyrena_gazetteer_begin\n"
        "gyrena_gazetteer_begin:\n"
        ".incbin \"" GYRENA_GAZETTEER_ASSET "\"\n"
        ".globl gyrena_gazetteer_end\n"
        "gyrena_gazetteer_end:\n"
        ".byte 0\n"
        ".popsection\n");
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

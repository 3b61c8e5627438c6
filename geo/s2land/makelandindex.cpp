// Run by the build: encodes S2's index of the built-in land (the asset read as the program reads
// it), for the land module to open at once instead of indexing 400,000 edges on first use.
//
//   gyrena-make-land-index LAND_ASSET OUT_INDEX OUT_HEADER
//
// OUT_HEADER defines the encoding's FNV-1a hash: the module that assembles the index in
// includes it, so a compiler cache sees a changed index.

#include "geo/s2land/s2landshapes.h"
#include "io/earth/landasset.h"

#include <s2/util/coding/coder.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s LAND_ASSET OUT_INDEX OUT_HEADER\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto read = gyrena::readLandAsset(bytes);
    if (const auto* failed = std::get_if<gyrena::LandAssetError>(&read)) {
        std::fprintf(stderr, "%s: byte %zu: %s\n", argv[1], failed->offset, failed->what.c_str());
        return 1;
    }
    const gyrena::s2land::FlatRings flat(std::get<gyrena::LandMap>(read).polygons);
    MutableS2ShapeIndex index(gyrena::s2land::indexOptions());
    gyrena::s2land::indexLand(index, flat);

    gyrena::s2land::EncodedLandHeader header;
    header.digest = flat.digest();
    header.polygons = flat.polygonCount();
    Encoder encoder;
    index.Encode(&encoder);
    std::string out(sizeof header, '\0');
    std::memcpy(out.data(), &header, sizeof header);
    out.append(encoder.base(), encoder.length());

    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : out)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    std::ofstream index_file(argv[2], std::ios::binary | std::ios::trunc);
    index_file.write(out.data(), std::streamsize(out.size()));
    std::ofstream header_file(argv[3], std::ios::trunc);
    header_file << "#define GYRENA_LAND_INDEX_HASH \"" << std::hex << hash << "\"\n";
    if (!index_file.flush() || !header_file.flush()) {
        std::fprintf(stderr, "cannot write %s or %s\n", argv[2], argv[3]);
        return 1;
    }
    return 0;
}

// The gazetteer reader and the search on any bytes: the reader never crashes and reads nothing
// beyond its input; an asset it accepts keeps its promises (positions on the globe, names in
// the order of their keys), and a search on it answers within its limit with places it holds.
#include "io/places/placesearch.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_gazetteer: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto read = gyrena::readGazetteer(bytes);
    if (const auto* error = std::get_if<gyrena::GazetteerError>(&read)) {
        check(!error->what.empty(), "an error without a message");
        check(error->offset <= size, "an error beyond the input");
        return 0;
    }
    const auto& places = std::get<gyrena::Gazetteer>(read);
    for (std::size_t p = 0; p < places.placeCount(); ++p) {
        const gyrena::LatLon at = places.position(p);
        check(at.latitude >= -90 && at.latitude <= 90 && at.longitude >= -180 &&
                  at.longitude <= 180,
              "a place off the globe");
        check(!places.key(p).empty(), "a place without a key");
        check(p == 0 || places.key(p - 1) <= places.key(p), "places out of order");
        const std::string_view code = places.unlocode(p);
        check(code.empty() == (places.kind(p) != gyrena::PlaceKind::Port),
              "a port without its code, or a code on another place");
        check(code.empty() || code.substr(0, 2) == places.countryCode(p),
              "a port's code of another country");
        (void)places.countryName(p);
        (void)places.region(p);
        (void)gyrena::placeLocationTexts(places, p);
    }
    // The input's own text as queries: its first bytes, with and without a qualifier.
    const std::string query = bytes.substr(0, 12);
    for (const std::string& text : {query, query + ", " + query.substr(0, 2)}) {
        const auto matches = gyrena::findPlaces(places, text, 5);
        check(matches.size() <= 5, "more answers than asked for");
        for (const gyrena::PlaceMatch& match : matches)
            check(match.place < places.placeCount(), "an answer that is no place");
    }
    return 0;
}

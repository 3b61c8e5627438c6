#include "io/earth/earth.h"

#include "io/files/incbin.h"
#include "io/files/regularfile.h"

#include <date/tz.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>

// The build names the assets and passes their hashes, so that a changed asset changes this unit
// for every compiler cache.
#if !defined(GYRENA_WMM_METADATA) || !defined(GYRENA_WMM_COEFFICIENTS) || !defined(GYRENA_TZ_MAP)
#error "the build must name the magnetic model and the time-zone map"
#endif

GYRENA_INCBIN(gyrena_wmm_metadata, GYRENA_WMM_METADATA);
GYRENA_INCBIN(gyrena_wmm_coefficients, GYRENA_WMM_COEFFICIENTS);
GYRENA_INCBIN(gyrena_tz_map, GYRENA_TZ_MAP);
static const char* const kAssetHashes = GYRENA_EARTH_SHA256;

namespace gyrena {

namespace {

std::atomic<bool> s_read{false};

std::string_view span(const char* begin, const char* end)
{
    return std::string_view(begin, std::size_t(end - begin));
}

class ProgramEarth final : public AlmanacEarth
{
public:
    const MagneticModel* magneticModel() const override { return builtInMagneticModel(); }

    std::optional<std::string> legalZone(LatLon position) const override
    {
        const TimeZoneMap* map = builtInTimeZoneMap();
        if (!map)
            return std::nullopt;
        const std::string_view zone = map->zoneAt(position);
        if (!isLegalZone(zone))
            return std::nullopt;
        return std::string(zone);
    }

    std::optional<int> utcOffset(const std::string& zone, std::int64_t utcMinute) const override
    {
        return systemUtcOffset(zone, utcMinute);
    }
};

// Where the date library finds the system's tzdata (Debian builds it to read this folder).
constexpr const char* kZoneFolder = "/usr/share/zoneinfo";

// A zone as the date library knows it, with the rule its file gives for the time after its last
// transition (the library keeps the last offset for ever: Berlin would keep winter time after
// 2037).
struct SystemZone
{
    const date::time_zone* zone = nullptr;
    std::optional<PosixZoneRule> rule;
};

SystemZone readSystemZone(const std::string& name)
{
    SystemZone zone;
    if (!isZoneFileName(name))
        return zone;
    try {
        zone.zone = date::locate_zone(name);
    } catch (const std::exception&) {
        return zone; // not a zone of the system's data
    }
    auto file = RegularFile::open(std::string(kZoneFolder) + "/" + name);
    if (auto* open = std::get_if<RegularFile>(&file)) {
        auto bytes = open->readAtMost(kMaxZoneFileBytes + 1);
        if (const auto* read = std::get_if<std::string>(&bytes))
            zone.rule = readZoneFileRule(*read);
    }
    return zone;
}

} // namespace

std::string_view builtInMagneticMetadata()
{
    (void)kAssetHashes;
    return span(gyrena_wmm_metadata_begin, gyrena_wmm_metadata_end);
}

std::string_view builtInMagneticCoefficients()
{
    return span(gyrena_wmm_coefficients_begin, gyrena_wmm_coefficients_end);
}

std::string_view builtInTimeZoneBytes()
{
    return span(gyrena_tz_map_begin, gyrena_tz_map_end);
}

const MagneticModel* builtInMagneticModel()
{
    s_read = true;
    static const std::unique_ptr<const MagneticModel> model = [] {
        auto coefficients =
            readMagneticModel(builtInMagneticMetadata(), builtInMagneticCoefficients());
        if (!std::holds_alternative<MagneticCoefficients>(coefficients))
            return std::unique_ptr<const MagneticModel>();
        return std::make_unique<const MagneticModel>(
            std::get<MagneticCoefficients>(std::move(coefficients)));
    }();
    return model.get();
}

const TimeZoneMap* builtInTimeZoneMap()
{
    s_read = true;
    static const std::unique_ptr<const TimeZoneMap> map = [] {
        auto read = readTimeZoneMap(builtInTimeZoneBytes());
        if (!std::holds_alternative<TimeZoneMap>(read))
            return std::unique_ptr<const TimeZoneMap>();
        return std::make_unique<const TimeZoneMap>(std::get<TimeZoneMap>(std::move(read)));
    }();
    return map.get();
}

bool builtInEarthDataRead()
{
    return s_read;
}

std::optional<int> systemUtcOffset(const std::string& zone, std::int64_t utcMinute)
{
    static std::mutex mutex;
    static std::map<std::string, SystemZone, std::less<>> zones;
    std::lock_guard lock(mutex);
    auto found = zones.find(zone);
    if (found == zones.end()) {
        if (zones.size() >= 1024) // bounded: far more zones than exist
            zones.clear();
        found = zones.emplace(zone, readSystemZone(zone)).first;
    }
    const SystemZone& known = found->second;
    if (!known.zone)
        return std::nullopt;
    const date::sys_seconds moment{std::chrono::seconds{utcMinute * 60}};
    int seconds = 0;
    try {
        const date::sys_info info = known.zone->get_info(moment);
        seconds = static_cast<int>(info.offset.count());
        // The library marks the last offset as lasting to its last year (or for ever).
        const bool last = info.end >= date::sys_days{date::year::max() / date::January / 1};
        if (last && known.rule)
            seconds = known.rule->offsetAt(utcMinute * 60);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    // Offsets of whole minutes only: the few historical ones with seconds are rounded down.
    return seconds >= 0 ? seconds / 60 : -((-seconds + 59) / 60);
}

const AlmanacEarth& programEarth()
{
    static const ProgramEarth earth;
    return earth;
}

} // namespace gyrena

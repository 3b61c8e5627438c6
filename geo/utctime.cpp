#include "geo/utctime.h"

#include <algorithm>
#include <charconv>
#include <chrono>

namespace gyrena {

namespace {

using namespace std::chrono;

// The number of `digits` digits at text[at], or -1.
int digitsAt(std::string_view text, std::size_t at, std::size_t digits)
{
    if (text.size() < at + digits)
        return -1;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + at + digits, value);
    if (error != std::errc() || end != text.data() + at + digits)
        return -1;
    return value;
}

void appendPadded(std::string& out, std::int64_t value, int width)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    const auto length = static_cast<int>(result.ptr - digits);
    out.append(static_cast<std::size_t>(std::max(0, width - length)), '0');
    out.append(digits, result.ptr);
}

} // namespace

std::optional<std::int64_t> parseUtcMinute(std::string_view text)
{
    // YYYY-MM-DDTHH:MM then [:SS] then Z or +00:00.
    if (text.size() < 17 || text[4] != '-' || text[7] != '-' || text[13] != ':')
        return std::nullopt;
    if (text[10] != 'T' && text[10] != 't' && text[10] != ' ')
        return std::nullopt;
    const int y = digitsAt(text, 0, 4), mo = digitsAt(text, 5, 2), d = digitsAt(text, 8, 2);
    const int h = digitsAt(text, 11, 2), mi = digitsAt(text, 14, 2);
    std::string_view rest = text.substr(16);
    if (rest.size() >= 3 && rest[0] == ':') {
        const int s = digitsAt(rest, 1, 2);
        if (s < 0 || s > 59)
            return std::nullopt;
        rest.remove_prefix(3);
    }
    if (rest != "Z" && rest != "z" && rest != "+00:00")
        return std::nullopt;
    if (y < 1 || mo < 1 || d < 1 || h < 0 || h > 23 || mi < 0 || mi > 59)
        return std::nullopt;
    const year_month_day date{year{y}, month{static_cast<unsigned>(mo)},
                              day{static_cast<unsigned>(d)}};
    if (!date.ok())
        return std::nullopt;
    const auto dayMinutes = duration_cast<minutes>(sys_days{date}.time_since_epoch()).count();
    return dayMinutes + h * 60 + mi;
}

std::string utcMinuteText(std::int64_t minute)
{
    minute = std::clamp(minute, kFirstUtcMinute, kLastUtcMinute);
    const sys_time<minutes> time{minutes{minute}};
    const sys_days dayStart = floor<days>(time);
    const year_month_day date{dayStart};
    const auto inDay = (time - dayStart).count();
    std::string out;
    out.reserve(17);
    appendPadded(out, static_cast<int>(date.year()), 4);
    out += '-';
    appendPadded(out, static_cast<unsigned>(date.month()), 2);
    out += '-';
    appendPadded(out, static_cast<unsigned>(date.day()), 2);
    out += 'T';
    appendPadded(out, inDay / 60, 2);
    out += ':';
    appendPadded(out, inDay % 60, 2);
    out += 'Z';
    return out;
}

std::string durationText(std::int64_t minutes)
{
    minutes = std::max<std::int64_t>(minutes, 0);
    const std::int64_t days = minutes / 1440, hours = minutes / 60 % 24, rest = minutes % 60;
    std::string out;
    if (days > 0) {
        appendPadded(out, days, 1);
        out += " d ";
    }
    if (days > 0 || hours > 0) {
        appendPadded(out, hours, days > 0 ? 2 : 1);
        out += " h ";
    }
    appendPadded(out, rest, days > 0 || hours > 0 ? 2 : 1);
    out += " min";
    return out;
}

} // namespace gyrena

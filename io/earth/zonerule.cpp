#include "io/earth/zonerule.h"

#include <algorithm>
#include <chrono>

namespace gyrena {

namespace {

using namespace std::chrono;

constexpr std::int64_t kSecondsPerDay = 86400;

// "[+-]hh[:mm[:ss]]" at text[at], hours up to `maxHours`; advances `at`.
std::optional<int> clock(std::string_view text, std::size_t& at, int maxHours)
{
    int sign = 1;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        sign = text[at++] == '-' ? -1 : 1;
    int parts[3] = {0, 0, 0};
    for (int part = 0; part < 3; ++part) {
        if (part > 0) {
            if (at >= text.size() || text[at] != ':')
                break;
            ++at;
        }
        int digits = 0, value = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 3) {
            value = value * 10 + (text[at++] - '0');
            ++digits;
        }
        if (digits == 0 || (part > 0 && value > 59))
            return std::nullopt;
        parts[part] = value;
    }
    if (parts[0] > maxHours)
        return std::nullopt;
    return sign * (parts[0] * 3600 + parts[1] * 60 + parts[2]);
}

bool name(std::string_view text, std::size_t& at)
{
    const std::size_t from = at;
    if (at < text.size() && text[at] == '<') {
        const std::size_t close = text.find('>', at);
        if (close == std::string_view::npos || close - at < 4)
            return false;
        at = close + 1;
        return true;
    }
    while (at < text.size() &&
           ((text[at] >= 'A' && text[at] <= 'Z') || (text[at] >= 'a' && text[at] <= 'z')))
        ++at;
    return at - from >= 3;
}

std::optional<int> number(std::string_view text, std::size_t& at, int low, int high)
{
    int value = 0, digits = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 4) {
        value = value * 10 + (text[at++] - '0');
        ++digits;
    }
    if (digits == 0 || value < low || value > high)
        return std::nullopt;
    return value;
}

bool moment(std::string_view text, std::size_t& at, PosixZoneRule::Moment& out)
{
    if (at >= text.size())
        return false;
    if (text[at] == 'M') {
        ++at;
        out.kind = 'M';
        const auto month = number(text, at, 1, 12);
        if (!month || at >= text.size() || text[at++] != '.')
            return false;
        const auto week = number(text, at, 1, 5);
        if (!week || at >= text.size() || text[at++] != '.')
            return false;
        const auto weekday = number(text, at, 0, 6);
        if (!weekday)
            return false;
        out.month = *month, out.week = *week, out.weekday = *weekday;
    } else {
        out.kind = text[at] == 'J' ? 'J' : 'N';
        if (out.kind == 'J')
            ++at;
        const auto day = number(text, at, out.kind == 'J' ? 1 : 0, 365);
        if (!day)
            return false;
        out.day = *day;
    }
    out.seconds = 7200;
    if (at < text.size() && text[at] == '/') {
        ++at;
        const auto seconds = clock(text, at, 167);
        if (!seconds)
            return false;
        out.seconds = *seconds;
    }
    return true;
}

// The local midnight (as seconds since 1970 of a clock reading local time) that begins the day
// of `moment` in `year`.
std::int64_t localDayStart(const PosixZoneRule::Moment& moment, int year)
{
    const year_month_day first{std::chrono::year{year} / January / 1};
    sys_days day{first};
    if (moment.kind == 'M') {
        const std::chrono::year_month_weekday wanted =
            std::chrono::year{year} / month{unsigned(moment.month)} /
            weekday{unsigned(moment.weekday)}[unsigned(std::min(moment.week, 4))];
        day = sys_days{wanted};
        if (moment.week == 5) {
            const sys_days later = day + weeks{1};
            if (year_month_day{later}.month() == month{unsigned(moment.month)})
                day = later;
        }
    } else if (moment.kind == 'J') {
        // Day 1..365, 29 February never counted: day 60 is 1 March in every year.
        day = sys_days{first} + days{moment.day - 1};
        if (first.year().is_leap() && moment.day >= 60)
            day += days{1};
    } else {
        day = sys_days{first} + days{moment.day};
    }
    return std::int64_t(day.time_since_epoch().count()) * kSecondsPerDay;
}

} // namespace

std::optional<PosixZoneRule> readPosixZoneRule(std::string_view text)
{
    PosixZoneRule rule;
    std::size_t at = 0;
    if (!name(text, at))
        return std::nullopt;
    const auto standard = clock(text, at, 24);
    if (!standard)
        return std::nullopt;
    rule.standardOffset = -*standard; // POSIX counts west positive
    if (at == text.size())
        return rule;
    if (!name(text, at))
        return std::nullopt;
    rule.hasDaylight = true;
    rule.daylightOffset = rule.standardOffset + 3600;
    if (at < text.size() && text[at] != ',') {
        const auto daylight = clock(text, at, 24);
        if (!daylight)
            return std::nullopt;
        rule.daylightOffset = -*daylight;
    }
    if (at >= text.size() || text[at++] != ',' || !moment(text, at, rule.start) ||
        at >= text.size() || text[at++] != ',' || !moment(text, at, rule.end) || at != text.size())
        return std::nullopt;
    return rule;
}

int PosixZoneRule::offsetAt(std::int64_t utcSeconds) const
{
    if (!hasDaylight)
        return standardOffset;
    // The year of the moment in standard time; the daylight period of that year in UTC.
    const std::int64_t local = utcSeconds + standardOffset;
    const auto dayNumber =
        local >= 0 ? local / kSecondsPerDay : -((-local + kSecondsPerDay - 1) / kSecondsPerDay);
    const int year = int(year_month_day{sys_days{days{dayNumber}}}.year());
    for (int y = year - 1; y <= year + 1; ++y) {
        const std::int64_t begins = localDayStart(start, y) + start.seconds - standardOffset;
        const std::int64_t ends = localDayStart(end, y) + end.seconds - daylightOffset;
        if (begins < ends ? (utcSeconds >= begins && utcSeconds < ends)
                          : (y == year && (utcSeconds >= begins || utcSeconds < ends)))
            return daylightOffset;
    }
    return standardOffset;
}

std::optional<PosixZoneRule> readZoneFileRule(std::string_view bytes)
{
    if (bytes.size() > kMaxZoneFileBytes || bytes.size() < 46 || bytes.substr(0, 4) != "TZif" ||
        bytes[4] < '2' || bytes.back() != '\n')
        return std::nullopt;
    const std::size_t start = bytes.rfind('\n', bytes.size() - 2);
    if (start == std::string_view::npos || start < 44)
        return std::nullopt;
    return readPosixZoneRule(bytes.substr(start + 1, bytes.size() - 2 - start));
}

bool isZoneFileName(std::string_view zone)
{
    if (zone.empty() || zone.size() > 64 || zone.front() == '/' || zone.back() == '/')
        return false;
    char previous = '/';
    for (const char c : zone) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                        (c >= '0' && c <= '9') || c == '_' || c == '+' || c == '-' || c == '/';
        if (!ok || (c == '/' && previous == '/'))
            return false;
        previous = c;
    }
    return true;
}

} // namespace gyrena

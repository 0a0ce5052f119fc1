#include "planning/instant.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tarvex::planning {
namespace {

// "YYYY-MM-DDThh:mm:ss" of the clock that reads `seconds` since 1970-01-01T00:00:00.
std::string CivilTime(std::int64_t seconds) {
    using namespace std::chrono;
    const sys_seconds instant{std::chrono::seconds(seconds)};
    const sys_days day = floor<days>(instant);
    const year_month_day date(day);
    const hh_mm_ss time(instant - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

}  // namespace

std::string IsoUtc(std::int64_t unix_seconds) {
    return CivilTime(unix_seconds) + 'Z';
}

std::string IsoLocal(std::int64_t unix_seconds, int utc_offset_seconds) {
    const int magnitude = std::abs(utc_offset_seconds);
    char offset[16];
    std::snprintf(offset, sizeof offset, "%c%02d:%02d", utc_offset_seconds < 0 ? '-' : '+',
                  magnitude / 3600, magnitude % 3600 / 60);
    std::string text = CivilTime(unix_seconds + utc_offset_seconds) + offset;
    if (magnitude % 60 != 0) {
        std::snprintf(offset, sizeof offset, ":%02d", magnitude % 60);
        text += offset;
    }
    return text;
}

std::optional<int> LocalUtcOffset(std::int64_t unix_seconds) {
    ::tzset();
    const char* zone = std::getenv("TZ");
    if (zone == nullptr ? ::access("/etc/localtime", F_OK) != 0 : *zone == '\0') {
        return std::nullopt;
    }
    // Where TZ names no zone file and is no rule, the C library takes UTC under the name it could
    // read and leaves the daylight-saving name empty; a zone or a rule always sets both.
    if (zone != nullptr && (::tzname[1] == nullptr || ::tzname[1][0] == '\0')) {
        return std::nullopt;
    }
    const std::time_t instant = static_cast<std::time_t>(unix_seconds);
    std::tm local{};
    if (::localtime_r(&instant, &local) == nullptr) {
        return std::nullopt;
    }
    return static_cast<int>(local.tm_gmtoff);
}

}  // namespace tarvex::planning

#include "planning/plan_sun.h"

#include <chrono>
#include <cmath>

namespace tarvex::planning {
namespace {

// The calendar date of an instant on a clock `offset` seconds east of UTC.
Date DateAt(double unix_seconds, int offset) {
    using namespace std::chrono;
    const auto instant = sys_seconds(seconds(std::llround(std::floor(unix_seconds)) + offset));
    const year_month_day date(floor<days>(instant));
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

}  // namespace

std::vector<std::optional<SunTime>> SunTimes(const PlanInput& input, const Plan& plan,
                                             const SunClock& clock) {
    const double now = clock.now_unix_seconds;
    const auto offset_at = [&clock](std::int64_t instant) {
        return clock.utc_offset != nullptr ? clock.utc_offset(instant) : std::nullopt;
    };
    const std::optional<int> now_offset = offset_at(std::llround(std::floor(now)));
    const bool today = DateAt(now, now_offset.value_or(0)) == plan.date;
    std::vector<std::optional<SunTime>> times;
    for (const FeedPlan& feed : plan.feeds) {
        const double lat = input.site_latitude_deg;
        const double lon = input.site_longitude_deg;
        const std::optional<SunAtAzimuth> at =
            today ? NextSunAtAzimuth(lat, lon, plan.date, feed.azimuth_deg, now)
                  : SunAtAzimuthOn(lat, lon, plan.date, feed.azimuth_deg);
        if (!at) {
            times.emplace_back();
            continue;
        }
        const std::int64_t instant = std::llround(at->unix_seconds);
        times.push_back(SunTime{instant, at->elevation_deg, at->day, offset_at(instant)});
    }
    return times;
}

}  // namespace tarvex::planning

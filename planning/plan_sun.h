#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "planning/plan.h"
#include "planning/sun.h"

// The sun as a compass for a plan: when the sun stands at each satellite's true azimuth, told by
// the front end's clock and time zone. MakePlan stays free of the clock; this takes it as given.

namespace tarvex::planning {

// The clock and the time zone the sun's times are told by: the machine's (TZ) in the CLI, the
// device's in the window and on the page.
struct SunClock {
    double now_unix_seconds = 0;
    // The zone's offset from UTC at an instant, in seconds east; none when no zone is known.
    std::optional<int> (*utc_offset)(std::int64_t unix_seconds) = nullptr;
};

// One satellite's moment, to the second, with the zone's offset then.
struct SunTime {
    std::int64_t unix_seconds = 0;  // rounded to the nearest second
    double elevation_deg = 0;
    Date day;                               // the day searched in which it happens
    std::optional<int> utc_offset_seconds;  // none when no zone is known
};

// For each feed of the plan, in order: the first moment of the plan's date (SunAtAzimuthOn) when
// the sun, above the horizon, stands at its satellite's true azimuth, or none. Where the plan's
// date is today on the clock's calendar (its zone's, else UTC's), the next moment still to come
// instead (NextSunAtAzimuth): the next day's when today's has passed, none when neither day has one.
//   Tiberias example (35.4615 E, 32.808333 N, 13 and 19.2, 2026-12-07), clock at 2026-12-09 ->
//     feed 1 1796644608 (2026-12-07T11:56:48Z), elevation 24.37
//   the same, clock at 2026-12-07T12:00Z in UTC+2 -> feed 1 2026-12-08T11:57:33Z (day 2026-12-08)
//   London, 51.5 N, a satellite due north -> none
std::vector<std::optional<SunTime>> SunTimes(const PlanInput& input, const Plan& plan,
                                             const SunClock& clock);

}  // namespace tarvex::planning

#pragma once

#include "planning/plan_facts.h"
#include "planning/plan_sun.h"

namespace tarvex::planning {

// Today as the user lives it: the local date of the machine's clock and time zone (TZ, else the
// system's), the date a plan takes when none is given, in the CLI, the window and the page alike.
// An installer working past midnight UTC in Vladivostok plans for the day on their calendar.
//   TZ=Asia/Vladivostok at 2026-12-07 20:00 UTC -> {2026, 12, 8}
Date LocalToday();

// The machine's clock and time zone (TZ, else the system's; LocalUtcOffset), by which the CLI and
// the window tell the sun's times.
SunClock MachineClock();

}  // namespace tarvex::planning

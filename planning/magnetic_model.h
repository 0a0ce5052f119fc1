#pragma once

#include <string_view>

#include "planning/plan.h"

// The World Magnetic Model 2025 at the Earth's surface: how far magnetic north lies from true
// north, for turning true azimuths into compass readings.

namespace tarvex::planning {

// The model is fitted to MagneticModelEpoch and replaced at MagneticModelEnd (plan_facts.h);
// outside that it is extrapolated.

// The year with the days before the date as its fraction: year + (day of year - 1) / days in
// that year. The date must be real (IsRealDate).
//   {2025, 1, 1} -> 2025.0;  {2026, 12, 7} -> 2026 + 340 / 365;  {2028, 12, 31} -> 2028 + 365 / 366
double DecimalYear(const Date& date);

// True where the model holds: MagneticModelEpoch <= decimal_year < MagneticModelEnd.
//   2025.0 -> true;  2029.997 -> true;  2030.0 -> false;  2024.999 -> false
bool InMagneticModelValidity(double decimal_year);

// Declination in degrees, east positive, at height 0 on the WGS84 ellipsoid. Latitude and
// longitude in degrees, north and east positive; latitude within [-90, 90], everything finite.
// Beyond the model's years its secular variation is extrapolated linearly.
//   (32.808333, 35.4615, 2026.9315) -> 5.10 (Tiberias);  (51.5, -0.1, 2025.0) -> 0.92 (London)
double MagneticDeclination(double latitude_deg, double longitude_deg, double decimal_year);

// The model's coefficients in their usual text form (WMM2025.COF, compiled in).
std::string_view Wmm2025Coefficients();

}  // namespace tarvex::planning

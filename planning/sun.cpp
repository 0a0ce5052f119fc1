#include "planning/sun.h"

#include <array>
#include <chrono>
#include <cmath>
#include <numbers>

#include "planning/plan.h"

namespace tarvex::planning {
namespace {

constexpr double SecondsPerDay = 86400;
constexpr double UnixEpochJulianDay = 2440587.5;
constexpr double J2000JulianDay = 2451545.0;
constexpr double DaysPerCentury = 36525;
// TT - UT in the 2020s. A minute off moves the sun by 0.001 degrees at most.
constexpr double DeltaTSeconds = 69;
// The sun's equatorial horizontal parallax, 8.794": it lowers the sun by that times cos(elevation).
constexpr double SunParallaxDeg = 8.794 / 3600;
// The day is sampled this often for the sun crossing an azimuth's vertical plane. Two crossings
// closer than this are the sun turning back just past the azimuth (by about 0.001 degrees where
// it turns back in the tropics' mornings), below the method's accuracy: taken as no crossing.
constexpr double SampleSeconds = 300;
// Each crossing is then narrowed down to this.
constexpr double ConvergedSeconds = 1e-3;

double SinDeg(double degrees) {
    return std::sin(degrees / DegreesPerRadian);
}

double CosDeg(double degrees) {
    return std::cos(degrees / DegreesPerRadian);
}

double JulianDay(double unix_seconds) {
    return UnixEpochJulianDay + unix_seconds / SecondsPerDay;
}

// Meeus (22.2): the mean obliquity of the ecliptic.
double MeanObliquityDeg(double centuries) {
    const double t = centuries;
    return 23 + 26.0 / 60 + (21.448 - t * (46.8150 + t * (0.00059 - t * 0.001813))) / 3600;
}

// Meeus ch. 25: the longitude of the moon's ascending node, for the nutation.
double NodeDeg(double centuries) {
    return 125.04 - 1934.136 * centuries;
}

// Meeus (12.4) plus the equation of the equinoxes (ch. 12, with ch. 22's shortened nutation in
// longitude): the apparent sidereal time at Greenwich for a Julian Day in UT.
double ApparentSiderealTimeDeg(double julian_day) {
    const double days = julian_day - J2000JulianDay;
    const double t = days / DaysPerCentury;
    const double mean =
        280.46061837 + 360.98564736629 * days + t * t * (0.000387933 - t / 38710000);
    const double node = NodeDeg(t);
    const double sun_mean_longitude = 280.4665 + 36000.7698 * t;
    const double moon_mean_longitude = 218.3165 + 481267.8813 * t;
    const double nutation_arcsec = -17.20 * SinDeg(node) - 1.32 * SinDeg(2 * sun_mean_longitude) -
                                   0.23 * SinDeg(2 * moon_mean_longitude) + 0.21 * SinDeg(2 * node);
    const double obliquity = MeanObliquityDeg(t) + 0.00256 * CosDeg(node);
    return mean + nutation_arcsec / 3600 * CosDeg(obliquity);
}

// The sun's direction in the site's east-north-up frame, from its hour angle.
std::array<double, 3> SunEastNorthUp(double latitude_deg, double hour_angle_deg,
                                     double declination_deg) {
    const double sin_lat = SinDeg(latitude_deg), cos_lat = CosDeg(latitude_deg);
    const double sin_dec = SinDeg(declination_deg), cos_dec = CosDeg(declination_deg);
    const double cos_hour = CosDeg(hour_angle_deg);
    return {-cos_dec * SinDeg(hour_angle_deg), cos_lat * sin_dec - sin_lat * cos_dec * cos_hour,
            sin_lat * sin_dec + cos_lat * cos_dec * cos_hour};
}

// The sun's local hour angle and declination at a site and an instant.
struct HourAngle {
    double hour_angle_deg;
    double declination_deg;
};

HourAngle SunHourAngle(double longitude_deg, double unix_seconds) {
    const double julian_day = JulianDay(unix_seconds);
    const SunEquatorial sun = SunApparentEquatorial(julian_day + DeltaTSeconds / SecondsPerDay);
    return {ApparentSiderealTimeDeg(julian_day) + longitude_deg - sun.right_ascension_deg,
            sun.declination_deg};
}

// How far the sun stands across the vertical plane of an azimuth, as the sine of its angle from
// the plane: smooth through the zenith and free of the 0/360 wrap. Zero where the sun is at the
// azimuth or at its opposite; the sign tells the sides apart.
double AcrossPlane(double latitude_deg, double longitude_deg, double azimuth_deg,
                   double unix_seconds) {
    const HourAngle sun = SunHourAngle(longitude_deg, unix_seconds);
    const auto [east, north, up] =
        SunEastNorthUp(latitude_deg, sun.hour_angle_deg, sun.declination_deg);
    return east * CosDeg(azimuth_deg) - north * SinDeg(azimuth_deg);
}

// The moment within [before, after] at which `across` changes sign, by halving.
template <typename Across>
double Crossing(const Across& across, double before, double after) {
    const bool before_negative = across(before) < 0;
    while (after - before > ConvergedSeconds) {
        const double middle = (before + after) / 2;
        if ((across(middle) < 0) == before_negative) {
            before = middle;
        } else {
            after = middle;
        }
    }
    return (before + after) / 2;
}

Date NextDay(const Date& date) {
    using namespace std::chrono;
    const year_month_day next{sys_days{year(date.year) / month(static_cast<unsigned>(date.month)) /
                                       day(static_cast<unsigned>(date.day))} +
                              days(1)};
    return {static_cast<int>(next.year()), static_cast<int>(static_cast<unsigned>(next.month())),
            static_cast<int>(static_cast<unsigned>(next.day()))};
}

}  // namespace

SunEquatorial SunApparentEquatorial(double julian_ephemeris_day) {
    const double t = (julian_ephemeris_day - J2000JulianDay) / DaysPerCentury;
    // Meeus (25.2) to (25.4): the geometric mean longitude, the mean anomaly, the equation of the
    // centre.
    const double mean_longitude = 280.46646 + t * (36000.76983 + t * 0.0003032);
    const double anomaly = 357.52911 + t * (35999.05029 - t * 0.0001537);
    const double centre = (1.914602 - t * (0.004817 + t * 0.000014)) * SinDeg(anomaly) +
                          (0.019993 - t * 0.000101) * SinDeg(2 * anomaly) +
                          0.000289 * SinDeg(3 * anomaly);
    // The apparent longitude, for the nutation and the aberration, and the obliquity with it
    // (25.8).
    const double node = NodeDeg(t);
    const double longitude = mean_longitude + centre - 0.00569 - 0.00478 * SinDeg(node);
    const double obliquity = MeanObliquityDeg(t) + 0.00256 * CosDeg(node);
    // (25.6) and (25.7).
    const double right_ascension =
        std::atan2(CosDeg(obliquity) * SinDeg(longitude), CosDeg(longitude)) * DegreesPerRadian;
    const double declination = std::asin(SinDeg(obliquity) * SinDeg(longitude)) * DegreesPerRadian;
    return {FoldTurn(right_ascension), declination};
}

SunDirection SunDirectionAt(double latitude_deg, double longitude_deg, double unix_seconds) {
    const HourAngle sun = SunHourAngle(longitude_deg, unix_seconds);
    const auto [east, north, up] =
        SunEastNorthUp(latitude_deg, sun.hour_angle_deg, sun.declination_deg);
    const double across = std::hypot(east, north);
    const double geocentric_elevation = std::atan2(up, across) * DegreesPerRadian;
    return {FoldTurn(std::atan2(east, north) * DegreesPerRadian),
            geocentric_elevation - SunParallaxDeg * CosDeg(geocentric_elevation)};
}

double SunDayStart(const Date& date, double longitude_deg) {
    using namespace std::chrono;
    const sys_days midnight = year(date.year) / month(static_cast<unsigned>(date.month)) /
                              day(static_cast<unsigned>(date.day));
    const double utc_midnight =
        static_cast<double>(sys_seconds(midnight).time_since_epoch().count());
    return utc_midnight - std::remainder(longitude_deg, 360.0) / 15 * 3600;
}

std::optional<SunAtAzimuth> SunAtAzimuthOn(double latitude_deg, double longitude_deg,
                                           const Date& date, double azimuth_deg) {
    const double start = SunDayStart(date, longitude_deg);
    const auto across = [&](double moment) {
        return AcrossPlane(latitude_deg, longitude_deg, azimuth_deg, moment);
    };
    double before = start;
    double across_before = across(before);
    const int samples = static_cast<int>(SecondsPerDay / SampleSeconds);
    for (int sample = 1; sample <= samples; ++sample) {
        const double after = start + sample * SampleSeconds;
        const double across_after = across(after);
        if (across_before == 0 || (across_before < 0) != (across_after < 0)) {
            const double moment = across_before == 0 ? before : Crossing(across, before, after);
            const SunDirection sun = SunDirectionAt(latitude_deg, longitude_deg, moment);
            // The plane's other half is the opposite azimuth.
            const double off_azimuth =
                std::abs(std::remainder(sun.azimuth_deg - azimuth_deg, 360.0));
            if (moment < start + SecondsPerDay && sun.elevation_deg > 0 && off_azimuth < 90) {
                return SunAtAzimuth{date, moment, sun.elevation_deg};
            }
        }
        before = after;
        across_before = across_after;
    }
    return std::nullopt;
}

std::optional<SunAtAzimuth> NextSunAtAzimuth(double latitude_deg, double longitude_deg,
                                             const Date& date, double azimuth_deg,
                                             double now_unix_seconds) {
    for (const Date& day : {date, NextDay(date)}) {
        const std::optional<SunAtAzimuth> sun =
            SunAtAzimuthOn(latitude_deg, longitude_deg, day, azimuth_deg);
        if (sun && sun->unix_seconds >= now_unix_seconds) {
            return sun;
        }
    }
    return std::nullopt;
}

}  // namespace tarvex::planning

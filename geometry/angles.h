#pragma once

#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

// Angles as typed (degrees plus minutes), in radians for the calculation and in degrees for the
// results, with the precision each value of the calculation is held in.

namespace tarvex {

// The calculation's pi: the double nearest to pi (the 4 * arctan(1) of old, bit for bit).
inline constexpr double PI = std::numbers::pi;

// Texts of three inputs, NumberToText of the held values; the rotation angle is computed from
// these texts read back, not from the numbers.
struct AngleTexts {
    std::string site_longitude;        // of the single:  " .6189199"
    std::string site_latitude;         // of the double:  " .572613438758473"
    std::string satellite2_longitude;  // of the single:  " .3351032"
};

// Degrees text and minutes text to radians: (PI * (degrees * 60 + minutes)) / 10800, both texts
// read by ParseLeadingNumber; the minutes do not take the sign of the degrees.
//   ("35", "27.69") -> 0.6189199326959691;  ("13", "") -> 0.22689280275926282;
//   ("-4", "30") -> -3.5 degrees in radians;  ("35", "27,69") reads 27 minutes
// Throws RuntimeError "Overflow" for absurd texts such as ("1e308", "").
double AngleFromDegMin(std::string_view degrees, std::string_view minutes);

// (x * 180) / PI.  PI -> 180
double RadToDeg(double radians);

// Degrees in single precision, rounded three times: s = single(x); p = single(s * 180);
// single(p / PI).  Used for the results of satellite 2.
float RadToDegSingle(double radians);

// arctan(numerator / denominator), taking the limit where the denominator is zero of either
// sign: +90 degrees (in radians) for a positive numerator, -90 for a negative one, 0 for 0 / 0.
// A site on the equator is an ordinary site, not a fault.
double AtanOfQuotient(double numerator, double denominator);

}  // namespace tarvex

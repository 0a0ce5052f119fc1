#pragma once

// Azimuth and elevation of a geostationary satellite seen from a site.

namespace tarvex {

// Stands where the usual elevation formula has Earth radius / geostationary orbit radius.
inline constexpr double ORBIT_RATIO = 0.1509;

enum class Precision {
    Double,  // satellite 1: RadToDeg
    Single,  // satellite 2: RadToDegSingle, the results are exact singles
};

// Look angles of one satellite. Azimuth and elevation are computed on request, azimuth first,
// so that a caller can show the azimuth before the elevation is attempted.
//
// Longitudes east positive, latitude north positive, all in radians; results in degrees.
// Northern sites: azimuth = arctan(tan(d) / sin(lat)) + PI with d = site - satellite longitude,
// strictly between 90 and 270 degrees. Southern sites (latitude below 0), where the satellite
// stands in the northern sky: arctan(tan(d) / sin(lat)), plus 2 PI when negative, so in
// [0, 90) or (270, 360). On the equator the quotient is taken at its limit (AtanOfQuotient):
// 270 for a satellite west of the site, 90 east of it, 180 on its meridian.
//   default site (35 27.69', 32 48.5'), satellite at 13 E, Double:
//     Azimuth() -> 217.34429165277...,  Elevation() -> 44.81684712129...
//   same site, satellite at 19 12' E, Single:
//     Azimuth() -> 208.29554748535156,  Elevation() -> 47.99484634399414
// Throws RuntimeError on arithmetic faults (absurd inputs).
class LookAngles {
  public:
    LookAngles(float site_longitude, double site_latitude, float satellite_longitude,
               Precision precision);

    double Azimuth() const;

    // arctan((cos d cos lat - ORBIT_RATIO) / sqrt(cos²d sin²lat + sin²d)). The denominator is
    // exactly 0 only on the equator with the satellite on the site's meridian or opposite it:
    // the quotient is taken at its limit, +90 (the satellite at the zenith) or -90 (below the
    // horizon, at the nadir) by the numerator's sign.
    //   equator, satellite on the site's meridian -> 90;  180 degrees away from it -> -90
    double Elevation() const;

  private:
    double ToDegrees(double radians) const;

    double m_difference;  // site - satellite longitude, exact in double
    double m_latitude;
    Precision m_precision;
};

}  // namespace tarvex

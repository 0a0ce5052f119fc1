#include "geometry/look_angles.h"

#include "conversions/checked_math.h"
#include "geometry/angles.h"

namespace tarvex {

LookAngles::LookAngles(float site_longitude, double site_latitude, float satellite_longitude,
                       Precision precision)
    : m_difference(Sub(site_longitude, satellite_longitude)),
      m_latitude(site_latitude),
      m_precision(precision) {}

double LookAngles::ToDegrees(double radians) const {
    return m_precision == Precision::Double ? RadToDeg(radians) : RadToDegSingle(radians);
}

double LookAngles::Azimuth() const {
    const double angle = AtanOfQuotient(Tan(m_difference), Sin(m_latitude));
    if (m_latitude < 0.0) {
        return ToDegrees(angle < 0.0 ? Add(angle, Mul(2.0, PI)) : angle);
    }
    return ToDegrees(Add(angle, PI));
}

double LookAngles::Elevation() const {
    const double cos_d = Cos(m_difference);
    const double numerator = Sub(Mul(cos_d, Cos(m_latitude)), ORBIT_RATIO);
    const double denominator =
        Sqrt(Add(Mul(Square(cos_d), Square(Sin(m_latitude))), Square(Sin(m_difference))));
    if (denominator == 0.0) {
        return numerator > 0.0 ? 90.0 : -90.0;
    }
    return ToDegrees(Atan(Div(numerator, denominator)));
}

}  // namespace tarvex

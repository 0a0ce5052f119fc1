#include "geometry/angles.h"

#include "conversions/checked_math.h"
#include "conversions/number_text.h"

namespace tarvex {

double AngleFromDegMin(std::string_view degrees, std::string_view minutes) {
    const double total = Add(Mul(ParseLeadingNumber(degrees), 60.0), ParseLeadingNumber(minutes));
    return Div(Mul(PI, total), 10800.0);
}

double RadToDeg(double radians) {
    return Div(Mul(radians, 180.0), PI);
}

float RadToDegSingle(double radians) {
    const float single = AsSingle(radians);
    const float scaled = AsSingle(Mul(single, 180.0f));
    return AsSingle(Div(scaled, PI));
}

double AtanOfQuotient(double numerator, double denominator) {
    if (denominator != 0.0) {
        return Atan(Div(numerator, denominator));
    }
    CheckFinite(numerator);
    if (numerator == 0.0) {
        return 0.0;
    }
    const double right_angle = Div(PI, 2.0);
    return numerator > 0.0 ? right_angle : -right_angle;
}

}  // namespace tarvex

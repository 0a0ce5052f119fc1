#include "geometry/feed_offsets.h"

#include "conversions/checked_math.h"
#include "conversions/mixed_value.h"
#include "conversions/number_text.h"

namespace tarvex {
namespace {

const char* RotationSignOf(double site_longitude, double satellite_longitude) {
    const char* sign = "";
    if (site_longitude < satellite_longitude && satellite_longitude < Add(site_longitude, PI)) {
        sign = SignMinus;
    }
    if (site_longitude > satellite_longitude || satellite_longitude > Add(site_longitude, PI)) {
        sign = SignPlus;
    }
    // More than half a turn west by the numbers is less than half a turn east across the
    // 180 meridian.
    if (satellite_longitude < Sub(site_longitude, PI)) {
        sign = SignMinus;
    }
    return sign;
}

std::string Mirrored(const std::string& sign) {
    if (sign == SignPlus) {
        return SignMinus;
    }
    return sign == SignMinus ? SignPlus : sign;
}

FeedOffset OffsetFromShift(double shift_radians, double focal_length, const char* word_if_negative,
                           const char* word_otherwise) {
    FeedOffset offset;
    offset.shift = FormatNumber(shift_radians, ShiftPattern);
    const double shift = AsDouble(offset.shift);
    const bool negative = shift < 0.0;
    offset.word = negative ? word_if_negative : word_otherwise;
    offset.distance = Mul(focal_length, Sin(negative ? Mul(-1.0, shift) : shift));
    // + 0.0: a shift that reads back as -0 is no offset, not a negative one.
    offset.signed_distance = (negative ? -offset.distance : offset.distance) + 0.0;
    return offset;
}

double DegreesToRadians(double degrees) {
    return Div(Mul(degrees, PI), 180.0);
}

// Brings an azimuth difference into (-180, 180].
double WrappedDifference(double difference) {
    if (difference > 180.0) {
        return Sub(difference, 360.0);
    }
    if (difference <= -180.0) {
        return Add(difference, 360.0);
    }
    return difference;
}

}  // namespace

FeedRotationResult FeedRotation(const AngleTexts& texts) {
    const double site_longitude = ParseLeadingNumber(texts.site_longitude);
    const double latitude = ParseLeadingNumber(texts.site_latitude);
    const double satellite_longitude = ParseLeadingNumber(texts.satellite2_longitude);

    const double radians =
        AtanOfQuotient(Sin(Sub(site_longitude, satellite_longitude)), Tan(latitude));
    const double degrees = Div(Mul(radians, 180.0), PI);

    FeedRotationResult result;
    result.rotation_angle = degrees < 0.0 ? -degrees : degrees;
    result.rotation_sign = RotationSignOf(site_longitude, satellite_longitude);
    if (HemisphereOf(latitude) == Hemisphere::Southern) {
        result.rotation_sign = Mirrored(result.rotation_sign);
    }
    return result;
}

Hemisphere HemisphereOf(double latitude) {
    return latitude < 0.0 ? Hemisphere::Southern : Hemisphere::Northern;
}

FeedOffsetsResult FeedOffsets(double alfa1, double beta1, float alfa2, float beta2,
                              double focal_length, Hemisphere hemisphere) {
    double azimuth_difference = Sub(alfa1, alfa2);
    if (hemisphere == Hemisphere::Southern) {
        azimuth_difference = WrappedDifference(azimuth_difference);
    }
    FeedOffsetsResult result;
    result.vertical =
        OffsetFromShift(DegreesToRadians(Sub(beta1, beta2)), focal_length, "НИЖЕ", "ВЫШЕ");
    result.horizontal =
        OffsetFromShift(DegreesToRadians(azimuth_difference), focal_length, "СЛЕВА", "СПРАВА");
    return result;
}

}  // namespace tarvex

#include "geometry/look_angles.h"

#include <gtest/gtest.h>

#include <cmath>

#include "conversions/number_text.h"
#include "conversions/runtime_error.h"
#include "geometry/angles.h"

namespace tarvex {
namespace {

float Longitude(const char* degrees, const char* minutes) {
    return AsSingle(AngleFromDegMin(degrees, minutes));
}

// The example site: 35 27.69' E, 32 48.5' N.
const float kSiteLongitude = Longitude("35", "27.69");
const double kSiteLatitude = AngleFromDegMin("32", "48.5");

TEST(LookAngles, Satellite1InDoublePrecision) {
    const LookAngles look(kSiteLongitude, kSiteLatitude, Longitude("13", ""), Precision::Double);
    EXPECT_EQ(NumberToText(look.Azimuth()), " 217.344291652777");
    EXPECT_EQ(NumberToText(look.Elevation()), " 44.8168471212995");
}

TEST(LookAngles, Satellite2InSinglePrecision) {
    const LookAngles look(kSiteLongitude, kSiteLatitude, Longitude("19", "12"), Precision::Single);
    EXPECT_EQ(look.Azimuth(), 208.29554748535156);
    EXPECT_EQ(NumberToText(static_cast<float>(look.Azimuth())), " 208.2955");
    EXPECT_EQ(look.Elevation(), 47.99484634399414);
    EXPECT_EQ(NumberToText(static_cast<float>(look.Elevation())), " 47.99485");
}

TEST(LookAngles, EquatorTakesTheLimitInsteadOfFaulting) {
    for (const char* latitude : {"0", "-0", ""}) {
        SCOPED_TRACE(latitude);
        const double equator = AngleFromDegMin(latitude, "");
        const auto azimuth = [&](const char* satellite) {
            return LookAngles(Longitude("35", ""), equator, Longitude(satellite, ""),
                              Precision::Double)
                .Azimuth();
        };
        EXPECT_EQ(azimuth("13"), 270.0);  // west of the site
        EXPECT_EQ(azimuth("60"), 90.0);   // east of it
        EXPECT_EQ(azimuth("35"), 180.0);  // overhead: 0 / 0
        const LookAngles overhead(Longitude("35", ""), equator, Longitude("35", ""),
                                  Precision::Double);
        EXPECT_EQ(overhead.Elevation(), 90.0);  // the zenith: denominator exactly 0
    }
}

TEST(LookAngles, SouthernSitePointsNorth) {
    // Sydney, both satellites at 138 E.
    const float site = Longitude("151", "12.558");
    const double latitude = AngleFromDegMin("-33", "-52.128");
    const LookAngles look(site, latitude, Longitude("138", ""), Precision::Double);
    EXPECT_EQ(NumberToText(look.Azimuth()), " 337.16028455995");
    EXPECT_EQ(NumberToText(look.Elevation()), " 48.1573932683387");

    const LookAngles east(site, latitude, Longitude("160", ""), Precision::Single);
    EXPECT_GT(east.Azimuth(), 0.0);
    EXPECT_LT(east.Azimuth(), 90.0);
    EXPECT_EQ(east.Azimuth(), static_cast<double>(static_cast<float>(east.Azimuth())));
    EXPECT_EQ(LookAngles(site, latitude, site, Precision::Double).Azimuth(), 0.0);
}

TEST(LookAngles, AbsurdInputsAreRunTimeErrors) {
    // tan(-0.1) / sin(1e-310) is beyond the double range.
    EXPECT_THROW(LookAngles(0.5f, 1e-310, 0.6f, Precision::Double).Azimuth(), RuntimeError);
}

}  // namespace
}  // namespace tarvex

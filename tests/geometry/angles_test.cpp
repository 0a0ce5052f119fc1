#include "geometry/angles.h"

#include <gtest/gtest.h>

#include "conversions/number_text.h"
#include "conversions/runtime_error.h"

namespace tarvex {
namespace {

TEST(AngleFromDegMin, AddsMinutesAsTypedThenConvertsToRadians) {
    const struct {
        const char* degrees;
        const char* minutes;
        double radians;
    } cases[] = {{"35", "27.69", 0.6189199326959691},
                 {"32", "48.5", 0.5726134387584729},
                 {"13", "", 0.22689280275926282},
                 {"-4", "30", PI * -210.0 / 10800.0},  // minutes keep their own sign: -3.5 degrees
                 {"-4", "-30", PI * -270.0 / 10800.0},
                 {"35", "27,69", PI * 2127.0 / 10800.0},  // the comma ends the minutes
                 {"", "", 0.0},
                 {"abc", "x", 0.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.degrees) + " " + c.minutes);
        EXPECT_EQ(AngleFromDegMin(c.degrees, c.minutes), c.radians);
    }
}

TEST(AngleFromDegMin, HeldValuesAndTheirTexts) {
    const float site_longitude = AsSingle(AngleFromDegMin("35", "27.69"));
    EXPECT_EQ(static_cast<double>(site_longitude), 0.6189199090003967);
    EXPECT_EQ(NumberToText(site_longitude), " .6189199");
    EXPECT_EQ(NumberToText(AngleFromDegMin("32", "48.5")), " .572613438758473");
    EXPECT_EQ(static_cast<double>(AsSingle(AngleFromDegMin("13", ""))), 0.22689279913902283);
}

TEST(AngleFromDegMin, AbsurdTextsOverflow) {
    EXPECT_THROW(AngleFromDegMin("1e308", ""), RuntimeError);
    EXPECT_THROW(AngleFromDegMin("1", "1e999"), RuntimeError);
}

TEST(RadToDeg, MultipliesFirstThenDivides) {
    EXPECT_EQ(RadToDeg(PI), 180.0);
    EXPECT_EQ(RadToDeg(0.1), (0.1 * 180.0) / PI);
}

TEST(RadToDegSingle, RoundsToSingleThreeTimes) {
    // Rounding only once, at the end, gives a different single for this angle.
    const double radians = 0.12614537050036218;
    EXPECT_EQ(RadToDegSingle(radians), 7.22759771f);
    EXPECT_EQ(static_cast<float>(RadToDeg(radians)), 7.22759724f);
    EXPECT_EQ(RadToDegSingle(PI / 2), 90.0f);
}

TEST(AtanOfQuotient, TakesTheLimitWhereTheDenominatorIsZero) {
    EXPECT_EQ(AtanOfQuotient(1, 1), PI / 4);
    EXPECT_EQ(AtanOfQuotient(0.5, 0.0), PI / 2);
    EXPECT_EQ(AtanOfQuotient(-0.5, 0.0), -PI / 2);
    EXPECT_EQ(AtanOfQuotient(0.5, -0.0), PI / 2);  // a negative zero counts as +0
    EXPECT_EQ(AtanOfQuotient(0.0, 0.0), 0.0);
    EXPECT_EQ(AtanOfQuotient(-0.0, -0.0), 0.0);
}

}  // namespace
}  // namespace tarvex

#include "geometry/feed_offsets.h"

#include <gtest/gtest.h>

#include "conversions/number_text.h"
#include "conversions/runtime_error.h"
#include "geometry/look_angles.h"

namespace tarvex {
namespace {

AngleTexts TextsFor(const char* site_degrees, const char* site_minutes,
                    const char* latitude_degrees, const char* latitude_minutes,
                    const char* satellite_degrees, const char* satellite_minutes) {
    return AngleTexts{
        NumberToText(AsSingle(AngleFromDegMin(site_degrees, site_minutes))),
        NumberToText(AngleFromDegMin(latitude_degrees, latitude_minutes)),
        NumberToText(AsSingle(AngleFromDegMin(satellite_degrees, satellite_minutes)))};
}

TEST(FeedRotation, ExampleSiteSatelliteWestOfTheSite) {
    const AngleTexts texts = TextsFor("35", "27.69", "32", "48.5", "19", "12");
    EXPECT_EQ(texts.satellite2_longitude, " .3351032");
    const FeedRotationResult rotation = FeedRotation(texts);
    EXPECT_NEAR(rotation.rotation_angle, 23.4787, 5e-5);
    EXPECT_EQ(FormatNumber(rotation.rotation_angle, "##.#"), "23.5");
    EXPECT_EQ(rotation.rotation_sign, " +");
}

TEST(FeedRotation, ReadsTheTextsBackNotTheHeldNumbers) {
    // ' .6189199' reads back as 0.6189199, not as the single 0.6189199090003967.
    const AngleTexts texts{" .6189199", " .572613438758473", " .3351032"};
    const double expected = std::fabs(
        std::atan(std::sin(0.6189199 - 0.3351032) / std::tan(0.572613438758473)) * 180.0 / PI);
    EXPECT_EQ(FeedRotation(texts).rotation_angle, expected);
}

// At the equator the rotation takes its limit, 90 degrees, instead of faulting; on the site's
// meridian it is 0 without a sign (-1: not checked).
TEST(FeedRotation, SignFollowsWhereSatellite2Lies) {
    const struct {
        const char* site;
        const char* satellite;
        const char* latitude;
        const char* sign;
        double angle;
    } cases[] = {
        {"35", "13", "32", " +", -1},     // west of the site
        {"35", "60", "32", " -", -1},     // east of it
        {"35", "35", "32", "", 0},        // on its meridian
        {"170", "-170", "32", " -", -1},  // east across the 180 meridian
        {"-170", "170", "32", " +", -1},  // west across it
        {"35", "13", "-32", " -", -1},    // south of the equator the feed turns the other way
        {"35", "60", "-32", " +", -1},    {"35", "35", "-32", "", 0},
        {"170", "-170", "-32", " +", -1}, {"35", "13", "0", " +", 90},
        {"35", "60", "-0", " -", 90},     {"35", "35", "", "", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.site) + " " + c.satellite + " " + c.latitude);
        const FeedRotationResult rotation =
            FeedRotation(TextsFor(c.site, "", c.latitude, "", c.satellite, ""));
        EXPECT_EQ(rotation.rotation_sign, c.sign);
        EXPECT_TRUE(c.angle < 0 || rotation.rotation_angle == c.angle) << rotation.rotation_angle;
    }
}

TEST(FeedRotation, SouthernSiteExample) {
    const FeedRotationResult rotation =
        FeedRotation(TextsFor("151", "12.558", "-33", "-52.128", "138", ""));
    EXPECT_EQ(FormatNumber(rotation.rotation_angle, "##.#"), "18.8");
    EXPECT_EQ(rotation.rotation_sign, " -");
}

TEST(FeedOffsets, ExampleOffsetsAndWords) {
    const FeedOffsetsResult offsets =
        FeedOffsets(217.344291652777, 44.8168471212995, 208.29554748535156f, 47.99484634399414f,
                    600, Hemisphere::Northern);
    EXPECT_EQ(offsets.vertical.shift, "-0.05547");
    EXPECT_EQ(offsets.vertical.word, "НИЖЕ");
    EXPECT_EQ(offsets.vertical.distance, 600 * std::sin(0.05547));
    EXPECT_EQ(NumberToText(offsets.vertical.distance).substr(0, 8), " 33.2649");
    EXPECT_EQ(offsets.horizontal.shift, "0.15793");
    EXPECT_EQ(offsets.horizontal.word, "СПРАВА");
    EXPECT_EQ(offsets.horizontal.distance, 600 * std::sin(0.15793));
    EXPECT_EQ(NumberToText(offsets.horizontal.distance).substr(0, 8), " 94.3645");
    // Signed as the words say: below and to the right.
    EXPECT_EQ(offsets.vertical.signed_distance, -offsets.vertical.distance);
    EXPECT_EQ(offsets.horizontal.signed_distance, offsets.horizontal.distance);
    EXPECT_THROW(
        FeedOffsets(210, 40, 200.0f, 45.0f, ParseLeadingNumber("1e999"), Hemisphere::Northern),
        RuntimeError);
}

TEST(FeedOffsets, EqualSatellitesGiveZeroWithTheNonNegativeWords) {
    // A shift that renders as '-0.00000' reads back as zero.
    const FeedOffsetsResult offsets =
        FeedOffsets(200.0, 40.0, 200.0f, 40.00001f, 600, Hemisphere::Northern);
    EXPECT_EQ(offsets.vertical.shift, "-0.00000");
    EXPECT_EQ(offsets.vertical.word, "ВЫШЕ");
    EXPECT_EQ(offsets.vertical.distance, 0.0);
    EXPECT_FALSE(std::signbit(offsets.vertical.signed_distance));
    EXPECT_EQ(offsets.horizontal.shift, "0.00000");
    EXPECT_EQ(offsets.horizontal.word, "СПРАВА");
}

TEST(FeedOffsets, SouthernAzimuthDifferenceIsWrapped) {
    // 350 and 10 degrees are 20 degrees apart, not 340.
    const FeedOffsetsResult south = FeedOffsets(350, 40, 10.0f, 40.0f, 600, Hemisphere::Southern);
    EXPECT_EQ(south.horizontal.word, "СЛЕВА");
    EXPECT_EQ(south.horizontal.shift, FormatNumber(-20.0 * PI / 180.0, ShiftPattern));
    const FeedOffsetsResult north = FeedOffsets(250, 40, 110.0f, 40.0f, 600, Hemisphere::Northern);
    EXPECT_EQ(north.horizontal.shift, FormatNumber(140.0 * PI / 180.0, ShiftPattern));
    EXPECT_EQ(HemisphereOf(-0.0), Hemisphere::Northern);
    EXPECT_EQ(HemisphereOf(-1e-9), Hemisphere::Southern);
}

}  // namespace
}  // namespace tarvex

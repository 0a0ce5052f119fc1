// A batch line of `tarvex-calc plan --batch`. Whatever the bytes, the answer is one JSON object
// on one line: either only an error naming the line, or a complete plan whose every number is
// finite, with two to four feeds, feed 1 at the origin and every warning coded and worded.
//
// Input: the line's bytes.
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "fuzz/require.h"
#include "plan_io/plan_batch.h"

namespace {

using Json = nlohmann::json;

constexpr const char* FeedKeys[] = {
    "sat",           "azimuth_deg",           "magnetic_azimuth_deg",
    "elevation_deg", "separation_deg",        "right_mm",
    "up_mm",         "distance_mm",           "tilt_deg",
    "rotation_deg",  "relative_rotation_deg", "aim_deg"};

double FiniteNumber(const Json& object, const char* key) {
    FUZZ_REQUIRE(object.contains(key) && object[key].is_number());
    const double value = object[key].get<double>();
    FUZZ_REQUIRE(std::isfinite(value));
    return value;
}

void CheckFeed(const Json& feed, bool first) {
    FUZZ_REQUIRE(feed.is_object());
    for (const char* key : FeedKeys) {
        FiniteNumber(feed, key);
    }
    // With the optics a feed also has its axial shift, loss, beamwidth, beam and the formula's
    // place; without them none of these.
    if (feed.contains("loss_db")) {
        FUZZ_REQUIRE(feed.size() == std::size(FeedKeys) + 5);
        FUZZ_REQUIRE(FiniteNumber(feed, "loss_db") > -1e-6 || first);
        FiniteNumber(feed, "axial_mm");
        FUZZ_REQUIRE(feed.at("beam") == "clean" || feed.at("beam") == "degraded");
        FiniteNumber(feed.at("formula"), "distance_mm");
    } else {
        FUZZ_REQUIRE(feed.size() == std::size(FeedKeys));
    }
    const double azimuth = FiniteNumber(feed, "azimuth_deg");
    const double magnetic = FiniteNumber(feed, "magnetic_azimuth_deg");
    FUZZ_REQUIRE(azimuth >= 0 && azimuth < 360 && magnetic >= 0 && magnetic < 360);
    const double elevation = FiniteNumber(feed, "elevation_deg");
    FUZZ_REQUIRE(elevation > 0 && elevation <= 90);
    for (const char* key : {"rotation_deg", "relative_rotation_deg"}) {
        const double rotation = FiniteNumber(feed, key);
        FUZZ_REQUIRE(rotation > -90 && rotation <= 90);
    }
    FUZZ_REQUIRE(FiniteNumber(feed, "distance_mm") >= 0);
    const double aim = FiniteNumber(feed, "aim_deg");
    FUZZ_REQUIRE(aim >= 0 && aim <= 90);
    if (first) {
        for (const char* key : {"separation_deg", "right_mm", "up_mm", "distance_mm", "aim_deg"}) {
            FUZZ_REQUIRE(FiniteNumber(feed, key) == 0);
        }
    }
}

// Every figure of the dish finite, the aperture and f/D where known, the lengths > 0.
void CheckDish(const Json& dish) {
    FUZZ_REQUIRE(dish.is_object() && dish.size() == 9);
    const std::string type = dish.at("type").get<std::string>();
    FUZZ_REQUIRE(type == "prime" || type == "offset");
    for (const char* key : {"focal_mm", "effective_focal_mm"}) {
        FUZZ_REQUIRE(FiniteNumber(dish, key) > 0);
    }
    for (const char* key : {"aperture_mm", "f_over_d"}) {
        FUZZ_REQUIRE(dish.at(key).is_null() || FiniteNumber(dish, key) > 0);
    }
    const double alpha = FiniteNumber(dish, "offset_angle_deg");
    FUZZ_REQUIRE(alpha >= 0 && alpha < 90 && (type == "offset" || alpha == 0));
    FiniteNumber(dish, "face_tilt_deg");
    FiniteNumber(dish, "feed_axis_elevation_deg");
}

void CheckPlan(const Json& plan) {
    FUZZ_REQUIRE(plan.size() == 7 && plan.at("focus").is_array());
    CheckDish(plan.at("dish"));
    const double factor = FiniteNumber(plan, "beam_deviation_factor");
    FUZZ_REQUIRE(factor >= 0.36 && factor <= 1);
    FiniteNumber(plan, "declination_deg");
    const Json& feeds = plan.at("feeds");
    FUZZ_REQUIRE(feeds.is_array() && feeds.size() >= 2 && feeds.size() <= 4);
    for (std::size_t k = 0; k < feeds.size(); ++k) {
        CheckFeed(feeds[k], k == 0);
    }
    for (const Json& warning : plan.at("warnings")) {
        FUZZ_REQUIRE(warning.at("code").is_string() && warning.at("message").is_string());
        FUZZ_REQUIRE(!warning.contains("feed") ||
                     (warning["feed"].get<int>() >= 1 &&
                      warning["feed"].get<std::size_t>() <= feeds.size()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    tarvex::PlanBatchDefaults defaults;
    defaults.date = {2026, 12, 7};
    const auto [output, accepted] = tarvex::PlanBatchOutputLine(line, 7, defaults);
    FUZZ_REQUIRE(output.find('\n') == std::string::npos);
    const Json answer = Json::parse(output, nullptr, false);
    FUZZ_REQUIRE(answer.is_object());
    if (!accepted) {
        FUZZ_REQUIRE(answer.size() == 1 && answer.at("error").is_string());
        FUZZ_REQUIRE(answer["error"].get<std::string>().rfind("line 7: ", 0) == 0);
        return 0;
    }
    CheckPlan(answer);
    return 0;
}

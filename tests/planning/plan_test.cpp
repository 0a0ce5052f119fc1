#include "planning/plan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plan_text/plan_text.h"
#include "planning/magnetic_model.h"
#include "planning/typed_input.h"

namespace {

using tarvex::planning::Date;
using tarvex::planning::DishType;
using tarvex::planning::FeedPlan;
using tarvex::planning::Plan;
using tarvex::planning::PlanInput;
using tarvex::planning::PlanRefusal;

constexpr Date InModel{2026, 12, 7};
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
// Marks a figure the row does not pin: the azimuth of a satellite at the zenith is arbitrary.
constexpr double Any = NaN;

// The formula's plan: the optics have tests of their own below.
PlanInput Input(double lon, double lat, std::vector<double> sats, double focal,
                std::optional<double> diameter = std::nullopt, Date date = InModel) {
    PlanInput input{lon, lat, std::move(sats), focal, diameter, date, {}};
    input.optics = false;
    return input;
}

// A dish as typed: F, D, then the depth, W, H, the feed distance, r1, r2 ({}: not measured).
struct TypedDish {
    DishType type;
    std::array<std::optional<double>, 9> mm;  // in the order of DishMeasure
};

PlanInput OnDish(const TypedDish& dish, std::vector<double> sats = {13, 19.2}) {
    PlanInput input = Input(35.4615, 32.808333, std::move(sats), 0);
    const auto& mm = dish.mm;
    input.focal_length_mm = mm[0];
    input.diameter_mm = mm[1];
    input.dish = {dish.type, mm[2], mm[3], mm[4], mm[5], mm[6], mm[7], mm[8]};
    return input;
}

// The same, placed and judged by the optics.
PlanInput WithOptics(PlanInput input, double lnb_width_mm = 60) {
    input.optics = true;
    input.lnb_width_mm = lnb_width_mm;
    return input;
}

// Moscow, 36, 13 and 4.8 E on an offset dish W 900, H 990, depth 85.
PlanInput Moscow() {
    PlanInput input = Input(37.6173, 55.7558, {36, 13, 4.8}, 0);
    input.focal_length_mm.reset();
    input.dish.type = DishType::Offset;
    input.dish.depth_mm = 85;
    input.dish.width_mm = 900;
    input.dish.height_mm = 990;
    return WithOptics(input);
}

Plan PlanOf(const PlanInput& input) {
    auto result = tarvex::planning::MakePlan(input);
    if (const auto* refusal = std::get_if<PlanRefusal>(&result)) {
        ADD_FAILURE() << "refused: " << tarvex::RefusalText(*refusal);
        return {};
    }
    return std::get<Plan>(result);
}

void ExpectAngle(double expected, double actual, const char* what) {
    if (!std::isnan(expected)) {
        EXPECT_NEAR(std::remainder(actual - expected, 360.0), 0, 1e-9) << what;
    }
}

// The figures of tests/planning/reference_figures.py: WGS84 by its closed formulas and the
// vectors by hand in Python, apart from the program and GeographicLib.
// Per feed: azimuth, elevation, separation, right, up, distance, tilt, rotation, relative rotation.
TEST(MakePlan, MatchesIndependentFigures) {
    struct Row {
        const char* name;
        PlanInput input;
        double beam_deviation_factor;
        std::vector<std::array<double, 9>> feeds;
    };
    const std::array<double, 9> tiberias_13 = {
        217.369781328184, 44.823449989613, 0, 0, 0, 0, 0, 30.8174349880094, 0};
    const Row rows[] = {
        {"default example",
         Input(35.4615, 32.808333, {13, 19.2}, 600),
         1,
         {tiberias_13,
          {208.316774196859, 48.0048764760256, 6.99944386931968, 63.6401981142137,
           -37.1002913829466, 73.6648249622295, -30.2408790455744, 30.1698040663211,
           -0.647630921688378}}},
        {"default example, D 1000",
         Input(35.4615, 32.808333, {13, 19.2}, 600, 1000),
         0.9053254437869822,
         {tiberias_13,
          {208.316774196859, 48.0048764760256, 6.99944386931968, 70.3729869325701,
           -41.0253015869152, 81.4581650917146, -30.2408790455744, 30.1698040663211,
           -0.647630921688378}}},
        {"southern site, satellites in the northern sky",
         Input(151.2093, -33.8688, {156, 160}, 650),
         1,
         {{8.55949817450988, 50.3176016587781, 0, 0, 0, 0, 0, 7.13151476908479, 0},
          {15.5212641875804, 49.532662369764, 4.5483460866979, -51.2938402590592, 6.53150017168325,
           51.7080123676649, 172.743295398756, 7.56631223219472, 0.434797463109931}}},
        {"west of Greenwich",
         Input(-3.7038, 40.4168, {-30, -22}, 800, 900),
         0.9530859728506788,
         {{217.337394668877, 36.0418477591917, 0, 0, 0, 0, 0, 27.6765634717677, 0},
          {207.039734377377, 39.6261460247391, 8.88060694382297, 117.069015716311,
           -59.3621770896395, 131.259371130627, -26.8881954175704, 26.7084201949341,
           -0.968143276833604}}},
        {"four feeds",
         Input(37.6173, 55.7558, {36, 13, 19.2, 4.9}, 500, 600),
         0.9471559633027522,
         {{181.957335316709, 26.4768216765976, 0, 0, 0, 0, 0, 1.11144204972857, 0},
          {209.014383327997, 22.7793647547597, 24.8251955601752, -245.876031397135,
           11.4314527607424, 246.141627783327, 177.3380785472, 4.3564960429665, 3.24505399323793},
          {201.952598591428, 24.3784766129608, 18.1611567589351, -173.736212146461,
           6.76997249184407, 173.868064746061, 177.768486503371, 3.52983287835424,
           2.41839082862567},
          {217.87083812382, 20.1184841733442, 33.4805698788224, -354.089487339826, 20.0362946665435,
           354.655915146703, 176.761349170148, 5.34765652757778, 4.23621447784921}}},
        {"satellite 1 at the zenith: right is east",
         Input(40, 0, {40, 45}, 600),
         1,
         {{Any, 90, 0, 0, 0, 0, 0, 0, 0},
          {90, 84.1106563690703, 5.88934363092978, -61.8911856427216, 0, 61.8911856427216, 180, 0,
           0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Plan plan = PlanOf(row.input);
        EXPECT_NEAR(plan.beam_deviation_factor, row.beam_deviation_factor, 1e-15);
        ASSERT_EQ(plan.feeds.size(), row.feeds.size());
        for (std::size_t k = 0; k < row.feeds.size(); ++k) {
            SCOPED_TRACE("feed " + std::to_string(k + 1));
            const FeedPlan& feed = plan.feeds[k];
            const auto& expected = row.feeds[k];
            EXPECT_EQ(feed.satellite_deg, row.input.satellites_deg[k]);
            ExpectAngle(expected[0], feed.azimuth_deg, "azimuth");
            EXPECT_NEAR(feed.elevation_deg, expected[1], 1e-9);
            EXPECT_NEAR(feed.separation_deg, expected[2], 1e-9);
            EXPECT_NEAR(feed.right_mm, expected[3], 1e-8);
            EXPECT_NEAR(feed.up_mm, expected[4], 1e-8);
            EXPECT_NEAR(feed.distance_mm, expected[5], 1e-8);
            ExpectAngle(expected[6], feed.tilt_deg, "tilt");
            EXPECT_NEAR(feed.rotation_deg, expected[7], 1e-9);
            EXPECT_NEAR(feed.relative_rotation_deg, expected[8], 1e-9);
            EXPECT_GE(feed.azimuth_deg, 0);
            EXPECT_LT(feed.azimuth_deg, 360);
            // Straight left is 180, never -180 from an offset of -0.
            EXPECT_GT(feed.tilt_deg, -180);
            EXPECT_LE(feed.tilt_deg, 180);
            EXPECT_NEAR(
                std::remainder(feed.azimuth_deg - plan.declination_deg - feed.magnetic_azimuth_deg,
                               360.0),
                0, 1e-12);
        }
    }
}

TEST(BeamDeviationFactor, OverFocalRatios) {
    // (1 + 0.36 q^2) / (1 + q^2) with q = 1 / (4 f/D), by Python.
    const std::pair<double, double> rows[] = {{0.3, 0.7377049180327868}, {0.4, 0.8202247191011236},
                                              {0.5, 0.8720000000000001}, {0.6, 0.9053254437869822},
                                              {0.7, 0.927601809954751},  {0.8, 0.9430604982206405}};
    for (const auto& [ratio, factor] : rows) {
        SCOPED_TRACE(ratio);
        EXPECT_NEAR(tarvex::planning::BeamDeviationFactor(ratio * 1000, 1000), factor, 1e-15);
    }
    EXPECT_EQ(tarvex::planning::BeamDeviationFactor(600, std::nullopt), 1);
}

// tests/planning/reference_figures.py cuts an offset dish from a paraboloid of F 460, 30 mm above
// the axis, 800 mm wide, and measures it by coordinates: H 883.07, depth 78.78, rims 460.49 and
// 834.40, F_eff 560.489. Typed to whole millimetres, each way of measuring must find that F_eff
// within what half a millimetre on each of its measurements can move it.
TEST(MakePlan, DishFiguresFromEachWayOfMeasuring) {
    constexpr double TrueEffectiveFocalLength = 560.4891304347826;
    struct Row {
        const char* name;
        TypedDish dish;
        std::array<double, 5> figures;  // F, F_eff, alpha, f/D, how far rounding may move F_eff
    };
    const Row rows[] = {
        {"offset, feed distance",
         {DishType::Offset, {{{}, {}, {}, 800, 883, 560}}},
         {459.67045834941877, 560, 25.041388595193496, 0.7, 0.5}},
        {"offset, depth",
         {DishType::Offset, {{{}, {}, 79, 800, 883}}},
         {458.7353240535, 558.8607594936709, 25.041388595193496, 0.6985759493670887, 4.2298}},
        {"offset, rims",
         {DishType::Offset, {{{}, {}, {}, 800, {}, {}, 460, 834}}},
         {459.52163074274125, 559.9529551517595, 25.05608883353537, 0.6999411939396993, 0.6981}},
        {"prime focus, diameter and depth",
         {DishType::PrimeFocus, {{{}, 1000, 104}}},
         {600.9615384615385, 600.9615384615385, 0, 0.6009615384615384, NaN}},
        {"prime focus as before, no diameter",
         {DishType::PrimeFocus, {{600}}},
         {600, 600, 0, NaN, NaN}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Plan plan = PlanOf(OnDish(row.dish));
        const auto& [focal, effective_focal, alpha, f_over_d, rounding] = row.figures;
        EXPECT_EQ(plan.dish.type, row.dish.type);
        EXPECT_NEAR(plan.dish.focal_length_mm, focal, 1e-9);
        EXPECT_NEAR(plan.dish.effective_focal_length_mm, effective_focal, 1e-9);
        EXPECT_NEAR(plan.dish.offset_angle_deg, alpha, 1e-12);
        ASSERT_EQ(plan.dish.f_over_d.has_value(), !std::isnan(f_over_d));
        if (plan.dish.f_over_d) {
            EXPECT_NEAR(*plan.dish.f_over_d, f_over_d, 1e-12);
        }
        if (!std::isnan(rounding)) {
            EXPECT_NEAR(plan.dish.effective_focal_length_mm, TrueEffectiveFocalLength, rounding);
        }
    }
}

// A form shows the fields of the way its user chose: those alone must give a dish, and each of
// the required ones must be needed.
TEST(DishWays, EachWaysMeasurementsAloneGiveADish) {
    using tarvex::planning::DishMeasure;
    const auto typed = [](const tarvex::planning::DishWay& way, std::optional<DishMeasure> left) {
        // F, D, depth, W, H, feed distance, r1, r2, f/D of the dishes above.
        constexpr double Example[] = {600, 1000, 79, 800, 883, 560, 460, 834, 0.6};
        TypedDish dish{way.type, {}};
        for (const auto& measures : {way.required, way.optional}) {
            for (const DishMeasure measure : measures) {
                if (measure != left) {
                    const auto index = static_cast<std::size_t>(measure);
                    dish.mm[index] = Example[index];
                }
            }
        }
        return tarvex::planning::MakePlan(OnDish(dish));
    };
    for (const auto& way : tarvex::planning::DishWays) {
        SCOPED_TRACE(static_cast<int>(way.required.back()));
        EXPECT_TRUE(std::holds_alternative<Plan>(typed(way, std::nullopt)));
        for (const DishMeasure measure : way.required) {
            EXPECT_TRUE(std::holds_alternative<PlanRefusal>(typed(way, measure)));
        }
    }
}

// The plan on a measured dish: F_eff for F and the aperture for D; each feed turned toward the
// reflector's centre; the face and feed 1's axis at the first satellite's elevation. Figures of
// tests/planning/reference_figures.py. Per row: beam deviation factor, then feed 2's right, up
// and aim, the face tilt and feed 1's axis.
TEST(MakePlan, OnAMeasuredDish) {
    struct Row {
        const char* name;
        PlanInput input;
        std::array<double, 6> figures;
    };
    const Row rows[] = {
        {"offset W 800 H 883 depth 79",
         OnDish({DishType::Offset, {{{}, {}, 79, 800, 883}}}),
         {0.9273398859637655, 63.9734007815704, -37.2945383591475, 7.547873196509065,
          19.782061394419514, 5.259327200773981}},
        {"prime focus D 1000 depth 104",
         OnDish({DishType::PrimeFocus, {{{}, 1000, 104}}}),
         {0.9055835015549131, 70.4654325196133, -41.07919454008, 7.729208689537112,
          44.82344998961301, -44.82344998961301}},
        {"prime focus F 600: aims at the angle between the satellites",
         Input(35.4615, 32.808333, {13, 19.2}, 600),
         {1, 63.6401981142137, -37.1002913829466, 6.99944386931968, 44.82344998961301,
          -44.82344998961301}},
        {"offset, satellites low in the west: the face leans forward",
         OnDish({DishType::Offset, {{{}, {}, {}, 800, 883, 560}}}, {-30, -25}),
         {0.927601809954751, 32.2548997385097, -44.6699357786459, 5.6191979938898315,
          -13.113098296659981, 38.15448689185348}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Plan plan = PlanOf(row.input);
        ASSERT_EQ(plan.feeds.size(), 2u);
        const auto& f = row.figures;
        EXPECT_NEAR(plan.beam_deviation_factor, f[0], 1e-15);
        EXPECT_NEAR(plan.feeds[1].right_mm, f[1], 1e-8);
        EXPECT_NEAR(plan.feeds[1].up_mm, f[2], 1e-8);
        EXPECT_NEAR(plan.feeds[1].aim_deg, f[3], 1e-9);
        EXPECT_EQ(plan.feeds[0].aim_deg, 0);
        EXPECT_NEAR(plan.dish.face_tilt_deg, f[4], 1e-9);
        EXPECT_NEAR(plan.dish.feed_axis_elevation_deg, f[5], 1e-9);
    }
}

// The npm package magvar 2.2.0 (an implementation of its own of WMM2025), run with node:
// calculateMagVarForDecimalYear(year + (day of year - 1) / days in year, lat, lon, 0), which
// rounds to 0.01 degree.
TEST(MagneticDeclination, AgreesWithMagvar) {
    struct Row {
        const char* place;
        double lat, lon;
        Date date;
        double declination;
    };
    const Row rows[] = {
        {"Tiberias", 32.808333, 35.4615, {2026, 12, 7}, 5.10},
        {"London", 51.5, -0.1, {2025, 1, 1}, 0.92},
        {"Sydney", -33.8688, 151.2093, {2027, 7, 2}, 12.84},
        {"Moscow", 55.7558, 37.6173, {2029, 12, 31}, 12.45},
        {"Madrid", 40.4168, -3.7038, {2028, 2, 29}, 0.85},
        {"Reykjavik", 64.1466, -21.9426, {2026, 6, 15}, -11.15},
        {"Cape Town", -33.9249, 18.4241, {2025, 9, 30}, -26.56},
        {"Anchorage, extrapolated", 61.2181, -149.9003, {2030, 1, 1}, 13.08},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.place);
        const double year = tarvex::planning::DecimalYear(row.date);
        EXPECT_NEAR(tarvex::planning::MagneticDeclination(row.lat, row.lon, year), row.declination,
                    0.005 + 1e-9);
    }
}

std::vector<std::string> WarningsOf(const PlanInput& input) {
    std::vector<std::string> warnings;
    for (const auto& warning : PlanOf(input).warnings) {
        warnings.push_back(tarvex::planning::WarningCode(warning.kind) +
                           (warning.feed ? " " + std::to_string(*warning.feed) : ""));
    }
    return warnings;
}

TEST(MakePlan, Warnings) {
    struct Row {
        const char* name;
        PlanInput input;
        std::vector<std::string> warnings;
    };
    const Row rows[] = {
        {"none", Input(35.4615, 32.808333, {13, 19.2}, 600, 1000), {}},
        {"no diameter", Input(35.4615, 32.808333, {13, 19.2}, 600), {"no_dish_size"}},
        {"3 degrees apart: 31 mm",
         Input(35.4615, 32.808333, {13, 16}, 600),
         {"no_dish_size", "collision 2"}},
        {"half a degree apart",
         Input(35.4615, 32.808333, {13, 19.2, 13.5}, 600),
         {"no_dish_size", "collision 3"}},
        {"satellite 1 below 5 degrees, satellite 2 above",
         Input(0, 76.3, {10, 0}, 600),
         {"no_dish_size", "low_elevation 1"}},
        {"beyond 12 degrees",
         Input(35.4615, 32.808333, {13, 28.2}, 600),
         {"no_dish_size", "far_off_axis 2"}},
        {"4 degrees apart: 42 mm, within a 60 mm LNB's width",
         WithOptics(Input(35.4615, 32.808333, {13, 17}, 600)),
         {"no_dish_size", "collision 2"}},
        {"the same LNBs 40 mm wide",
         WithOptics(Input(35.4615, 32.808333, {13, 17}, 600), 40),
         {"no_dish_size"}},
        {"optics: 0.42 dB", WithOptics(Input(35.4615, 32.808333, {13, 19.2}, 600, 1000)), {}},
        {"optics: 2.21 dB",
         WithOptics(OnDish({DishType::Offset, {{{}, {}, 79, 800, 883}}})),
         {"weaker_beam 2"}},
        {"optics: 25 and 34 degrees off the axis, 13 E in the middle is better",
         Moscow(),
         {"second_dish 2", "second_dish 3", "better_focus 2"}},
        {"before the model",
         Input(35.4615, 32.808333, {13, 19.2}, 600, {}, {2024, 12, 31}),
         {"no_dish_size", "magnetic_model_date"}},
        {"last day of the model",
         Input(35.4615, 32.808333, {13, 19.2}, 600, {}, {2029, 12, 31}),
         {"no_dish_size"}},
        {"after the model",
         Input(35.4615, 32.808333, {13, 19.2}, 600, {}, {2030, 1, 1}),
         {"no_dish_size", "magnetic_model_date"}},
        // The rims 460 and 834 across 800 give H 883.1.
        {"typed H 1.9 % off the rims'",
         OnDish({DishType::Offset, {{{}, {}, {}, 800, 900, {}, 460, 834}}}),
         {}},
        {"typed H 3 % off the rims'",
         OnDish({DishType::Offset, {{{}, {}, {}, 800, 910, {}, 460, 834}}}),
         {"measurements_disagree"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(WarningsOf(row.input), row.warnings);
    }
}

// The worked example (Tiberias, 13 -> 19.2 E, 2026-12-07) as the physical-optics model of others
// gives it: positions within 0.3 mm, losses within 0.1 dB.
TEST(MakePlan, ByTheOptics) {
    struct Row {
        const char* name;
        PlanInput input;
        double right_mm, up_mm, distance_mm, loss_db, formula_distance_mm;
    };
    const Row rows[] = {
        {"prime D 1000, F 600", WithOptics(Input(35.4615, 32.808333, {13, 19.2}, 600, 1000)), 69.86,
         -40.74, 80.87, 0.42, 81.46},
        {"offset W 800, H 883, depth 79",
         WithOptics(OnDish({DishType::Offset, {{{}, {}, 79, 800, 883}}})), 63.08, -36.40, 72.83,
         2.21, 74.05},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Plan plan = PlanOf(row.input);
        ASSERT_TRUE(plan.optics);
        const FeedPlan& feed = plan.feeds.at(1);
        EXPECT_NEAR(feed.right_mm, row.right_mm, 0.3);
        EXPECT_NEAR(feed.up_mm, row.up_mm, 0.3);
        EXPECT_NEAR(feed.distance_mm, row.distance_mm, 0.3);
        EXPECT_NEAR(feed.loss_db, row.loss_db, 0.1);
        EXPECT_NEAR(feed.formula.distance_mm, row.formula_distance_mm, 0.01);
        EXPECT_EQ(plan.focus.size(), 2u);
    }
}

// A dish under two wavelengths across, or ten times as far from its feed as it is wide, is
// beyond the model: the formula places its feeds.
TEST(MakePlan, TheFormulaBeyondTheOpticsReach) {
    PlanInput small = WithOptics(Input(35.4615, 32.808333, {13, 19.2}, 300, 500));
    small.frequency_ghz = 1;
    PlanInput far = WithOptics(Input(35.4615, 32.808333, {13, 19.2}, 1e6, 1000));
    for (const PlanInput& input : {small, far}) {
        const Plan plan = PlanOf(input);
        EXPECT_FALSE(plan.optics);
        EXPECT_EQ(plan.feeds.at(1).right_mm, plan.feeds.at(1).formula.right_mm);
    }
}

TEST(MakePlan, RefusesTheOpticsSettingsOutOfRange) {
    using tarvex::planning::RefusalKind;
    const auto refusal = [](void (*set)(PlanInput&)) {
        PlanInput input = Input(35, 32, {13, 19}, 600, 1000);
        set(input);
        const auto result = tarvex::planning::MakePlan(input);
        return std::holds_alternative<PlanRefusal>(result) ? std::get<PlanRefusal>(result).kind
                                                           : RefusalKind::Dish;
    };
    EXPECT_EQ(refusal([](PlanInput& i) { i.frequency_ghz = 0.9; }), RefusalKind::Frequency);
    EXPECT_EQ(refusal([](PlanInput& i) { i.frequency_ghz = NaN; }), RefusalKind::Frequency);
    EXPECT_EQ(refusal([](PlanInput& i) { i.edge_taper_db = 0; }), RefusalKind::EdgeTaper);
    EXPECT_EQ(refusal([](PlanInput& i) { i.edge_taper_db = 31; }), RefusalKind::EdgeTaper);
    EXPECT_EQ(refusal([](PlanInput& i) { i.lnb_width_mm = -60; }), RefusalKind::LnbWidth);
    EXPECT_EQ(refusal([](PlanInput& i) { i.lnb_width_mm = Inf; }), RefusalKind::LnbWidth);
}

TEST(MakePlan, RefusalsNameTheInput) {
    struct Row {
        PlanInput input;
        const char* names;
    };
    const Row rows[] = {
        {Input(35, 32, {13}, 600), "от 2 до 4 спутников, задано 1"},
        {Input(35, 32, {13, 16, 19, 23, 28}, 600), "от 2 до 4 спутников, задано 5"},
        {Input(35, 90.5, {13, 19}, 600), "Широта места 90.5"},
        {Input(35, NaN, {13, 19}, 600), "Широта места"},
        {Input(Inf, 32, {13, 19}, 600), "Долгота места"},
        {Input(35, 32, {13, NaN}, 600), "Долгота спутника 2"},
        {Input(35, 32, {13, 19}, 0), "Фокусное расстояние"},
        {Input(35, 32, {13, 19}, -600), "Фокусное расстояние"},
        {Input(35, 32, {13, 19}, Inf), "Фокусное расстояние"},
        {Input(35, 32, {13, 19}, -3e5), "задано -300000."},
        {Input(35, 32, {13, 19}, 600, 0.0), "Диаметр антенны"},
        {Input(35, 32, {13, 19}, 600, NaN), "Диаметр антенны"},
        {Input(35, 32, {13, -70}, 600), "Спутник 2 (-70°) не виден"},
        {Input(35, 90, {13, 19}, 600), "Спутник 1 (13°) не виден"},
        {Input(35, 0, {-30, 100}, 600), "Спутник 2 (100°) отстоит от спутника 1"},
        {Input(35, 32, {13, 19.2, 373}, 600), "Спутник 3 (373°) тот же, что спутник 1"},
        {Input(35, 0, {5, 65}, 1e308), "Фокусное расстояние слишком велико"},
        {Input(35, 32, {13, 19}, 600, {}, {2026, 2, 29}), "Даты 2026-2-29"},
        // The dish: F, D, depth, W, H, feed distance, r1, r2.
        {OnDish({DishType::PrimeFocus, {}}), "Фокусное расстояние не задано"},
        {OnDish({DishType::PrimeFocus, {{600, 1000, 104}}}), "и фокусное расстояние, и глубина"},
        {OnDish({DishType::PrimeFocus, {{{}, {}, 104}}}), "без диаметра"},
        {OnDish({DishType::PrimeFocus, {{600, {}, {}, 800}}}), "Ширина зеркала — мерка офсетной"},
        {OnDish({DishType::Offset, {{460, {}, 79, 800, 883}}}),
         "измерьте ширину, высоту и глубину"},
        {OnDish({DishType::Offset, {{{}, 800, 79, 800, 883}}}), "Диаметр задают у прямофокусной"},
        {OnDish({DishType::Offset, {{{}, {}, 79, {}, 883}}}), "Ширина зеркала офсетной антенны не"},
        {OnDish({DishType::Offset, {{{}, {}, {}, 800, 883}}}), "не хватает мерок"},
        {OnDish({DishType::Offset, {{{}, {}, 79, 800, 883, 560}}}), "больше одного способа"},
        {OnDish({DishType::Offset, {{{}, {}, {}, 800, {}, {}, 460}}}),
         "до верхнего края зеркала не з"},
        {OnDish({DishType::Offset, {{{}, {}, 79, 800}}}), "Высота зеркала не задана"},
        {OnDish({DishType::Offset, {{{}, {}, 79, 800, 800}}}), "Высота зеркала 800 мм не больше"},
        {OnDish({DishType::Offset, {{{}, {}, {}, 800, {}, {}, 834, 460}}}),
         "верхнего края зеркала не б"},
        {OnDish({DishType::Offset, {{{}, {}, {}, 800, {}, {}, 10, 400}}}), "Таких расстояний"},
        {OnDish({DishType::Offset, {{{}, {}, -79, 800, 883}}}),
         "Глубина зеркала: нужно конечное число"},
        {OnDish({DishType::Offset, {{{}, {}, 79, NaN, 883}}}),
         "Ширина зеркала: нужно конечное число"},
        {OnDish({DishType::Offset, {{{}, {}, {}, 800, {}, {}, 460, Inf}}}),
         "верхнего края зеркала: нужно"},
        {OnDish({DishType::Offset, {{{}, {}, 1e-300, 1e300, 1.1e300}}}), "слишком велики или малы"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.names);
        const auto result = tarvex::planning::MakePlan(row.input);
        ASSERT_TRUE(std::holds_alternative<PlanRefusal>(result));
        const std::string text = tarvex::RefusalText(std::get<PlanRefusal>(result));
        EXPECT_NE(text.find(row.names), std::string::npos) << text;
    }
}

TEST(ParseAngle, Forms) {
    const std::pair<const char*, std::optional<double>> rows[] = {
        {"35.4615", 35.4615},
        {"-4.5", -4.5},
        {"+13", 13},
        {".5", 0.5},
        {"35:27.69", 35.4615},
        {"-4:30", -4.5},
        {"-0:30", -0.5},
        {"19:12", 19.2},
        {"13:59.99", 13 + 59.99 / 60},
        {"13:60", {}},
        {"13:-5", {}},
        {"13.5:10", {}},
        {"13:", {}},
        {":30", {}},
        {"", {}},
        {"-", {}},
        {"+-5", {}},
        {"inf", {}},
        {"nan", {}},
        {"1e999", {}},
        {"13 ", 13},
        {"13,5", 13.5},
        {"0x10", {}},
        {"1:2:3", 1 + 2 / 60.0 + 3 / 3600.0},
        {"1e2", 100},
        {"55°45′21″", 55 + 45 / 60.0 + 21 / 3600.0},
        {"55°45'21\"", 55 + 45 / 60.0 + 21 / 3600.0},
        {"4:30W", -4.5},
        {"4:30 W", -4.5},
        {"-4:30W", {}},
        {"19.2 в.д.", 19.2},
        {"4.5з.д.", -4.5},
        {"4.5 з.д", -4.5},
        {"32N", {}},
        {"32 с.ш.", {}},
        {"13°60′", {}},
    };
    for (const auto& [text, angle] : rows) {
        SCOPED_TRACE(text);
        const std::optional<double> parsed = tarvex::planning::ParseAngle(text);
        ASSERT_EQ(parsed.has_value(), angle.has_value());
        if (angle) {
            EXPECT_NEAR(*parsed, *angle, 1e-12);
        }
    }
}

TEST(ParseDate, RealDatesOnly) {
    const std::pair<const char*, bool> rows[] = {
        {"2026-12-07", true},   {"2028-02-29", true},  {"2000-02-29", true},  {"0001-01-01", true},
        {"2026-02-29", false},  {"1900-02-29", false}, {"2026-04-31", false}, {"2026-13-01", false},
        {"2026-00-10", false},  {"0000-01-01", false}, {"2026-1-7", false},   {"2026/12/07", false},
        {"2026-12-07x", false}, {"+026-12-07", false}, {"2026-12--7", false}, {"", false},
        {"29.02.2028", true},   {"29.02.2026", false}, {"7.12.2026", false},  {"07.12.26", false},
    };
    for (const auto& [text, real] : rows) {
        SCOPED_TRACE(text);
        const std::optional<Date> date = tarvex::planning::ParseDate(text);
        EXPECT_EQ(date.has_value(), real);
    }
    const Date date = tarvex::planning::ParseDate("2026-12-07").value();
    EXPECT_EQ(std::tie(date.year, date.month, date.day), std::make_tuple(2026, 12, 7));
    EXPECT_EQ(tarvex::planning::ParseDate("07.12.2026"), date);
}

TEST(ParseAngle, HemispheresOfALatitude) {
    using tarvex::planning::AngleKind;
    const std::pair<const char*, std::optional<double>> rows[] = {
        {"32N", 32},      {"33.9 ю.ш.", -33.9}, {"55°45′ с.ш.", 55.75},
        {"-33.9", -33.9}, {"4E", {}},           {"4 в.д.", {}},
    };
    for (const auto& [text, angle] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(tarvex::planning::ParseAngle(text, AngleKind::Latitude), angle);
    }
}

TEST(ParseNumber, LengthsWithOptionalPlus) {
    const std::pair<const char*, std::optional<double>> rows[] = {
        {"600", 600}, {"+600", 600},  {"1e3", 1000}, {"-0.5", -0.5},
        {"inf", {}},  {"600 mm", {}}, {"", {}},      {"+-1", {}},
    };
    for (const auto& [text, number] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(tarvex::planning::ParseNumber(text), number);
    }
}

TEST(DecimalYear, CountsDaysOfTheDatesYear) {
    using tarvex::planning::DecimalYear;
    EXPECT_EQ(DecimalYear({2025, 1, 1}), 2025.0);
    EXPECT_EQ(DecimalYear({2026, 12, 7}), 2026 + 340.0 / 365);
    EXPECT_EQ(DecimalYear({2028, 12, 31}), 2028 + 365.0 / 366);
    EXPECT_EQ(DecimalYear({2028, 3, 1}), 2028 + 60.0 / 366);
}

}  // namespace

#include "planning/plan.h"

#include <GeographicLib/Geocentric.hpp>
#include <array>
#include <chrono>
#include <cmath>
#include <numbers>

#include "conversions/float_chars.h"
#include "optics/dish_optics.h"
#include "planning/magnetic_model.h"

namespace tarvex::planning {
namespace {

constexpr double OrbitRadiusM = 42164.17e3;
constexpr double Degrees = DegreesPerRadian;
// Where the boresight is this close to the zenith, "right" is taken as east.
constexpr double ZenithTolerance = 1e-9;

using Vector = std::array<double, 3>;

double Dot(const Vector& a, const Vector& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vector Cross(const Vector& a, const Vector& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Length(const Vector& a) {
    return std::hypot(a[0], a[1], a[2]);
}

Vector Scaled(const Vector& a, double factor) {
    return {a[0] * factor, a[1] * factor, a[2] * factor};
}

Vector Minus(const Vector& a, const Vector& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

// Folds an angle in degrees into (-90, 90]: a feed turned by half a turn is the same feed.
double FoldHalfTurn(double degrees) {
    double folded = std::remainder(degrees, 180.0);
    return folded <= -90 ? folded + 180 : folded;
}

// The site's local east-north-up frame in the Earth's geocentric frame.
struct SiteFrame {
    Vector site;                      // geocentric, m
    std::array<double, 9> to_global;  // east-north-up -> geocentric, row by row
    Vector earth_axis;                // north along the Earth's axis, in east-north-up
};

SiteFrame MakeSiteFrame(double latitude_deg, double longitude_deg) {
    SiteFrame frame;
    std::vector<double> rotation(9);
    GeographicLib::Geocentric::WGS84().Forward(latitude_deg, longitude_deg, 0, frame.site[0],
                                               frame.site[1], frame.site[2], rotation);
    std::copy(rotation.begin(), rotation.end(), frame.to_global.begin());
    const double latitude = latitude_deg / Degrees;
    frame.earth_axis = {0, std::cos(latitude), std::sin(latitude)};
    return frame;
}

// Unit vector from the site to a geostationary satellite, in east-north-up.
Vector LineOfSight(const SiteFrame& frame, double satellite_deg) {
    const double longitude = std::remainder(satellite_deg, 360.0) / Degrees;
    const Vector global = Minus(
        {OrbitRadiusM * std::cos(longitude), OrbitRadiusM * std::sin(longitude), 0}, frame.site);
    const auto& m = frame.to_global;
    const Vector local = {m[0] * global[0] + m[3] * global[1] + m[6] * global[2],
                          m[1] * global[0] + m[4] * global[1] + m[7] * global[2],
                          m[2] * global[0] + m[5] * global[1] + m[8] * global[2]};
    return Scaled(local, 1 / Length(local));
}

// The dish seen from behind, looking along its boresight.
struct DishFrame {
    Vector boresight;
    Vector right;
    Vector up;
};

DishFrame MakeDishFrame(const Vector& boresight) {
    const Vector across = Cross(boresight, {0, 0, 1});
    const double length = Length(across);
    const Vector right = length < ZenithTolerance ? Vector{1, 0, 0} : Scaled(across, 1 / length);
    return {boresight, right, Cross(right, boresight)};
}

double SeparationRad(const DishFrame& dish, const Vector& sight) {
    return std::atan2(Length(Cross(dish.boresight, sight)), Dot(dish.boresight, sight));
}

// The Earth's axis as the feed sees it: across the line of sight, then across the boresight.
double RotationDeg(const DishFrame& dish, const Vector& sight, const Vector& earth_axis) {
    Vector p = Minus(earth_axis, Scaled(sight, Dot(earth_axis, sight)));
    p = Minus(p, Scaled(dish.boresight, Dot(p, dish.boresight)));
    return FoldHalfTurn(std::atan2(Dot(p, dish.right), Dot(p, dish.up)) * Degrees);
}

// A feed's offsets from feed 1 with their distance and tilt.
void SetOffsets(double right_mm, double up_mm, FeedPlan& feed) {
    // Adding +0 turns a negative zero into zero: a feed straight left is at a tilt of 180, not
    // -180, and no offset reads "-0".
    feed.right_mm = right_mm + 0.0;
    feed.up_mm = up_mm + 0.0;
    feed.distance_mm = std::hypot(feed.right_mm, feed.up_mm);
    feed.tilt_deg = std::atan2(feed.up_mm, feed.right_mm) * Degrees;
    // A hair below the negative x axis is still straight left: 180, never -180.
    if (feed.tilt_deg <= -180) {
        feed.tilt_deg += 360;
    }
}

// The feed stands opposite the satellite's direction, at the focal plane's image of its angle.
void PlaceFeed(const DishFrame& dish, const Vector& sight, double focal_length_mm,
               double beam_deviation_factor, FeedPlan& feed) {
    const double separation = SeparationRad(dish, sight);
    const double across_right = Dot(sight, dish.right);
    const double across_up = Dot(sight, dish.up);
    const double across = std::hypot(across_right, across_up);
    feed.separation_deg = separation * Degrees;
    if (across == 0) {
        return;
    }
    const double distance = focal_length_mm * std::tan(separation / beam_deviation_factor);
    SetOffsets(-distance * across_right / across, -distance * across_up / across, feed);
}

// The feed for a satellite seen along `sight` from a dish aimed along `dish`, by the optics.
optics::FeedBeam OpticalFeed(const optics::DishOptics& model, const DishFrame& dish,
                             const Vector& sight) {
    return model.Feed(Dot(sight, dish.right), Dot(sight, dish.up));
}

// For each satellite as the one the dish is aimed at, the worst loss among the others; the
// plan's own feeds for satellite 1.
void ChooseFocus(const optics::DishOptics& model, const std::vector<Vector>& sights, Plan& plan) {
    std::vector<double> worst_losses;
    for (std::size_t j = 0; j < sights.size(); ++j) {
        const DishFrame frame = MakeDishFrame(sights[j]);
        double worst = 0;
        for (std::size_t k = 0; k < sights.size(); ++k) {
            if (k != j) {
                worst = std::max(worst, j == 0 ? plan.feeds[k].loss_db
                                               : OpticalFeed(model, frame, sights[k]).loss_db);
            }
        }
        worst_losses.push_back(worst);
        plan.focus.push_back({plan.feeds[j].satellite_deg, worst});
    }
    plan.best_focus = optics::BestFocus(worst_losses) + 1;
}

// Each feed placed and judged by the physical optics; the formula's place kept beside.
void ApplyOptics(const PlanInput& input, const std::vector<Vector>& sights, Plan& plan) {
    const optics::DishOptics model(
        {plan.dish.focal_length_mm, *plan.dish.aperture_mm, plan.dish.offset_angle_deg},
        {input.frequency_ghz, input.edge_taper_db});
    plan.optics = OpticsFigures{input.frequency_ghz, input.edge_taper_db, model.FeedExponent(),
                                model.GainDbi(), model.Efficiency()};
    const double focal_length = plan.dish.effective_focal_length_mm;
    const DishFrame aimed = MakeDishFrame(sights.front());
    plan.feeds.front().beamwidth_deg = model.BeamwidthDeg();
    for (std::size_t k = 1; k < plan.feeds.size(); ++k) {
        FeedPlan& feed = plan.feeds[k];
        const optics::FeedBeam beam = OpticalFeed(model, aimed, sights[k]);
        SetOffsets(beam.right_mm, beam.up_mm, feed);
        feed.axial_mm = beam.axial_mm;
        feed.loss_db = beam.loss_db;
        feed.beamwidth_deg = beam.beamwidth_deg;
        feed.beam = beam.degraded ? BeamKind::Degraded : BeamKind::Clean;
        feed.aim_deg = FeedAimDeg(feed.distance_mm, focal_length - feed.axial_mm);
    }
    if (input.choose_focus) {
        ChooseFocus(model, sights, plan);
    }
}

// `satellite_index` from 0; none where the refusal names no satellite.
PlanRefusal Refused(RefusalKind kind, double value,
                    std::optional<std::size_t> satellite_index = std::nullopt) {
    PlanRefusal refusal;
    refusal.kind = kind;
    refusal.value = value;
    refusal.satellite = satellite_index ? static_cast<int>(*satellite_index + 1) : 0;
    return refusal;
}

std::optional<PlanRefusal> InputRefusal(const PlanInput& input) {
    const std::size_t count = input.satellites_deg.size();
    if (count < MinFeeds || count > MaxFeeds) {
        return Refused(RefusalKind::SatelliteCount, static_cast<double>(count));
    }
    if (!std::isfinite(input.site_longitude_deg)) {
        return Refused(RefusalKind::SiteLongitude, input.site_longitude_deg);
    }
    if (!(std::fabs(input.site_latitude_deg) <= 90)) {
        return Refused(RefusalKind::SiteLatitude, input.site_latitude_deg);
    }
    for (std::size_t k = 0; k < count; ++k) {
        const double satellite = input.satellites_deg[k];
        if (!std::isfinite(satellite)) {
            return Refused(RefusalKind::SatelliteLongitude, satellite, k);
        }
        for (std::size_t j = 0; j < k; ++j) {
            // One orbital position twice: the feeds would share one place.
            if (std::remainder(satellite - input.satellites_deg[j], 360.0) == 0) {
                PlanRefusal refusal = Refused(RefusalKind::SameSatellite, satellite, k);
                refusal.other_satellite = static_cast<int>(j + 1);
                return refusal;
            }
        }
    }
    if (input.focal_length_mm &&
        (!std::isfinite(*input.focal_length_mm) || !(*input.focal_length_mm > 0))) {
        return Refused(RefusalKind::FocalLength, *input.focal_length_mm);
    }
    if (input.diameter_mm && (!std::isfinite(*input.diameter_mm) || !(*input.diameter_mm > 0))) {
        return Refused(RefusalKind::Diameter, *input.diameter_mm);
    }
    if (!IsRealDate(input.date)) {
        PlanRefusal refusal = Refused(RefusalKind::Date, 0);
        refusal.date = input.date;
        return refusal;
    }
    if (!(input.frequency_ghz >= MinFrequencyGhz && input.frequency_ghz <= MaxFrequencyGhz)) {
        return Refused(RefusalKind::Frequency, input.frequency_ghz);
    }
    if (!(input.edge_taper_db > 0 && input.edge_taper_db <= MaxEdgeTaperDb)) {
        return Refused(RefusalKind::EdgeTaper, input.edge_taper_db);
    }
    if (!(std::isfinite(input.lnb_width_mm) && input.lnb_width_mm > 0)) {
        return Refused(RefusalKind::LnbWidth, input.lnb_width_mm);
    }
    return std::nullopt;
}

// A feed whose place is meaningless or beyond any number: refused rather than drawn.
std::optional<PlanRefusal> FeedRefusal(const FeedPlan& feed, std::size_t k, double bdf) {
    if (feed.elevation_deg <= 0) {
        return Refused(RefusalKind::BelowHorizon, feed.satellite_deg, k);
    }
    if (feed.separation_deg / bdf >= 90) {
        PlanRefusal refusal = Refused(RefusalKind::TooFarApart, feed.satellite_deg, k);
        refusal.separation_deg = feed.separation_deg;
        return refusal;
    }
    if (!std::isfinite(feed.distance_mm)) {
        return Refused(RefusalKind::OffsetsTooLarge, feed.distance_mm, k);
    }
    return std::nullopt;
}

// The optics' verdict on a feed where it is worth a warning.
std::optional<WarningKind> BeamWarning(const FeedPlan& feed) {
    switch (VerdictOf(feed)) {
        case BeamVerdict::AsFeedOne:
            return std::nullopt;
        case BeamVerdict::Weaker:
            return WarningKind::WeakerBeam;
        case BeamVerdict::StrongOnly:
            return WarningKind::StrongOnlyBeam;
        case BeamVerdict::SecondDish:
            return WarningKind::SecondDish;
    }
    return std::nullopt;
}

void AddFeedWarnings(const Plan& plan, double lnb_width_mm, std::vector<PlanWarning>& warnings) {
    for (std::size_t k = 0; k < plan.feeds.size(); ++k) {
        const FeedPlan& feed = plan.feeds[k];
        const int number = static_cast<int>(k + 1);
        if (feed.elevation_deg < MinElevationDeg) {
            warnings.push_back({WarningKind::LowElevation, number, std::nullopt, {}});
        }
        if (!plan.optics && feed.separation_deg > MaxOffAxisDeg) {
            warnings.push_back({WarningKind::FarOffAxis, number, std::nullopt, {}});
        }
        if (const auto beam = plan.optics ? BeamWarning(feed) : std::nullopt) {
            warnings.push_back({*beam, number, std::nullopt, {}, feed.loss_db});
        }
        for (std::size_t j = 0; j < k; ++j) {
            const double spacing = std::hypot(feed.right_mm - plan.feeds[j].right_mm,
                                              feed.up_mm - plan.feeds[j].up_mm);
            if (spacing < lnb_width_mm) {
                warnings.push_back(
                    {WarningKind::Collision, number, static_cast<int>(j + 1), {}, lnb_width_mm});
            }
        }
    }
    if (!plan.focus.empty()) {
        const double now = plan.focus.front().worst_loss_db;
        const double best = plan.focus[static_cast<std::size_t>(plan.best_focus - 1)].worst_loss_db;
        if (now - best >= BetterFocusDb) {
            warnings.push_back(
                {WarningKind::BetterFocus, plan.best_focus, std::nullopt, {}, best, now});
        }
    }
}

}  // namespace

double BeamDeviationFactor(double focal_length_mm, std::optional<double> diameter_mm) {
    if (!diameter_mm) {
        return 1;
    }
    const double q = *diameter_mm / (4 * focal_length_mm);
    // (1 + 0.36 q^2) / (1 + q^2), written so that a huge q gives 0.36 rather than inf / inf.
    return 0.36 + 0.64 / (1 + q * q);
}

std::variant<Plan, PlanRefusal> MakePlan(const PlanInput& input) {
    if (std::optional<PlanRefusal> refusal = InputRefusal(input)) {
        return *refusal;
    }
    auto measured = MeasureDish(input.focal_length_mm, input.diameter_mm, input.dish);
    if (const auto* issue = std::get_if<DishIssue>(&measured)) {
        PlanRefusal refusal;
        refusal.kind = RefusalKind::Dish;
        refusal.dish = *issue;
        return refusal;
    }
    MeasuredDish& dish_measured = std::get<MeasuredDish>(measured);
    const SiteFrame site = MakeSiteFrame(input.site_latitude_deg, input.site_longitude_deg);
    std::vector<Vector> sights;
    for (const double satellite : input.satellites_deg) {
        sights.push_back(LineOfSight(site, satellite));
    }
    const DishFrame dish = MakeDishFrame(sights.front());
    Plan plan;
    plan.date = input.date;
    plan.dish = dish_measured.figures;
    const double focal_length = plan.dish.effective_focal_length_mm;
    plan.beam_deviation_factor = BeamDeviationFactor(focal_length, plan.dish.aperture_mm);
    const double year = DecimalYear(input.date);
    plan.declination_deg =
        MagneticDeclination(input.site_latitude_deg, input.site_longitude_deg, year);
    for (std::size_t k = 0; k < sights.size(); ++k) {
        const Vector& sight = sights[k];
        FeedPlan feed;
        feed.satellite_deg = input.satellites_deg[k];
        feed.azimuth_deg = FoldTurn(std::atan2(sight[0], sight[1]) * Degrees);
        feed.magnetic_azimuth_deg = FoldTurn(feed.azimuth_deg - plan.declination_deg);
        feed.elevation_deg = std::asin(sight[2]) * Degrees;
        if (k > 0) {
            PlaceFeed(dish, sight, focal_length, plan.beam_deviation_factor, feed);
            feed.aim_deg = FeedAimDeg(feed.distance_mm, focal_length);
            feed.formula = {feed.right_mm, feed.up_mm, feed.distance_mm};
        }
        feed.rotation_deg = RotationDeg(dish, sight, site.earth_axis);
        feed.relative_rotation_deg = FoldHalfTurn(
            feed.rotation_deg - (k > 0 ? plan.feeds.front().rotation_deg : feed.rotation_deg));
        if (std::optional<PlanRefusal> refusal = FeedRefusal(feed, k, plan.beam_deviation_factor)) {
            return *refusal;
        }
        plan.feeds.push_back(feed);
    }
    if (input.optics && plan.dish.aperture_mm &&
        optics::InReach(
            {plan.dish.focal_length_mm, *plan.dish.aperture_mm, plan.dish.offset_angle_deg},
            input.frequency_ghz)) {
        ApplyOptics(input, sights, plan);
    }
    PointDish(plan.dish, plan.feeds.front().elevation_deg);
    for (const DishIssue& issue : dish_measured.warnings) {
        plan.warnings.push_back({issue.problem == DishProblem::NoDishSize
                                     ? WarningKind::NoDishSize
                                     : WarningKind::MeasurementsDisagree,
                                 std::nullopt, std::nullopt, issue});
    }
    AddFeedWarnings(plan, input.lnb_width_mm, plan.warnings);
    if (!InMagneticModelValidity(year)) {
        plan.warnings.push_back({WarningKind::MagneticModelDate, std::nullopt, std::nullopt, {}});
    }
    return plan;
}

const char* WarningCode(WarningKind kind) {
    switch (kind) {
        case WarningKind::Collision:
            return "collision";
        case WarningKind::LowElevation:
            return "low_elevation";
        case WarningKind::FarOffAxis:
            return "far_off_axis";
        case WarningKind::MagneticModelDate:
            return "magnetic_model_date";
        case WarningKind::NoDishSize:
            return "no_dish_size";
        case WarningKind::MeasurementsDisagree:
            return "measurements_disagree";
        case WarningKind::WeakerBeam:
            return "weaker_beam";
        case WarningKind::StrongOnlyBeam:
            return "strong_only_beam";
        case WarningKind::SecondDish:
            return "second_dish";
        case WarningKind::BetterFocus:
            return "better_focus";
    }
    return "";
}

BeamVerdict VerdictOf(const FeedPlan& feed) {
    if (feed.beam == BeamKind::Degraded) {
        return BeamVerdict::SecondDish;
    }
    if (feed.loss_db <= AsFeedOneLossDb) {
        return BeamVerdict::AsFeedOne;
    }
    return feed.loss_db <= WeakerLossDb ? BeamVerdict::Weaker : BeamVerdict::StrongOnly;
}

bool IsRealDate(const Date& date) {
    using namespace std::chrono;
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > 31) {
        return false;
    }
    return year_month_day(year(date.year), month(static_cast<unsigned>(date.month)),
                          day(static_cast<unsigned>(date.day)))
        .ok();
}

double FoldTurn(double degrees) {
    const double folded = std::fmod(degrees, 360.0);
    const double turn = folded < 0 ? folded + 360 : folded;
    // -1e-15 + 360 rounds to 360 itself.
    return turn >= 360 ? 0 : turn;
}

}  // namespace tarvex::planning

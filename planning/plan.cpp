#include "planning/plan.h"

#include <GeographicLib/Geocentric.hpp>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <numbers>

#include "conversions/float_chars.h"
#include "planning/magnetic_model.h"

namespace tarvex::planning {
namespace {

constexpr double OrbitRadiusM = 42164.17e3;
constexpr double Degrees = 180 / std::numbers::pi;
constexpr std::size_t MinSatellites = 2;
constexpr std::size_t MaxSatellites = 4;
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

double AngleOfTurn(double degrees) {
    const double folded = std::fmod(degrees, 360.0);
    return folded < 0 ? folded + 360 : folded;
}

// A number as short as it reads back, whatever the process's locale.
std::string Number(double value) {
    char text[32];
    const auto end = float_chars::ToChars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string TwoDigits(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

std::string DateText(const Date& date) {
    std::string year = std::to_string(date.year);
    year.insert(0, year.size() < 4 ? 4 - year.size() : 0, '0');
    return year + "-" + TwoDigits(date.month) + "-" + TwoDigits(date.day);
}

// "Спутник 2 (19.2°)"
std::string SatelliteLabel(std::size_t index, double satellite_deg) {
    return "Спутник " + std::to_string(index + 1) + " (" + Number(satellite_deg) + "°)";
}

// A number in full: optional sign, digits, optional fraction and exponent; nothing after it.
std::optional<double> ParseDecimal(std::string_view text) {
    std::size_t first_digit = 0;
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    } else if (!text.empty() && text.front() == '-') {
        first_digit = 1;
    }
    if (text.size() <= first_digit ||
        !(std::isdigit(static_cast<unsigned char>(text[first_digit])) ||
          text[first_digit] == '.')) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = float_chars::FromChars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ParseDigits(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.front() == '-' || error != std::errc() ||
        end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
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
    // Adding +0 turns a negative zero into zero: a feed straight left is at a tilt of 180, not
    // -180, and no offset reads "-0".
    feed.right_mm = -distance * across_right / across + 0.0;
    feed.up_mm = -distance * across_up / across + 0.0;
    feed.distance_mm = std::hypot(feed.right_mm, feed.up_mm);
    feed.tilt_deg = std::atan2(feed.up_mm, feed.right_mm) * Degrees;
}

std::optional<std::string> InputRefusal(const PlanInput& input) {
    const std::size_t count = input.satellites_deg.size();
    if (count < MinSatellites || count > MaxSatellites) {
        return "Нужно от 2 до 4 спутников, задано " + std::to_string(count) + ".";
    }
    if (!std::isfinite(input.site_longitude_deg)) {
        return std::string("Долгота места не число.");
    }
    if (!(std::fabs(input.site_latitude_deg) <= 90)) {
        return "Широта места " + Number(input.site_latitude_deg) + " вне пределов от -90 до 90.";
    }
    for (std::size_t k = 0; k < count; ++k) {
        if (!std::isfinite(input.satellites_deg[k])) {
            return "Долгота спутника " + std::to_string(k + 1) + " не число.";
        }
    }
    if (!std::isfinite(input.focal_length_mm) || !(input.focal_length_mm > 0)) {
        return "Фокусное расстояние должно быть конечным числом больше 0, задано " +
               Number(input.focal_length_mm) + ".";
    }
    if (input.diameter_mm && (!std::isfinite(*input.diameter_mm) || !(*input.diameter_mm > 0))) {
        return "Диаметр антенны должен быть конечным числом больше 0, задано " +
               Number(*input.diameter_mm) + ".";
    }
    if (!IsRealDate(input.date)) {
        return "Даты " + std::to_string(input.date.year) + "-" + std::to_string(input.date.month) +
               "-" + std::to_string(input.date.day) + " нет в календаре.";
    }
    return std::nullopt;
}

// A feed whose place is meaningless or beyond any number: refused rather than drawn.
std::optional<std::string> FeedRefusal(const FeedPlan& feed, std::size_t k, double bdf) {
    if (feed.elevation_deg <= 0) {
        return SatelliteLabel(k, feed.satellite_deg) + " не виден с этого места: он за горизонтом.";
    }
    if (feed.separation_deg / bdf >= 90) {
        return SatelliteLabel(k, feed.satellite_deg) + " отстоит от спутника 1 на " +
               Number(feed.separation_deg) + "°: его облучатель у этой антенны не поставить.";
    }
    if (!std::isfinite(feed.distance_mm)) {
        return std::string("Фокусное расстояние слишком велико: смещения облучателей не числа.");
    }
    return std::nullopt;
}

void AddFeedWarnings(const Plan& plan, std::vector<PlanWarning>& warnings) {
    for (std::size_t k = 0; k < plan.feeds.size(); ++k) {
        const FeedPlan& feed = plan.feeds[k];
        const int number = static_cast<int>(k + 1);
        const std::string satellite = "Спутник " + std::to_string(number);
        if (feed.elevation_deg < MinElevationDeg) {
            warnings.push_back({"low_elevation", number,
                                satellite + " ниже " + Number(MinElevationDeg) +
                                    "° над горизонтом: сигнал могут закрыть деревья и постройки."});
        }
        if (feed.separation_deg > MaxOffAxisDeg) {
            warnings.push_back({"far_off_axis", number,
                                satellite + " дальше " + Number(MaxOffAxisDeg) +
                                    "° от оси антенны: потери сигнала будут большими."});
        }
        for (std::size_t j = 0; j < k; ++j) {
            const double spacing = std::hypot(feed.right_mm - plan.feeds[j].right_mm,
                                              feed.up_mm - plan.feeds[j].up_mm);
            if (spacing < MinFeedSpacingMm) {
                warnings.push_back({"collision", number,
                                    "Облучатели " + std::to_string(j + 1) + " и " +
                                        std::to_string(number) + " ближе " +
                                        Number(MinFeedSpacingMm) +
                                        " мм друг к другу: рядом они не поместятся."});
            }
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
    if (std::optional<std::string> refusal = InputRefusal(input)) {
        return PlanRefusal{std::move(*refusal)};
    }
    const SiteFrame site = MakeSiteFrame(input.site_latitude_deg, input.site_longitude_deg);
    std::vector<Vector> sights;
    for (const double satellite : input.satellites_deg) {
        sights.push_back(LineOfSight(site, satellite));
    }
    const DishFrame dish = MakeDishFrame(sights.front());
    Plan plan;
    plan.beam_deviation_factor = BeamDeviationFactor(input.focal_length_mm, input.diameter_mm);
    const double year = DecimalYear(input.date);
    plan.declination_deg =
        MagneticDeclination(input.site_latitude_deg, input.site_longitude_deg, year);
    for (std::size_t k = 0; k < sights.size(); ++k) {
        const Vector& sight = sights[k];
        FeedPlan feed;
        feed.satellite_deg = input.satellites_deg[k];
        feed.azimuth_deg = AngleOfTurn(std::atan2(sight[0], sight[1]) * Degrees);
        feed.magnetic_azimuth_deg = AngleOfTurn(feed.azimuth_deg - plan.declination_deg);
        feed.elevation_deg = std::asin(sight[2]) * Degrees;
        if (k > 0) {
            PlaceFeed(dish, sight, input.focal_length_mm, plan.beam_deviation_factor, feed);
        }
        feed.rotation_deg = RotationDeg(dish, sight, site.earth_axis);
        feed.relative_rotation_deg = FoldHalfTurn(
            feed.rotation_deg - (k > 0 ? plan.feeds.front().rotation_deg : feed.rotation_deg));
        if (std::optional<std::string> refusal = FeedRefusal(feed, k, plan.beam_deviation_factor)) {
            return PlanRefusal{std::move(*refusal)};
        }
        plan.feeds.push_back(feed);
    }
    AddFeedWarnings(plan, plan.warnings);
    if (!InMagneticModelValidity(year)) {
        plan.warnings.push_back(
            {"magnetic_model_date", std::nullopt,
             "Дата " + DateText(input.date) +
                 " вне срока магнитной модели WMM2025 (2025-01-01 - 2029-12-31): магнитные "
                 "азимуты приблизительны."});
    }
    return plan;
}

std::optional<double> ParseAngle(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return ParseDecimal(text);
    }
    std::string_view degrees_text = text.substr(0, colon);
    const bool west = !degrees_text.empty() && degrees_text.front() == '-';
    if (!degrees_text.empty() && (west || degrees_text.front() == '+')) {
        degrees_text.remove_prefix(1);
    }
    // The minutes take the sign of the whole angle and stay below a degree.
    const std::optional<int> degrees = ParseDigits(degrees_text);
    const std::string_view minutes_text = text.substr(colon + 1);
    const std::optional<double> minutes =
        minutes_text.empty() || !std::isdigit(static_cast<unsigned char>(minutes_text.front()))
            ? std::nullopt
            : ParseDecimal(minutes_text);
    if (!degrees || !minutes || !(*minutes < 60)) {
        return std::nullopt;
    }
    const double angle = *degrees + *minutes / 60;
    return west ? -angle : angle;
}

std::optional<double> ParseNumber(std::string_view text) {
    return ParseDecimal(text);
}

std::optional<Date> ParseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const std::optional<int> year = ParseDigits(text.substr(0, 4));
    const std::optional<int> month = ParseDigits(text.substr(5, 2));
    const std::optional<int> day = ParseDigits(text.substr(8, 2));
    if (!year || !month || !day) {
        return std::nullopt;
    }
    const Date date{*year, *month, *day};
    return IsRealDate(date) ? std::optional<Date>(date) : std::nullopt;
}

bool IsRealDate(const Date& date) {
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) {
        return false;
    }
    constexpr int DaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return date.day <= DaysInMonth[date.month - 1] + (date.month == 2 && IsLeapYear(date.year));
}

}  // namespace tarvex::planning

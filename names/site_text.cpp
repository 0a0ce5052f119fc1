#include "names/site_text.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "conversions/typed_text.h"

namespace tarvex::names {
namespace {

// More words or commas than two angles in degrees, minutes and seconds with their hemispheres
// and units set apart have: not a site. So few places to cut keep the reading linear.
constexpr std::size_t MaxWords = 16;
constexpr std::size_t MaxCommas = 3;

// The two angles as latitude and longitude: latitude first unless the hemispheres say otherwise.
// `sign_with_hemisphere` is set when either angle has both.
std::optional<SiteCoordinates> Reading(std::string_view first, std::string_view second,
                                       bool& sign_with_hemisphere) {
    const AngleReading a = ReadAngleText(first);
    const AngleReading b = ReadAngleText(second);
    sign_with_hemisphere = sign_with_hemisphere || a.problem == TextProblem::SignWithHemisphere ||
                           b.problem == TextProblem::SignWithHemisphere;
    if (!a.degrees || !b.degrees || (a.hemisphere && a.hemisphere == b.hemisphere)) {
        return std::nullopt;
    }
    const bool latitude_first =
        a.hemisphere != AngleKind::Longitude && b.hemisphere != AngleKind::Latitude;
    const SiteCoordinates site = latitude_first ? SiteCoordinates{*a.degrees, *b.degrees}
                                                : SiteCoordinates{*b.degrees, *a.degrees};
    if (std::fabs(site.latitude_deg) > 90 || std::fabs(site.longitude_deg) > 180) {
        return std::nullopt;
    }
    return site;
}

}  // namespace

SiteReading ReadSite(std::string_view text) {
    SiteReading reading;
    reading.problem = CheckTypedText(text);
    if (reading.problem != TextProblem::None) {
        return reading;
    }
    const std::string plain = AngleText(text);
    const std::string_view all = plain;
    std::vector<std::size_t> cuts;
    std::size_t words = 0;
    std::size_t commas = 0;
    for (std::size_t at = 0; at < all.size(); ++at) {
        const char c = all[at];
        if (c == ',' || c == ';') {
            ++commas;
            cuts.push_back(at);
        } else if (c == ' ' && at > 0 && all[at - 1] != ' ') {
            cuts.push_back(at);
        }
        words += c != ' ' && (at == 0 || all[at - 1] == ' ');
    }
    if (words > MaxWords || commas > MaxCommas) {
        reading.problem = TextProblem::NotANumber;
        return reading;
    }
    bool sign_with_hemisphere = false;
    for (const std::size_t cut : cuts) {
        const std::size_t rest = all[cut] == ' ' ? cut : cut + 1;
        const std::optional<SiteCoordinates> site =
            Reading(all.substr(0, cut), all.substr(rest), sign_with_hemisphere);
        if (site && std::none_of(reading.readings.begin(), reading.readings.end(),
                                 [&](const SiteCoordinates& known) {
                                     return known.latitude_deg == site->latitude_deg &&
                                            known.longitude_deg == site->longitude_deg;
                                 })) {
            reading.readings.push_back(*site);
        }
    }
    reading.outcome = reading.readings.empty()       ? SiteReading::Outcome::Unreadable
                      : reading.readings.size() == 1 ? SiteReading::Outcome::Read
                                                     : SiteReading::Outcome::Ambiguous;
    if (reading.readings.empty()) {
        reading.problem =
            sign_with_hemisphere ? TextProblem::SignWithHemisphere : TextProblem::NotANumber;
    }
    return reading;
}

}  // namespace tarvex::names

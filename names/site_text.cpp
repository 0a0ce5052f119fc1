#include "names/site_text.h"

#include <GeographicLib/DMS.hpp>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace tarvex::names {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsHemisphere(std::string_view token) {
    return token.size() == 1 && std::string_view("NSEWnsew").find(token[0]) != std::string::npos;
}

// Russian hemispheres (с.ш., ю. ш., В.Д.) as the letters DMS reads, set apart by spaces; no-break
// spaces as spaces.
std::string Prepared(std::string_view text) {
    struct Designator {
        std::string_view first_lower, first_upper, second_lower, second_upper, letter;
    };
    static constexpr Designator Designators[] = {{"с", "С", "ш", "Ш", "N"},
                                                 {"ю", "Ю", "ш", "Ш", "S"},
                                                 {"в", "В", "д", "Д", "E"},
                                                 {"з", "З", "д", "Д", "W"}};
    std::string prepared;
    for (std::size_t at = 0; at < text.size();) {
        if (text.substr(at, 2) == "\u00A0") {
            prepared += ' ';
            at += 2;
            continue;
        }
        bool replaced = false;
        for (const Designator& d : Designators) {
            const std::string_view rest = text.substr(at);
            if (!rest.starts_with(d.first_lower) && !rest.starts_with(d.first_upper)) {
                continue;
            }
            std::size_t next = at + d.first_lower.size();
            if (next < text.size() && text[next] == '.') {
                ++next;
            }
            while (next < text.size() && text[next] == ' ') {
                ++next;
            }
            const std::string_view second = text.substr(next);
            if (!second.starts_with(d.second_lower) && !second.starts_with(d.second_upper)) {
                continue;
            }
            next += d.second_lower.size();
            if (next < text.size() && text[next] == '.') {
                ++next;
            }
            prepared += std::string(" ") + std::string(d.letter) + " ";
            at = next;
            replaced = true;
            break;
        }
        if (!replaced) {
            prepared += text[at++];
        }
    }
    return prepared;
}

bool EndsInUnit(std::string_view token) {
    static constexpr std::string_view Units[] = {"°", "º", "'", "\"", "′", "″", "’", "”", "d", "D"};
    return std::any_of(std::begin(Units), std::end(Units),
                       [&](std::string_view unit) { return token.ends_with(unit); });
}

// A signed number's sign only leads (after a hemisphere letter at most): DMS would add up
// "70+1" and read "7.0E+1" as 8 degrees east, which no map copies.
bool HasInnerSign(const std::string& part) {
    for (std::size_t i = 0; i < part.size(); ++i) {
        const bool sign = part[i] == '+' || part[i] == '-' || part.compare(i, 3, "\u2212") == 0 ||
                          part.compare(i, 3, "\u2013") == 0 || part.compare(i, 3, "\u2014") == 0;
        if (sign && !(i == 0 || (i == 1 && IsHemisphere(part.substr(0, 1))))) {
            return true;
        }
    }
    return false;
}

// One angle of the two: decimal commas made points, its words joined where they belong
// together ("55°" "45′", "55.7558" "N"). None when it is not one angle's text.
std::optional<std::string> AnglePart(std::string_view text) {
    std::string part;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ',') {
            if (i == 0 || i + 1 == text.size() || !IsDigit(text[i - 1]) || !IsDigit(text[i + 1])) {
                return std::nullopt;
            }
            part += '.';
        } else if (text[i] == ';') {
            return std::nullopt;
        } else {
            part += text[i];
        }
    }
    std::vector<std::string> words;
    for (std::size_t i = 0; i < part.size();) {
        while (i < part.size() && IsSpace(part[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < part.size() && !IsSpace(part[i])) {
            ++i;
        }
        if (i > start) {
            words.push_back(part.substr(start, i - start));
        }
    }
    if (words.empty()) {
        return std::nullopt;
    }
    std::string joined = words.front();
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (!IsHemisphere(words[i]) && !IsHemisphere(words[i - 1]) && !EndsInUnit(words[i - 1])) {
            return std::nullopt;  // two bare numbers: not one angle
        }
        joined += words[i];
    }
    if (HasInnerSign(joined)) {
        return std::nullopt;
    }
    return joined;
}

std::optional<SiteCoordinates> Reading(std::string_view first, std::string_view second) {
    const std::optional<std::string> a = AnglePart(first);
    const std::optional<std::string> b = AnglePart(second);
    if (!a || !b) {
        return std::nullopt;
    }
    try {
        double latitude = 0;
        double longitude = 0;
        GeographicLib::DMS::DecodeLatLon(*a, *b, latitude, longitude);
        if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::fabs(longitude) > 180) {
            return std::nullopt;
        }
        return SiteCoordinates{latitude, longitude};
    } catch (const GeographicLib::GeographicErr&) {
        return std::nullopt;
    }
}

}  // namespace

SiteReading ReadSite(std::string_view text) {
    const std::string prepared = Prepared(text);
    SiteReading reading;
    const auto add = [&reading](std::optional<SiteCoordinates> coordinates) {
        if (coordinates &&
            std::none_of(reading.readings.begin(), reading.readings.end(),
                         [&](const SiteCoordinates& known) {
                             return known.latitude_deg == coordinates->latitude_deg &&
                                    known.longitude_deg == coordinates->longitude_deg;
                         })) {
            reading.readings.push_back(*coordinates);
        }
    };
    const std::string_view all = prepared;
    for (std::size_t cut = 0; cut < all.size(); ++cut) {
        const char c = all[cut];
        if (c == ',' || c == ';') {
            add(Reading(all.substr(0, cut), all.substr(cut + 1)));
        } else if (IsSpace(c) && cut > 0 && !IsSpace(all[cut - 1])) {
            add(Reading(all.substr(0, cut), all.substr(cut)));
        }
    }
    reading.outcome = reading.readings.empty()       ? SiteReading::Outcome::Unreadable
                      : reading.readings.size() == 1 ? SiteReading::Outcome::Read
                                                     : SiteReading::Outcome::Ambiguous;
    return reading;
}

}  // namespace tarvex::names

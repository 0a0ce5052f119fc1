#include "plan_io/satellite_longitude.h"

#include <optional>
#include <string>

#include "names/satellites.h"
#include "planning/typed_input.h"

namespace tarvex {

std::variant<double, planning::InputProblem> SatelliteLongitude(std::string_view text) {
    if (const std::optional<double> longitude = planning::ParseAngle(text)) {
        return *longitude;
    }
    const names::SatelliteLookup lookup = names::LookUpSatellite(text);
    if (lookup.found == names::SatelliteLookup::Found::One) {
        return lookup.longitude_deg;
    }
    planning::InputProblem problem;
    problem.kind = lookup.found == names::SatelliteLookup::Found::Several
                       ? planning::InputProblemKind::SatelliteAmbiguous
                       : planning::InputProblemKind::SatelliteUnknown;
    problem.value = std::string(text);
    return problem;
}

}  // namespace tarvex

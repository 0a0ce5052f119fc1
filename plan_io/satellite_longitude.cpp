#include "plan_io/satellite_longitude.h"

#include <optional>
#include <string>

#include "names/satellites.h"

namespace tarvex {

std::variant<double, planning::InputProblem> SatelliteLongitude(std::string_view text) {
    const names::SatelliteLookup lookup = names::ReadSatellite(text);
    if (lookup.found == names::SatelliteLookup::Found::One) {
        return lookup.longitude_deg;
    }
    planning::InputProblem problem;
    problem.text = lookup.problem;
    problem.kind = lookup.problem != TextProblem::None ? planning::InputProblemKind::TextRefused
                   : lookup.found == names::SatelliteLookup::Found::Several
                       ? planning::InputProblemKind::SatelliteAmbiguous
                       : planning::InputProblemKind::SatelliteUnknown;
    problem.value = std::string(text);
    return problem;
}

}  // namespace tarvex

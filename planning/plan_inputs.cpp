#include "planning/plan_inputs.h"

namespace tarvex::planning {
namespace {

// The input a refusal of the dish is shown beside: the measurement it names, else the one to
// change, else the dish's type, whose field lists the ways of measuring it.
PlanInputId DishInput(const DishIssue& issue) {
    switch (issue.problem) {
        case DishProblem::OffsetMeasureOnPrime:
        case DishProblem::NotPositive:
        case DishProblem::OneRimOnly:
        case DishProblem::HeightNotAboveWidth:
        case DishProblem::MeasurementsDisagree:
        case DishProblem::FocalLooksLikeFOverD:
        case DishProblem::FOverDWithFocal:
        case DishProblem::OffsetAngleOutOfRange:
        case DishProblem::RimBelowAxis:
            return InputOf(issue.measure);
        case DishProblem::NoFocalLength:
        case DishProblem::FocalOnOffset:
            return PlanInputId::FocalLength;
        case DishProblem::FocalAndDepth:
            return PlanInputId::Depth;
        case DishProblem::DepthWithoutDiameter:
        case DishProblem::DiameterOnOffset:
        case DishProblem::FOverDWithoutDiameter:
            return PlanInputId::Diameter;
        case DishProblem::NoWidth:
            return PlanInputId::Width;
        case DishProblem::NoHeight:
            return PlanInputId::Height;
        case DishProblem::RimsOutOfOrder:
        case DishProblem::NoSuchRims:
            return PlanInputId::RimHigh;
        case DishProblem::NoWayToFocus:
        case DishProblem::TwoWaysToFocus:
        case DishProblem::BeyondNumbers:
        case DishProblem::NoDishSize:
            break;
    }
    return PlanInputId::Dish;
}

}  // namespace

const std::array<std::string_view, PlanInputCount>& PlanInputKeys() {
    static const std::array<std::string_view, PlanInputCount> keys = [] {
        std::array<std::string_view, PlanInputCount> names;
        for (std::size_t k = 0; k < names.size(); ++k) {
            names[k] = PlanInputs[k].key;
        }
        return names;
    }();
    return keys;
}

const PlanInputRow& RowOf(PlanInputId id) {
    return PlanInputs[static_cast<std::size_t>(id)];
}

std::optional<PlanInputId> InputOfKey(std::string_view key) {
    for (const PlanInputRow& row : PlanInputs) {
        if (row.key == key) {
            return row.id;
        }
    }
    return std::nullopt;
}

PlanInputId InputOf(DishMeasure measure) {
    for (const PlanInputRow& row : PlanInputs) {
        if (row.measure == measure) {
            return row.id;
        }
    }
    return PlanInputId::FocalLength;
}

std::optional<double>* LengthOf(PlanInput& input, PlanInputId id) {
    const std::optional<DishMeasure> measure = RowOf(id).measure;
    if (!measure) {
        return nullptr;
    }
    switch (*measure) {
        case DishMeasure::FocalLength:
            return &input.focal_length_mm;
        case DishMeasure::Diameter:
            return &input.diameter_mm;
        default:
            return &(input.dish.*MemberOf(*measure));
    }
}

const std::optional<double>* LengthOf(const PlanInput& input, PlanInputId id) {
    return LengthOf(const_cast<PlanInput&>(input), id);
}

double* NumberOf(PlanInput& input, PlanInputId id) {
    switch (id) {
        case PlanInputId::Frequency:
            return &input.frequency_ghz;
        case PlanInputId::EdgeTaper:
            return &input.edge_taper_db;
        case PlanInputId::LnbWidth:
            return &input.lnb_width_mm;
        default:
            return nullptr;
    }
}

std::optional<bool> SwitchOf(std::string_view word) {
    for (std::size_t state = 0; state < std::size(SwitchWords); ++state) {
        if (SwitchWords[state] == word) {
            return state == 1;
        }
    }
    return std::nullopt;
}

std::optional<DishType> DishTypeOf(std::string_view word) {
    for (std::size_t type = 0; type < std::size(DishTypeWords); ++type) {
        if (DishTypeWords[type] == word) {
            return static_cast<DishType>(type);
        }
    }
    return std::nullopt;
}

InputPlace RefusedInput(const PlanRefusal& refusal) {
    switch (refusal.kind) {
        case RefusalKind::SiteLongitude:
            return {PlanInputId::Longitude, 0};
        case RefusalKind::SiteLatitude:
            return {PlanInputId::Latitude, 0};
        case RefusalKind::SatelliteCount:
            return {PlanInputId::Satellites, 0};
        case RefusalKind::SatelliteLongitude:
        case RefusalKind::SameSatellite:
        case RefusalKind::BelowHorizon:
        case RefusalKind::TooFarApart:
            return {PlanInputId::Satellites, refusal.satellite};
        case RefusalKind::FocalLength:
        case RefusalKind::OffsetsTooLarge:
            return {PlanInputId::FocalLength, 0};
        case RefusalKind::Diameter:
            return {PlanInputId::Diameter, 0};
        case RefusalKind::Date:
            return {PlanInputId::Date, 0};
        case RefusalKind::Frequency:
            return {PlanInputId::Frequency, 0};
        case RefusalKind::EdgeTaper:
            return {PlanInputId::EdgeTaper, 0};
        case RefusalKind::LnbWidth:
            return {PlanInputId::LnbWidth, 0};
        case RefusalKind::Dish:
            break;
    }
    return {DishInput(refusal.dish), 0};
}

InputProblem RefusalProblem(const PlanRefusal& refusal) {
    const InputPlace place = RefusedInput(refusal);
    InputProblem problem;
    problem.kind = InputProblemKind::Refused;
    problem.key = std::string(RowOf(place.input).key);
    problem.element = place.element;
    problem.refusal = refusal;
    return problem;
}

}  // namespace tarvex::planning

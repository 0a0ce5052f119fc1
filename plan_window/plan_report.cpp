#include "plan_window/plan_report.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvex {
namespace {

double RoundOut(double value, bool up) {
    return (up ? std::ceil(value / 10) : std::floor(value / 10)) * 10;
}

}  // namespace

LayoutBounds FeedLayoutBounds(const planning::Plan& plan, const std::optional<FeedPosition>& marker,
                              bool centred) {
    constexpr double Margin = planning::FeedBodyMm / 2 + 5;
    std::vector<FeedPosition> positions;
    for (const planning::FeedPlan& feed : plan.feeds) {
        positions.push_back({feed.right_mm, feed.up_mm});
    }
    if (marker) {
        positions.push_back(*marker);
    }
    LayoutBounds bounds{-Margin, Margin, -Margin, Margin};
    for (const FeedPosition& position : positions) {
        bounds.left = std::min(bounds.left, position.right_mm - Margin);
        bounds.right = std::max(bounds.right, position.right_mm + Margin);
        bounds.bottom = std::min(bounds.bottom, position.up_mm - Margin);
        bounds.top = std::max(bounds.top, position.up_mm + Margin);
    }
    if (centred) {
        const double half = std::max({-bounds.left, bounds.right, -bounds.bottom, bounds.top});
        bounds = {-half, half, -half, half};
    }
    return {RoundOut(bounds.left, false), RoundOut(bounds.right, true),
            RoundOut(bounds.bottom, false), RoundOut(bounds.top, true)};
}

}  // namespace tarvex

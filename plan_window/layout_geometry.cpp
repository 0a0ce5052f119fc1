#include "plan_window/layout_geometry.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace tarvex {
namespace {

// `value` with `decimals` decimals and a decimal point, whatever the process locale.
constexpr double MinHalfWithArrowsMm = 60;

bool Within(const LabelBox& inner, const LabelBox& outer) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

// The box of a label `clearance` from (x, y) in the direction (dx, dy), each -1, 0 or 1.
LabelBox BoxBeside(const LabelRequest& label, int dx, int dy, double clearance) {
    const double diagonal = dx != 0 && dy != 0 ? std::sqrt(0.5) : 1;
    const double x = label.x + dx * clearance * diagonal;
    const double y = label.y + dy * clearance * diagonal;
    const double left = dx > 0 ? x : dx < 0 ? x - label.width : x - label.width / 2;
    const double top = dy > 0 ? y : dy < 0 ? y - label.height : y - label.height / 2;
    return {left, top, label.width, label.height};
}

}  // namespace

GridSteps GridStepsFor(double span_mm, double pixels_per_mm, double min_pixels) {
    if (!std::isfinite(span_mm) || !(pixels_per_mm > 0)) {
        return {};
    }
    for (int power = 0; power <= std::numeric_limits<double>::max_exponent10; ++power) {
        const double decade = std::pow(10.0, power);
        for (const double multiple : {1.0, 2.0, 5.0}) {
            const double step = multiple * decade;
            if (step * pixels_per_mm >= min_pixels && span_mm / step <= MaxGridLinesPerAxis) {
                return {step, std::max(10.0, decade * 10)};
            }
        }
    }
    return {};
}

std::vector<double> GridLines(double from, double to, double step, int most) {
    std::vector<double> lines;
    if (!(step > 0) || !std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step)) {
        return lines;
    }
    const double first = std::ceil(from / step - 1e-9);
    const double last = std::floor(to / step + 1e-9);
    for (double index = first; index <= last && static_cast<int>(lines.size()) < most; index += 1) {
        lines.push_back(index * step);
    }
    return lines;
}

DrawingExtent DrawingExtentOf(const planning::Plan& plan,
                              const std::optional<FeedPosition>& marker) {
    const auto reachable = [](double right_mm, double up_mm) {
        return std::abs(right_mm) <= DrawingReachMm && std::abs(up_mm) <= DrawingReachMm;
    };
    DrawingExtent extent;
    planning::Plan near;
    for (std::size_t index = 0; index < plan.feeds.size(); ++index) {
        const planning::FeedPlan& feed = plan.feeds[index];
        if (reachable(feed.right_mm, feed.up_mm)) {
            near.feeds.push_back(feed);
        } else {
            extent.far_feeds.push_back(static_cast<int>(index));
        }
    }
    extent.marker_shown = marker && reachable(marker->right_mm, marker->up_mm);
    extent.bounds =
        FeedLayoutBounds(near, extent.marker_shown ? marker : std::nullopt, /*centred=*/true);
    if (!extent.far_feeds.empty()) {
        // Room beside feed 1 for the arrows and their distances.
        const double half = std::max(extent.bounds.right, MinHalfWithArrowsMm);
        extent.bounds = {-half, half, -half, half};
    }
    return extent;
}

EdgeArrow ArrowAtEdge(const LayoutBounds& bounds, double right_mm, double up_mm, double inset_mm) {
    const double length = std::hypot(right_mm, up_mm);
    if (!(length > 0) || !std::isfinite(length)) {
        return {};
    }
    const double dx = right_mm / length;
    const double dy = up_mm / length;
    const double limit = std::numeric_limits<double>::infinity();
    const double tx = dx > 0   ? (bounds.right - inset_mm) / dx
                      : dx < 0 ? (bounds.left + inset_mm) / dx
                               : limit;
    const double ty = dy > 0   ? (bounds.top - inset_mm) / dy
                      : dy < 0 ? (bounds.bottom + inset_mm) / dy
                               : limit;
    const double t = std::max(0.0, std::min(tx, ty));
    return {t * dx, t * dy, dx, dy};
}

bool Overlap(const LabelBox& a, const LabelBox& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

std::vector<LabelBox> PlaceLabels(const std::vector<LabelRequest>& requests,
                                  const std::vector<LabelBox>& keep_clear, const LabelBox& area) {
    // Upper right first: a feed's number reads as its own there; then round the clock.
    constexpr std::array<std::array<int, 2>, 8> Directions = {
        {{1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}}};
    constexpr int Rings = 8;
    std::vector<LabelBox> placed;
    const auto free = [&](const LabelBox& box, bool in_area) {
        const auto hits = [&](const LabelBox& other) { return Overlap(box, other); };
        return (!in_area || Within(box, area)) &&
               std::none_of(placed.begin(), placed.end(), hits) &&
               std::none_of(keep_clear.begin(), keep_clear.end(), hits);
    };
    for (const LabelRequest& label : requests) {
        std::optional<LabelBox> found;
        for (const bool in_area : {true, false}) {
            for (int ring = 0; ring < Rings && !found; ++ring) {
                const double clearance = label.clearance + ring * label.height;
                for (const auto& [dx, dy] : Directions) {
                    const LabelBox box = BoxBeside(label, dx, dy, clearance);
                    if (free(box, in_area)) {
                        found = box;
                        break;
                    }
                }
            }
            if (found) {
                break;
            }
        }
        if (!found) {
            double bottom = label.y + label.clearance;
            for (const LabelBox& box : placed) {
                bottom = std::max(bottom, box.top + box.height);
            }
            for (const LabelBox& box : keep_clear) {
                bottom = std::max(bottom, box.top + box.height);
            }
            found = LabelBox{label.x, bottom, label.width, label.height};
        }
        placed.push_back(*found);
    }
    return placed;
}

}  // namespace tarvex

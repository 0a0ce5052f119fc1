#include "plan_window/card_tiling.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numeric>

#include "plan_window/layout_geometry.h"

namespace tarvex {
namespace {

// How many pieces of `size` overlapping by CardOverlapMm cover `span` (a double: a span of
// kilometres needs more than an int holds).
double Pieces(double span, double size) {
    if (span <= size) {
        return 1;
    }
    return std::ceil((span - size) / (size - CardOverlapMm) - 1e-9) + 1;
}

CardTiling Tile(const planning::Plan& placed, double width, double height) {
    CardTiling tiling;
    tiling.whole = FeedLayoutBounds(placed, std::nullopt, /*centred=*/false);
    const LayoutBounds& whole = tiling.whole;
    const double columns = Pieces(whole.right - whole.left, width);
    const double rows = Pieces(whole.top - whole.bottom, height);
    if (!(columns * rows <= MaxCardSheets)) {
        return tiling;  // no tiles: too many
    }
    tiling.columns = static_cast<int>(columns);
    tiling.rows = static_cast<int>(rows);
    // Spread evenly, every tile of the full size, overlapping by CardOverlapMm or more: no
    // sliver of a last sheet.
    const auto offset = [](double span, double size, int pieces, int index) {
        return pieces > 1 ? index * (span - size) / (pieces - 1) : 0.0;
    };
    for (int row = 0; row < tiling.rows; ++row) {
        const double top = whole.top - offset(whole.top - whole.bottom, height, tiling.rows, row);
        for (int column = 0; column < tiling.columns; ++column) {
            const double left =
                whole.left + offset(whole.right - whole.left, width, tiling.columns, column);
            tiling.tiles.push_back({{left, std::min(left + width, whole.right),
                                     std::max(top - height, whole.bottom), top},
                                    row,
                                    column});
        }
    }
    return tiling;
}

}  // namespace

CardTiling TileCard(const planning::Plan& plan, double width_mm, double height_mm) {
    const double width = std::max(std::floor(width_mm / 10) * 10, CardOverlapMm + 10);
    const double height = std::max(std::floor(height_mm / 10) * 10, CardOverlapMm + 10);
    std::vector<std::size_t> order(plan.feeds.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Feed 1 first, then the nearest; a distance that is no number sorts last.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const auto key = [&](std::size_t index) {
            const double distance = plan.feeds[index].distance_mm;
            return index == 0 ? -1.0 : std::isfinite(distance) ? distance : HUGE_VAL;
        };
        return key(a) < key(b);
    });
    planning::Plan placed;
    CardTiling tiling;
    std::vector<int> unplaced;
    for (const std::size_t index : order) {
        const planning::FeedPlan& feed = plan.feeds[index];
        const bool finite = std::isfinite(feed.right_mm) && std::isfinite(feed.up_mm);
        if (finite && unplaced.empty()) {
            placed.feeds.push_back(feed);
            CardTiling trial = Tile(placed, width, height);
            if (!trial.tiles.empty() || index == 0) {
                tiling = std::move(trial);
                continue;
            }
            placed.feeds.pop_back();
        }
        unplaced.push_back(static_cast<int>(index));
    }
    if (tiling.tiles.empty()) {  // only feed 1, which always fits
        tiling = Tile(placed, width, height);
    }
    std::sort(unplaced.begin(), unplaced.end());
    tiling.unplaced = std::move(unplaced);
    return tiling;
}

planning::Plan MirroredPlan(const planning::Plan& plan) {
    planning::Plan mirrored = plan;
    for (planning::FeedPlan& feed : mirrored.feeds) {
        feed.right_mm = -feed.right_mm;
        feed.rotation_deg = -feed.rotation_deg;
        feed.relative_rotation_deg = -feed.relative_rotation_deg;
        feed.tilt_deg = feed.tilt_deg >= 0 ? 180 - feed.tilt_deg : -180 - feed.tilt_deg;
    }
    return mirrored;
}

std::vector<int> PackOnPages(const std::vector<double>& heights_mm, double page_mm) {
    std::vector<int> pages;
    int page = 0;
    double used = 0;
    for (const double height : heights_mm) {
        if (used > 0 && used + height > page_mm) {
            ++page;
            used = 0;
        }
        pages.push_back(page);
        used += height;
    }
    return pages;
}

}  // namespace tarvex

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plan_window/plan_form.h"
#include "plan_window/plan_report.h"
#include "planning/plan.h"

// The arithmetic of the plan's drawing, apart from painting it: how dense its grid may be, which
// feeds it can reach, where an arrow points at a feed beyond, and where labels go so that none
// covers another. Free of Qt; device coordinates have x to the right and y down.

namespace tarvex {

// The most lines of one kind (fine or major) the grid draws across or down a drawing, whatever its
// size: a focal length of 1e20 mm draws as few lines as one of 600. A card's sheet keeps its
// millimetre grid.
inline constexpr int MaxGridLinesPerAxis = 240;

// The window's drawing shows feeds up to this far from feed 1, across and up or down; a feed
// beyond is an arrow at its edge. A holder wider than a metre and a half is no holder.
inline constexpr double DrawingReachMm = 750;

struct GridSteps {
    double minor = 1;   // millimetres between fine lines
    double major = 10;  // between the darker, labelled lines: a multiple of `minor`
};

// The finest steps of 1, 2 or 5 times a power of ten whose lines are at least `min_pixels` apart
// and at most MaxGridLinesPerAxis across `span_mm`; the major step is the next power of ten (at
// least 10 mm).
//   (span 180 mm, 4 px/mm, min 4 px) -> {1, 10};  (180, 1.5, 4) -> {5, 10};
//   (600, 10, 4) -> {5, 10};  (2e20, 1e-18, 4) -> {5e18, 1e19}
GridSteps GridStepsFor(double span_mm, double pixels_per_mm, double min_pixels);

// The multiples of `step` within [from, to], at most `most` of them (none for a step that is not
// positive or a range that is not finite).
//   (-30, 90, 10, 100) -> {-30, -20, ..., 90};  (-25, 25, 20, 100) -> {-20, 0, 20}
std::vector<double> GridLines(double from, double to, double step, int most);

// What the window's drawing shows of a plan: the region around the feeds within DrawingReachMm
// (and the main window's feed 2 where it lies within it too), and the feeds beyond it.
struct DrawingExtent {
    LayoutBounds bounds;         // FeedLayoutBounds of the reachable feeds, centred
    std::vector<int> far_feeds;  // 0-based indices of the feeds beyond reach
    bool marker_shown = false;   // the marker lies within reach
};
//   feeds at (0, 0) and (64, -37), no marker -> bounds {-90, 90, -90, 90}, no far feeds
//   feeds at (0, 0) and (1e7, -6e6) -> bounds {-60, 60, -60, 60} (room for the arrows), far
//   feeds {1}
DrawingExtent DrawingExtentOf(const planning::Plan& plan,
                              const std::optional<FeedPosition>& marker);

// Where an arrow from feed 1 towards a feed at (right_mm, up_mm) meets the edge of `bounds`,
// pulled `inset_mm` inside it, and the direction it points in (a unit vector, up positive).
struct EdgeArrow {
    double right_mm = 0;
    double up_mm = 0;
    double towards_right = 0;
    double towards_up = 0;
};
//   (bounds {-30, 30, -30, 30}, feed at (1e20, -1e20), inset 0) -> {30, -30, 0.707, -0.707}
//   (the same, feed at (600, 0), inset 5) -> {25, 0, 1, 0}
EdgeArrow ArrowAtEdge(const LayoutBounds& bounds, double right_mm, double up_mm, double inset_mm);

// A rectangle in device units.
struct LabelBox {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};
bool Overlap(const LabelBox& a, const LabelBox& b);

// A label to place beside `anchor` (x, y), at least `clearance` from it.
struct LabelRequest {
    double x = 0;
    double y = 0;
    double clearance = 0;
    double width = 0;
    double height = 0;
};

// A box for each label, in request order, that overlaps no other label and none of `keep_clear`:
// the first free place of eight around its anchor (upper right first), then of rings further out;
// within `area` where there is room in it. Labels that find no room are stacked under the others,
// still apart.
//   two labels of 10x10 at the same anchor, clearance 5 -> two boxes that do not overlap
std::vector<LabelBox> PlaceLabels(const std::vector<LabelRequest>& requests,
                                  const std::vector<LabelBox>& keep_clear, const LabelBox& area);

}  // namespace tarvex

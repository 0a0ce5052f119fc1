#pragma once

#include <optional>

#include "plan_text/plan_text.h"
#include "plan_window/plan_form.h"
#include "planning/plan.h"

// The frame of the plan's drawing, for the window and the card; the words are plan_text.h's.
// Free of Qt.

namespace tarvex {

// The region a drawing of the feeds shows, in millimetres from feed 1's centre (up positive).
struct LayoutBounds {
    double left = 0;
    double right = 0;
    double bottom = 0;
    double top = 0;
};

// Every feed's circle and `marker`, with a margin, in whole tens of millimetres; `centred` makes
// the region symmetric about feed 1.
//   feeds at (0, 0) and (64, -37), no marker, not centred -> {-30, 90, -70, 30}
//   the same centred -> {-90, 90, -90, 90}
LayoutBounds FeedLayoutBounds(const planning::Plan& plan, const std::optional<FeedPosition>& marker,
                              bool centred);

}  // namespace tarvex

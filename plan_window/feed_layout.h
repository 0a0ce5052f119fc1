#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <optional>

#include "plan_window/plan_report.h"

class QPainter;

// The feeds of a plan drawn to scale, seen from behind the dish: the window's drawing and the
// card's 1:1 layout are the same picture at two scales.

namespace tarvex {

inline const QColor FeedColour(25, 90, 200);     // each feed's circle on screen
inline const QColor CardFeedColour(0, 40, 150);  // on paper: dark enough for a grey printer
inline const QColor MarkerColour(225, 120, 20);  // feed 2 where the main window puts it
inline const QColor RotationColour(40, 40, 40);  // the rotation marks through each circle

// A feed's look by its beam's verdict (planning::VerdictOf): its circle's colour on screen and
// on paper, and a pattern inside it that tells the verdicts apart on a grey print too. Feed 1
// and every feed of a plan without the optics look as today: FeedColour, no pattern.
struct FeedLook {
    QColor screen;
    QColor paper;
    Qt::BrushStyle pattern;
};
FeedLook LookOf(planning::BeamVerdict verdict);

// Where the drawing lies on its device.
struct FeedLayoutView {
    LayoutBounds bounds;  // the region drawn, in millimetres from feed 1's centre
    QPointF origin;       // feed 1's centre, in device pixels
    double pixels_per_mm = 1;
    QFont label_font;  // of the grid's figures
    // The card's: dark lines that survive a black-and-white printer, the drawing cut at `bounds`
    // (a sheet of a tiled layout) instead of arrows for the feeds beyond it.
    bool print = false;
};

// A point of the dish's holder in device pixels: right is +x, up is -y.
QPointF ToDevice(const FeedLayoutView& view, double right_mm, double up_mm);

// The room the grid's figures need left of and below the region, in device pixels.
double LabelRoom(const QFont& font, QPainter& painter);

// A millimetre grid over the region (never more than a few hundred lines) with its major lines
// labelled (figures left of and below it); each feed's 40 mm circle with a cross-hair at its
// centre, its number beside it, its rotation as a short line through the circle with a dot at
// the connector's end, in its verdict's look (LookOf); `marker`, if
// any, as a hollow dashed circle. On screen a feed outside the region is an arrow at its edge
// with the feed's number and distance. Labels never cover one another. Antialiased.
void PaintFeedLayout(QPainter& painter, const FeedLayoutView& view, const planning::Plan& plan,
                     const std::optional<FeedPosition>& marker);

}  // namespace tarvex

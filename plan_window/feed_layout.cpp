#include "plan_window/feed_layout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "plan_text/card_text.h"
#include "plan_window/layout_geometry.h"

namespace tarvex {
namespace {

struct Palette {
    QColor feed, minor_grid, major_grid, figures;
    double minor_mm, major_mm;  // grid line widths
};
const Palette Screen{FeedColour, {228, 232, 238}, {175, 184, 198}, {90, 98, 110}, 0.1, 0.25};
// Printed greys lighter than this vanish on many black-and-white printers.
const Palette Paper{CardFeedColour, {150, 150, 150}, {85, 85, 85}, Qt::black, 0.1, 0.2};

const Palette& PaletteOf(const FeedLayoutView& view) {
    return view.print ? Paper : Screen;
}

// A line of `mm` millimetres, never thinner than a device pixel.
double Width(const FeedLayoutView& view, double mm) {
    return std::max(1.0, mm * view.pixels_per_mm);
}

QRectF RegionRect(const FeedLayoutView& view) {
    const LayoutBounds& b = view.bounds;
    return QRectF(ToDevice(view, b.left, b.top), ToDevice(view, b.right, b.bottom));
}

bool Inside(const LayoutBounds& b, double right_mm, double up_mm) {
    return right_mm >= b.left && right_mm <= b.right && up_mm >= b.bottom && up_mm <= b.top;
}

LayoutBounds Widened(const LayoutBounds& b, double mm) {
    return {b.left - mm, b.right + mm, b.bottom - mm, b.top + mm};
}

void PaintGrid(QPainter& painter, const FeedLayoutView& view) {
    const LayoutBounds& b = view.bounds;
    const GridSteps steps =
        GridStepsFor(std::max(b.right - b.left, b.top - b.bottom), view.pixels_per_mm, 4);
    const Palette& colours = PaletteOf(view);
    for (const bool major : {false, true}) {
        painter.setPen(QPen(major ? colours.major_grid : colours.minor_grid,
                            Width(view, major ? colours.major_mm : colours.minor_mm)));
        const double step = major ? steps.major : steps.minor;
        for (const double x : GridLines(b.left, b.right, step, MaxGridLinesPerAxis + 1)) {
            painter.drawLine(ToDevice(view, x, b.bottom), ToDevice(view, x, b.top));
        }
        for (const double y : GridLines(b.bottom, b.top, step, MaxGridLinesPerAxis + 1)) {
            painter.drawLine(ToDevice(view, b.left, y), ToDevice(view, b.right, y));
        }
    }
}

// The major lines' figures, or every second or fifth of them where they would touch.
void PaintGridFigures(QPainter& painter, const FeedLayoutView& view) {
    painter.setFont(view.label_font);
    painter.setPen(PaletteOf(view).figures);
    const QFontMetricsF metrics(view.label_font, painter.device());
    const double room = metrics.horizontalAdvance(QStringLiteral("-000")) * 1.3;
    const LayoutBounds& b = view.bounds;
    double each =
        GridStepsFor(std::max(b.right - b.left, b.top - b.bottom), view.pixels_per_mm, 4).major;
    for (int tries = 0; each * view.pixels_per_mm < room && tries < 1000; ++tries) {
        const double mantissa = each / std::pow(10.0, std::floor(std::log10(each)));
        each *= mantissa < 1.5 ? 2 : mantissa < 3 ? 2.5 : 2;
    }
    const double gap = metrics.height() * 0.3;
    for (const double x : GridLines(b.left, b.right, each, MaxGridLinesPerAxis + 1)) {
        const QPointF at = ToDevice(view, x, b.bottom);
        const QRectF box(at.x() - room, at.y() + gap, 2 * room, metrics.height());
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, QString::number(x));
    }
    for (const double y : GridLines(b.bottom, b.top, each, MaxGridLinesPerAxis + 1)) {
        const QPointF at = ToDevice(view, b.left, y);
        const QRectF box(at.x() - room - gap, at.y() - metrics.height(), room,
                         2 * metrics.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::number(y));
    }
}

void PaintFeed(QPainter& painter, const FeedLayoutView& view, const planning::FeedPlan& feed,
               planning::BeamVerdict verdict) {
    const QPointF centre = ToDevice(view, feed.right_mm, feed.up_mm);
    const double radius_mm = planning::FeedBodyMm / 2;
    // Positive rotation is clockwise seen from behind, from the holder's up; the marks stay
    // outside the cross-hair so that neither hides the other.
    const double angle = feed.rotation_deg / planning::DegreesPerRadian;
    const auto along = [&](double mm) {
        return ToDevice(view, feed.right_mm + mm * std::sin(angle),
                        feed.up_mm + mm * std::cos(angle));
    };
    painter.setPen(QPen(RotationColour, Width(view, 0.8), Qt::SolidLine, Qt::RoundCap));
    for (const double side : {1.0, -1.0}) {
        painter.drawLine(along(side * 0.55 * radius_mm), along(side * 1.3 * radius_mm));
    }
    // The connector's end: at rotation 0 it points down.
    painter.setBrush(RotationColour);
    const double dot = std::max(2.0, 0.12 * radius_mm * view.pixels_per_mm);
    painter.drawEllipse(along(-1.3 * radius_mm), dot, dot);
    painter.setBrush(Qt::NoBrush);

    const double arm = 0.45 * radius_mm * view.pixels_per_mm;
    painter.setPen(QPen(Qt::black, Width(view, 0.3)));
    painter.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
    painter.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));

    // Drawn last, so that the circle stays whole over the marks.
    const FeedLook look = LookOf(verdict);
    const QColor colour = view.print ? look.paper : look.screen;
    QColor fill = colour;
    fill.setAlpha(view.print ? 0 : 28);
    const double pen = std::max(view.print ? 1.0 : 2.0, Width(view, 0.5));
    painter.setPen(QPen(
        colour, pen, verdict == planning::BeamVerdict::SecondDish ? Qt::DashLine : Qt::SolidLine));
    painter.setBrush(fill);
    const double radius = radius_mm * view.pixels_per_mm;
    painter.drawEllipse(centre, radius, radius);
    if (look.pattern != Qt::NoBrush) {
        QColor hatch = colour;
        hatch.setAlpha(view.print ? 255 : 110);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QBrush(hatch, look.pattern));
        painter.drawEllipse(centre, radius, radius);
    }
    painter.setBrush(Qt::NoBrush);
}

void PaintMarker(QPainter& painter, const FeedLayoutView& view, const FeedPosition& marker) {
    const QPointF centre = ToDevice(view, marker.right_mm, marker.up_mm);
    const double radius = planning::FeedBodyMm / 2 * view.pixels_per_mm;
    painter.setPen(QPen(MarkerColour, std::max(2.0, Width(view, 0.6)), Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
}

// An arrow whose tip lies at `tip`, pointing along (dx, dy) in device directions.
void PaintArrow(QPainter& painter, QPointF tip, QPointF along, double length) {
    const QPointF back = tip - along * length;
    const QPointF across(-along.y(), along.x());
    painter.setPen(QPen(RotationColour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(back, tip);
    const double head = length * 0.4;
    painter.setBrush(RotationColour);
    painter.drawPolygon(QPolygonF{tip, tip - along * head + across * head * 0.45,
                                  tip - along * head - across * head * 0.45});
    painter.setBrush(Qt::NoBrush);
}

QFont NumberFont(const QFont& base) {
    QFont font = base;
    font.setBold(true);
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * 1.6);
    } else {
        font.setPixelSize(font.pixelSize() * 8 / 5);
    }
    return font;
}

QString NumberText(int number) {
    return QString::number(number);
}

}  // namespace

FeedLook LookOf(planning::BeamVerdict verdict) {
    switch (verdict) {
        case planning::BeamVerdict::AsFeedOne:
            break;
        case planning::BeamVerdict::Weaker:
            return {{20, 140, 60}, {0, 90, 30}, Qt::BDiagPattern};
        case planning::BeamVerdict::StrongOnly:
            return {{205, 110, 0}, {120, 60, 0}, Qt::CrossPattern};
        case planning::BeamVerdict::SecondDish:
            return {{200, 30, 30}, {110, 0, 0}, Qt::DiagCrossPattern};
    }
    return {FeedColour, CardFeedColour, Qt::NoBrush};
}

QPointF ToDevice(const FeedLayoutView& view, double right_mm, double up_mm) {
    return view.origin + QPointF(right_mm, -up_mm) * view.pixels_per_mm;
}

double LabelRoom(const QFont& font, QPainter& painter) {
    const QFontMetricsF metrics(font, painter.device());
    return metrics.horizontalAdvance(QStringLiteral("-000")) * 1.3 + metrics.height();
}

void PaintFeedLayout(QPainter& painter, const FeedLayoutView& view, const planning::Plan& plan,
                     const std::optional<FeedPosition>& marker) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintGrid(painter, view);
    PaintGridFigures(painter, view);
    const QRectF region = RegionRect(view);
    if (view.print) {
        painter.setClipRect(region);
    }
    if (marker && Inside(view.bounds, marker->right_mm, marker->up_mm)) {
        PaintMarker(painter, view, *marker);
    }

    const QFont number_font = NumberFont(view.label_font);
    const QFontMetricsF metrics(number_font, painter.device());
    // On the card, beside each other feed: its satellite, its loss and any axial shift.
    const QFontMetricsF small(view.label_font, painter.device());
    std::vector<LabelRequest> details;
    std::vector<QString> detail_texts;
    const double radius = planning::FeedBodyMm / 2 * view.pixels_per_mm;
    // Feeds' numbers first, beside their circles; then the arrows' distances, clear of every
    // circle as well.
    std::vector<LabelRequest> numbers;
    std::vector<LabelRequest> distances;
    std::vector<QString> number_texts;
    std::vector<QString> distance_texts;
    std::vector<LabelBox> centres;  // and arrows
    std::vector<LabelBox> circles;
    const double arrow = 2.5 * metrics.height();
    for (std::size_t index = 0; index < plan.feeds.size(); ++index) {
        const planning::FeedPlan& feed = plan.feeds[index];
        const int number = static_cast<int>(index) + 1;
        if (view.print && !Inside(Widened(view.bounds, 1.3 * planning::FeedBodyMm / 2),
                                  feed.right_mm, feed.up_mm)) {
            continue;  // on another sheet, or named on the card instead
        }
        if (view.print || Inside(view.bounds, feed.right_mm, feed.up_mm)) {
            PaintFeed(painter, view, feed,
                      plan.optics ? planning::VerdictOf(feed) : planning::BeamVerdict::AsFeedOne);
            const QPointF centre = ToDevice(view, feed.right_mm, feed.up_mm);
            const QString text = NumberText(number);
            numbers.push_back({centre.x(), centre.y(), radius + metrics.height() * 0.15,
                               metrics.horizontalAdvance(text) + 2, metrics.height()});
            number_texts.push_back(text);
            if (view.print && index > 0) {
                const QString about = QString::fromStdString(CardFeedText(feed, plan));
                details.push_back({centre.x(), centre.y(), radius + small.height() * 0.2,
                                   small.boundingRect(QRectF(0, 0, 1e4, 1e4), 0, about).width() + 2,
                                   small.height() * static_cast<double>(about.count('\n') + 1)});
                detail_texts.push_back(about);
            }
            centres.push_back({centre.x() - radius / 2, centre.y() - radius / 2, radius, radius});
            circles.push_back({centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius});
            continue;
        }
        const double inset = arrow / 4 / view.pixels_per_mm;
        const EdgeArrow edge = ArrowAtEdge(view.bounds, feed.right_mm, feed.up_mm, inset);
        const QPointF tip = ToDevice(view, edge.right_mm, edge.up_mm);
        const QPointF along(edge.towards_right, -edge.towards_up);
        PaintArrow(painter, tip, along, arrow);
        const QPointF tail = tip - along * arrow;
        const QRectF shaft = QRectF(tail, tip).normalized().adjusted(-arrow * 0.2, -arrow * 0.2,
                                                                     arrow * 0.2, arrow * 0.2);
        centres.push_back({shaft.left(), shaft.top(), shaft.width(), shaft.height()});
        const QString text = QStringLiteral("%1: %2").arg(
            NumberText(number), QString::fromStdString(DistanceText(feed.distance_mm)));
        distances.push_back({tail.x(), tail.y(), metrics.height() * 0.3,
                             metrics.horizontalAdvance(text) + 2, metrics.height()});
        distance_texts.push_back(text);
    }

    const LabelBox area{region.left(), region.top(), region.width(), region.height()};
    const std::vector<LabelBox> number_boxes = PlaceLabels(numbers, centres, area);
    std::vector<LabelBox> taken = centres;
    taken.insert(taken.end(), circles.begin(), circles.end());
    taken.insert(taken.end(), number_boxes.begin(), number_boxes.end());
    const std::vector<LabelBox> distance_boxes = PlaceLabels(distances, taken, area);
    painter.setFont(number_font);
    // Not in the circle's colour: the circle alone marks where the centre is.
    painter.setPen(view.print ? QColor(Qt::black) : RotationColour);
    const auto draw = [&](const std::vector<LabelBox>& boxes, const std::vector<QString>& texts) {
        for (std::size_t index = 0; index < boxes.size(); ++index) {
            const LabelBox& box = boxes[index];
            painter.drawText(QRectF(box.left, box.top, box.width, box.height), Qt::AlignCenter,
                             texts[index]);
        }
    };
    draw(number_boxes, number_texts);
    draw(distance_boxes, distance_texts);
    taken.insert(taken.end(), distance_boxes.begin(), distance_boxes.end());
    painter.setFont(view.label_font);
    draw(PlaceLabels(details, taken, area), detail_texts);
    painter.restore();
}

}  // namespace tarvex

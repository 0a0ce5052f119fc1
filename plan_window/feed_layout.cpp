#include "plan_window/feed_layout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace tarvex {
namespace {

const QColor MinorGrid(228, 232, 238);
const QColor MajorGrid(175, 184, 198);
constexpr double Pi = 3.14159265358979323846;

// A line of `mm` millimetres, never thinner than a device pixel.
double Width(const FeedLayoutView& view, double mm) {
    return std::max(1.0, mm * view.pixels_per_mm);
}

// The finest step of lines that stay at least a few pixels apart: a millimetre where there is
// room for it.
double MinorStep(double pixels_per_mm) {
    for (const double step : {1.0, 2.0, 5.0}) {
        if (step * pixels_per_mm >= 4) {
            return step;
        }
    }
    return 10;
}

void PaintGrid(QPainter& painter, const FeedLayoutView& view) {
    const LayoutBounds& b = view.bounds;
    const double step = MinorStep(view.pixels_per_mm);
    const auto line = [&](double x1, double y1, double x2, double y2) {
        painter.drawLine(ToDevice(view, x1, y1), ToDevice(view, x2, y2));
    };
    for (const bool major : {false, true}) {
        painter.setPen(QPen(major ? MajorGrid : MinorGrid, Width(view, major ? 0.25 : 0.1)));
        const double each = major ? 10 : step;
        for (double x = b.left; x <= b.right + 1e-9; x += each) {
            line(x, b.bottom, x, b.top);
        }
        for (double y = b.bottom; y <= b.top + 1e-9; y += each) {
            line(b.left, y, b.right, y);
        }
    }
}

// Every tenth millimetre, or every second or fifth of those where the figures would touch.
void PaintGridFigures(QPainter& painter, const FeedLayoutView& view) {
    painter.setFont(view.label_font);
    painter.setPen(QColor(90, 98, 110));
    const QFontMetricsF metrics(view.label_font, painter.device());
    const double room = metrics.horizontalAdvance(QStringLiteral("-000")) * 1.3;
    double each = 10;
    while (each * view.pixels_per_mm < room) {
        each *= each == 20 ? 2.5 : 2;
    }
    const LayoutBounds& b = view.bounds;
    const double gap = metrics.height() * 0.3;
    for (double x = std::ceil(b.left / each) * each; x <= b.right + 1e-9; x += each) {
        const QPointF at = ToDevice(view, x, b.bottom);
        const QRectF box(at.x() - room, at.y() + gap, 2 * room, metrics.height());
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, QString::number(x));
    }
    for (double y = std::ceil(b.bottom / each) * each; y <= b.top + 1e-9; y += each) {
        const QPointF at = ToDevice(view, b.left, y);
        const QRectF box(at.x() - room - gap, at.y() - metrics.height(), room,
                         2 * metrics.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::number(y));
    }
}

void PaintFeed(QPainter& painter, const FeedLayoutView& view, const planning::FeedPlan& feed,
               int number) {
    const QPointF centre = ToDevice(view, feed.right_mm, feed.up_mm);
    const double radius = FeedDiameterMm / 2 * view.pixels_per_mm;
    // Positive rotation is clockwise seen from behind, from the holder's up. Under the circle,
    // which stays whole.
    const double angle = feed.rotation_deg * Pi / 180;
    const QPointF along(std::sin(angle), -std::cos(angle));
    painter.setPen(QPen(RotationColour, Width(view, 0.8), Qt::SolidLine, Qt::RoundCap));
    for (const double side : {1.0, -1.0}) {
        painter.drawLine(centre + side * 0.55 * radius * along,
                         centre + side * 1.3 * radius * along);
    }

    QColor fill = FeedColour;
    fill.setAlpha(28);
    painter.setPen(QPen(FeedColour, std::max(2.0, Width(view, 0.6))));
    painter.setBrush(fill);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(Qt::NoBrush);

    QFont font = view.label_font;
    font.setBold(true);
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * 1.6);
    } else {
        font.setPixelSize(font.pixelSize() * 8 / 5);
    }
    painter.setFont(font);
    // Not in the circle's colour: the circle alone marks where the centre is.
    painter.setPen(RotationColour);
    painter.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                     Qt::AlignCenter, QString::number(number));
}

void PaintMarker(QPainter& painter, const FeedLayoutView& view, const FeedPosition& marker) {
    const QPointF centre = ToDevice(view, marker.right_mm, marker.up_mm);
    const double radius = FeedDiameterMm / 2 * view.pixels_per_mm;
    painter.setPen(QPen(MarkerColour, std::max(2.0, Width(view, 0.6)), Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
}

}  // namespace

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
    if (marker) {
        PaintMarker(painter, view, *marker);
    }
    for (std::size_t index = 0; index < plan.feeds.size(); ++index) {
        PaintFeed(painter, view, plan.feeds[index], static_cast<int>(index) + 1);
    }
    painter.restore();
}

}  // namespace tarvex

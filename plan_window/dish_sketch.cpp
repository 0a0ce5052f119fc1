#include "plan_window/dish_sketch.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace tarvex {
namespace {

const QColor DishColour(60, 90, 150);
const QColor MeasureColour(198, 40, 40);
const QColor FeedColour(40, 40, 40);

// A measurement: a thin line with a letter beside its middle.
void Measure(QPainter& painter, QPointF from, QPointF to, const QString& letter, QPointF shift) {
    painter.setPen(QPen(MeasureColour, 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    for (const QPointF& end : {from, to}) {
        painter.drawEllipse(end, 1.6, 1.6);
    }
    painter.drawText(QRectF((from + to) / 2 + shift - QPointF(14, 8), QSizeF(28, 16)),
                     Qt::AlignCenter, letter);
}

void Feed(QPainter& painter, QPointF mouth, double angle_deg) {
    painter.save();
    painter.translate(mouth);
    painter.rotate(angle_deg);
    painter.setPen(Qt::NoPen);
    painter.setBrush(FeedColour);
    painter.drawRect(QRectF(0, -4, 16, 8));  // the body behind the horn's mouth at 0
    painter.restore();
}

}  // namespace

DishSketch::DishSketch(QWidget* parent) : QWidget(parent) {
    setMinimumSize(sizeHint());
}

void DishSketch::SetType(planning::DishType type) {
    if (type != m_type) {
        m_type = type;
        update();
    }
}

QSize DishSketch::sizeHint() const {
    return {260, 130};
}

void DishSketch::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setItalic(true);
    painter.setFont(font);
    const QPen dish(DishColour, 3, Qt::SolidLine, Qt::RoundCap);
    if (m_type == planning::DishType::PrimeFocus) {
        // From the side, facing right: a parabola of f/D 0.45, the feed at its focus.
        const double half = 55;
        const double depth = 15;
        const double left = 100;
        const double top = 65 - half;
        QPainterPath rim;
        for (int step = 0; step <= 40; ++step) {
            const double y = -half + 2 * half * step / 40;
            const QPointF point(left + depth * y * y / (half * half), 65 + y);
            step == 0 ? rim.moveTo(point) : rim.lineTo(point);
        }
        painter.setPen(dish);
        painter.drawPath(rim);
        const double focus = half * half / (4 * depth);  // F = D^2 / (16 d) with D = 2 half
        Feed(painter, QPointF(left + focus, 65), 0);
        Measure(painter, QPointF(left + depth + 12, top),
                QPointF(left + depth + 12, top + 2 * half), QStringLiteral("D"), QPointF(10, -30));
        Measure(painter, QPointF(left, 65), QPointF(left + depth, 65), QStringLiteral("d"),
                QPointF(0, -10));
        Measure(painter, QPointF(left, 95), QPointF(left + focus, 95), QStringLiteral("F"),
                QPointF(0, 10));
        return;
    }
    // From in front: the rim an ellipse W wide and H high.
    painter.setPen(dish);
    const QRectF face(14, 10, 70, 100);
    painter.drawEllipse(face);
    Measure(painter, QPointF(face.left(), face.center().y()),
            QPointF(face.right(), face.center().y()), QStringLiteral("W"), QPointF(0, -10));
    Measure(painter, QPointF(face.right() + 10, face.top()),
            QPointF(face.right() + 10, face.bottom()), QStringLiteral("H"), QPointF(12, 0));
    // From the side, facing right and up: the reflector's arc, the feed below in front of it.
    const QPointF high(170, 10);
    const QPointF low(148, 112);
    const QPointF control(122, 56);
    const QPointF centre = (high + low) / 4 + control / 2;  // the arc's middle
    QPainterPath arc(high);
    arc.quadTo(control, low);
    painter.setPen(dish);
    painter.drawPath(arc);
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawLine(high, low);  // the straightedge from rim to rim
    Measure(painter, centre, (high + low) / 2, QStringLiteral("d"), QPointF(2, -11));
    const QPointF mouth(250, 104);
    Feed(painter, mouth, 23);  // looking at the reflector's centre
    Measure(painter, mouth, centre, QStringLiteral("L"), QPointF(0, -10));
    Measure(painter, mouth, low, QStringLiteral("r1"), QPointF(0, 10));
    Measure(painter, mouth, high, QStringLiteral("r2"), QPointF(12, -6));
}

}  // namespace tarvex

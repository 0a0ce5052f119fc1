#include "plan_window/feed_layout_widget.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "plan_window/layout_geometry.h"

namespace tarvex {

FeedLayoutWidget::FeedLayoutWidget(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void FeedLayoutWidget::SetPlan(const std::optional<planning::Plan>& plan,
                               const std::optional<FeedPosition>& marker) {
    m_plan = plan;
    m_marker = plan ? marker : std::nullopt;
    update();
}

std::optional<FeedLayoutView> FeedLayoutWidget::View() const {
    if (!m_plan) {
        return std::nullopt;
    }
    QFont figures = font();
    figures.setPointSizeF(std::max(6.0, figures.pointSizeF() * 0.8));
    const LayoutBounds bounds = DrawingExtentOf(*m_plan, m_marker).bounds;
    const QFontMetricsF metrics(figures, this);
    const double room = metrics.horizontalAdvance(QStringLiteral("-000")) * 1.3 + metrics.height();
    const double side = std::min(width(), height()) - room - 8;
    const double per_mm = std::max(side, 1.0) / (bounds.right - bounds.left);
    // Centred in the widget, the figures' room to the left and below included.
    const QPointF corner((width() - side - room) / 2 + room, (height() - side - room) / 2);
    const QPointF origin = corner + QPointF(-bounds.left, bounds.top) * per_mm;
    return FeedLayoutView{bounds, origin, per_mm, figures, false};
}

void FeedLayoutWidget::paintEvent(QPaintEvent* /*event*/) {
    const std::optional<FeedLayoutView> view = View();
    if (!view) {
        return;
    }
    QPainter painter(this);
    const bool marker_shown = DrawingExtentOf(*m_plan, m_marker).marker_shown;
    PaintFeedLayout(painter, *view, *m_plan, marker_shown ? m_marker : std::nullopt);
}

}  // namespace tarvex

#pragma once

#include <QWidget>
#include <optional>

#include "plan_window/feed_layout.h"
#include "planning/plan.h"

namespace tarvex {

// The drawing of the plan window: the feeds to scale, fitted to the widget as it is resized. It
// reaches DrawingReachMm from feed 1; a feed beyond is an arrow at its edge.
class FeedLayoutWidget : public QWidget {
    Q_OBJECT

  public:
    explicit FeedLayoutWidget(QWidget* parent = nullptr);

    // Nothing is drawn but the background without a plan.
    void SetPlan(const std::optional<planning::Plan>& plan,
                 const std::optional<FeedPosition>& marker);

    // Where the plan is drawn in the widget now; none without a plan.
    std::optional<FeedLayoutView> View() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<planning::Plan> m_plan;
    std::optional<FeedPosition> m_marker;
};

}  // namespace tarvex

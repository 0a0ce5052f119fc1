#pragma once

#include <QWidget>

#include "planning/dish.h"

namespace tarvex {

// A small sketch of the dish with the letters of its measurements: a prime-focus dish seen from
// the side (D, the depth d under a straightedge, F), an offset dish from in front (W, H) and from
// the side (d, the feed's distances L to the centre and r1, r2 to the rim).
class DishSketch : public QWidget {
    Q_OBJECT

  public:
    explicit DishSketch(QWidget* parent = nullptr);

    void SetType(planning::DishType type);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    planning::DishType m_type = planning::DishType::PrimeFocus;
};

}  // namespace tarvex

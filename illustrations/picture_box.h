#pragma once

#include <QFrame>
#include <QImage>
#include <QPoint>

namespace tarvex {

// A picture box: a sunken frame that shows one bitmap at its own size from its inner top-left
// corner, cut off at its inner edges and never scaled; the rest of the box stays empty. Controls
// placed on the box count their positions from the same inner corner.
class PictureBox : public QFrame {
    Q_OBJECT

  public:
    explicit PictureBox(QWidget* parent);

    // Replaces the bitmap shown.
    void SetPicture(QImage picture);
    const QImage& Picture() const { return m_picture; }

    // The inner top-left corner in the box's own coordinates.
    QPoint InnerOrigin() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage m_picture;
};

}  // namespace tarvex

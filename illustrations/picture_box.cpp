#include "illustrations/picture_box.h"

#include <QPainter>
#include <utility>

namespace tarvex {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAutoFillBackground(true);
}

void PictureBox::SetPicture(QImage picture) {
    m_picture = std::move(picture);
    update();
}

QPoint PictureBox::InnerOrigin() const {
    return contentsRect().topLeft();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_picture.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(InnerOrigin(), m_picture);
}

}  // namespace tarvex

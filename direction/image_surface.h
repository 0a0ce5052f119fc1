#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <functional>

#include "direction/drawing_surface.h"

namespace tarvex {

// The drawing surface of a window, kept as an image that the window paints, so the drawing
// survives a repaint. Twips become pixels at 15 to a pixel. Drawing is aliased, so every figure
// has exactly the colour it was drawn in.
class ImageSurface : public DrawingSurface {
  public:
    // `background` is what Clear leaves; `font` is the window font; `yield` lets pending events
    // be handled and answers whether drawing may go on.
    ImageSurface(QSize pixels, QColor background, const QFont& font, std::function<bool()> yield);

    const QImage& Image() const { return m_image; }
    ColorValue ForeColor() const { return m_fore_color; }

    void Clear() override;
    void SetDrawMode(DrawMode mode) override;
    void SetFillStyle(FillStyle style) override;
    void SetPenWidth(int pixels) override;
    void SetForeColor(ColorValue color) override;
    void Line(float x1, float y1, float x2, float y2, ColorValue color) override;
    void Circle(float x, float y, float radius) override;
    // Throws RuntimeError for an angle outside -2 pi .. 2 pi.
    void Arc(float x, float y, float radius, double start, double end) override;
    void Point(float x, float y) override;
    void SetTextPosition(float x, float y) override;
    void Print(std::string_view text) override;
    bool Yield() override;

  private:
    QPen Pen(ColorValue color) const;
    QBrush FillBrush() const;
    void BeginPainting(QPainter& painter) const;

    QImage m_image;
    QColor m_background;
    QFont m_font;
    std::function<bool()> m_yield;
    // The platform's defaults until the diagram sets them.
    FillStyle m_fill_style = FillStyle::Transparent;
    int m_pen_width = 1;
    ColorValue m_fore_color = ColorBlack;
    float m_text_x = 0;
    float m_text_y = 0;
};

}  // namespace tarvex

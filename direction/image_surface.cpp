#include "direction/image_surface.h"

#include <QFontMetrics>
#include <QPen>
#include <QString>
#include <cmath>
#include <numbers>
#include <utility>

#include "conversions/runtime_error.h"

namespace tarvex {
namespace {

constexpr double TwipsPerPixelF = 15.0;
constexpr double FullTurn = 2 * std::numbers::pi;

int ToPixels(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixelF));
}

QPoint ToPixelPoint(double x_twips, double y_twips) {
    return QPoint(ToPixels(x_twips), ToPixels(y_twips));
}

// Qt measures arcs in sixteenths of a degree, counterclockwise from 3 o'clock, as the surface's
// radians are.
int ToSixteenthDegrees(double radians) {
    return static_cast<int>(std::lround(radians * 180.0 / std::numbers::pi * 16.0));
}

// Counterclockwise from `from` to `to`; the same direction twice is the whole circle.
double CounterclockwiseSpan(double from, double to) {
    double span = to - from;
    while (span <= 0) {
        span += FullTurn;
    }
    return span;
}

void RequireWithinOneTurn(double radians) {
    if (!(std::fabs(radians) <= FullTurn)) {
        throw RuntimeError(ErrorKind::DrawingArgument,
                           "Invalid argument: arc angle outside -2 pi .. 2 pi");
    }
}

// A colour value (red in the lowest byte) as a QColor.  0xFF0000 -> blue;  0x0000FF -> red
QColor ToQColor(ColorValue color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace

ImageSurface::ImageSurface(QSize pixels, QColor background, const QFont& font,
                           std::function<bool()> yield)
    : m_image(pixels, QImage::Format_RGB32),
      m_background(background),
      m_font(font),
      m_yield(std::move(yield)) {
    m_font.setStyleStrategy(QFont::NoAntialias);
    m_image.fill(m_background);
}

QPen ImageSurface::Pen(ColorValue color) const {
    return QPen(ToQColor(color), m_pen_width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QBrush ImageSurface::FillBrush() const {
    return m_fill_style == FillStyle::Solid ? QBrush(Qt::black) : QBrush(Qt::NoBrush);
}

void ImageSurface::BeginPainting(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    // Copy-pen is the only mode: the pen colour replaces the pixels.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
}

void ImageSurface::Clear() {
    m_image.fill(m_background);
    m_text_x = 0;
    m_text_y = 0;
}

// Copy-pen is the only mode there is, and always in effect (see BeginPainting).
void ImageSurface::SetDrawMode(DrawMode /*mode*/) {}

void ImageSurface::SetFillStyle(FillStyle style) {
    m_fill_style = style;
}

void ImageSurface::SetPenWidth(int pixels) {
    m_pen_width = pixels;
}

void ImageSurface::SetForeColor(ColorValue color) {
    m_fore_color = color;
}

void ImageSurface::Line(float x1, float y1, float x2, float y2, ColorValue color) {
    QPainter painter(&m_image);
    BeginPainting(painter);
    painter.setPen(Pen(color));
    painter.drawLine(ToPixelPoint(x1, y1), ToPixelPoint(x2, y2));
}

void ImageSurface::Circle(float x, float y, float radius) {
    QPainter painter(&m_image);
    BeginPainting(painter);
    painter.setPen(Pen(m_fore_color));
    painter.setBrush(FillBrush());
    const int r = ToPixels(radius);
    painter.drawEllipse(ToPixelPoint(x, y), r, r);
}

void ImageSurface::Arc(float x, float y, float radius, double start, double end) {
    RequireWithinOneTurn(start);
    RequireWithinOneTurn(end);
    const double from = std::fabs(start);
    const double to = std::fabs(end);
    const int r = ToPixels(radius);
    const QPoint centre = ToPixelPoint(x, y);
    const QRect box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    const int start16 = ToSixteenthDegrees(from);
    const int span16 = ToSixteenthDegrees(CounterclockwiseSpan(from, to));

    QPainter painter(&m_image);
    BeginPainting(painter);
    painter.setPen(Pen(m_fore_color));
    if (std::signbit(start) && std::signbit(end)) {
        painter.setBrush(FillBrush());
        painter.drawPie(box, start16, span16);
        return;
    }
    painter.drawArc(box, start16, span16);
    // Screen y grows downward, so a counterclockwise angle goes up by its sine.
    const auto radius_end = [&](double angle) {
        return ToPixelPoint(x + radius * std::cos(angle), y - radius * std::sin(angle));
    };
    if (std::signbit(start)) {
        painter.drawLine(centre, radius_end(from));
    }
    if (std::signbit(end)) {
        painter.drawLine(centre, radius_end(to));
    }
}

void ImageSurface::Point(float x, float y) {
    QPainter painter(&m_image);
    BeginPainting(painter);
    painter.setPen(Pen(m_fore_color));
    painter.drawPoint(ToPixelPoint(x, y));
}

void ImageSurface::SetTextPosition(float x, float y) {
    m_text_x = x;
    m_text_y = y;
}

void ImageSurface::Print(std::string_view text) {
    QPainter painter(&m_image);
    BeginPainting(painter);
    // Text leaves its background alone: only the glyphs are drawn.
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setFont(m_font);
    painter.setPen(ToQColor(m_fore_color));
    const QFontMetrics metrics(m_font, &m_image);
    const QPoint top_left = ToPixelPoint(m_text_x, m_text_y);
    painter.drawText(top_left + QPoint(0, metrics.ascent()),
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    m_text_x = 0;
    m_text_y += static_cast<float>(metrics.height() * TwipsPerPixelF);
}

bool ImageSurface::Yield() {
    return m_yield ? m_yield() : true;
}

}  // namespace tarvex

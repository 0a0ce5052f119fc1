#include "direction/image_surface.h"

#include <QtTest>
#include <cmath>
#include <numbers>

#include "conversions/runtime_error.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

constexpr double Pi = std::numbers::pi;
const QRgb Background = qRgb(0, 128, 0);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Black = qRgb(0, 0, 0);
// A 100 x 100 pixel surface; its centre (50, 50) is (750, 750) in twips.
constexpr float Mid = 750;

ImageSurface MakeSurface(std::function<bool()> yield = {}) {
    LoadProgramFonts();
    return ImageSurface(QSize(100, 100), QColor(Background), SansSerifFont(8.25, false),
                        std::move(yield));
}

QRgb At(const ImageSurface& surface, int x, int y) {
    return surface.Image().pixel(x, y) | 0xFF000000u;
}

// The pixel at `degrees` counterclockwise from 3 o'clock, `radius` pixels from the centre.
QRgb AtAngle(const ImageSurface& surface, double degrees, int radius) {
    const double radians = degrees * Pi / 180;
    return At(surface, 50 + static_cast<int>(std::lround(radius * std::cos(radians))),
              50 - static_cast<int>(std::lround(radius * std::sin(radians))));
}

}  // namespace

class ImageSurfaceTest : public QObject {
    Q_OBJECT

  private slots:
    // Radius 600 twips (40 pixels), counterclockwise from 3 o'clock. A negative angle also draws
    // the radius to its end of the arc; both negative close the sector, which the fill style
    // fills. Points are (degrees, pixels from the centre), red, background or black.
    void Arcs_data() {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<bool>("solid");
        QTest::addColumn<QList<QPointF>>("red");
        QTest::addColumn<QList<QPointF>>("background");
        QTest::addColumn<QList<QPointF>>("black");
        const auto at = [](QList<double> degrees, double radius) {
            QList<QPointF> points;
            for (double angle : degrees) {
                points << QPointF(angle, radius);
            }
            return points;
        };
        QTest::newRow("first quadrant") << 0.0 << Pi / 2 << false << at({30, 60}, 40)
                                        << at({120, 200, 300}, 40) + at({0}, 0) << at({}, 0);
        QTest::newRow("through 3 o'clock") << Pi / 2 << 0.0 << false << at({120, 200, 300}, 40)
                                           << at({30, 60}, 40) + at({0}, 0) << at({}, 0);
        QTest::newRow("lower half") << Pi << 2 * Pi << false << at({200, 270, 340}, 40)
                                    << at({20, 90, 160}, 40) + at({0}, 0) << at({}, 0);
        QTest::newRow("same angle: whole circle")
            << 1.0 << 1.0 << false << at({30, 120, 200, 300}, 40) << at({0}, 0) << at({}, 0);
        QTest::newRow("negative start") << -Pi / 2 << Pi << true << at({135}, 40) + at({90}, 20)
                                        << at({180, 135}, 20) << at({}, 0);
        QTest::newRow("both negative")
            << -Pi / 4 << -3 * Pi / 4 << false << at({90}, 40) + at({45, 135}, 20)
            << at({90, 270}, 20) << at({}, 0);
        QTest::newRow("both negative, solid")
            << -Pi / 4 << -3 * Pi / 4 << true << at({90}, 40) + at({45, 135}, 20) << at({270}, 20)
            << at({90}, 20);
    }
    void Arcs() {
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(bool, solid);
        ImageSurface surface = MakeSurface();
        surface.SetForeColor(ColorRed);
        surface.SetPenWidth(3);
        surface.SetFillStyle(solid ? FillStyle::Solid : FillStyle::Transparent);
        surface.Arc(Mid, Mid, 600, start, end);
        QFETCH(QList<QPointF>, red);
        QFETCH(QList<QPointF>, background);
        QFETCH(QList<QPointF>, black);
        for (const auto& [points, colour] :
             {std::pair{red, Red}, std::pair{background, Background}, std::pair{black, Black}}) {
            for (const QPointF point : points) {
                QVERIFY2(AtAngle(surface, point.x(), static_cast<int>(point.y())) == colour,
                         qPrintable(QStringLiteral("%1 at %2").arg(point.x()).arg(point.y())));
            }
        }
    }

    void ArcAnglesBeyondATurnAreRefused() {
        ImageSurface surface = MakeSurface();
        QVERIFY_THROWS_EXCEPTION(RuntimeError, surface.Arc(Mid, Mid, 600, 0, 6.2832));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, surface.Arc(Mid, Mid, 600, -6.2832, 0));
        surface.Arc(Mid, Mid, 600, -2 * Pi, 2 * Pi);
        QCOMPARE(AtAngle(surface, 200, 40), Black);  // the foreground is black at first
    }

    void CirclesAreFilledByTheFillStyle() {
        ImageSurface surface = MakeSurface();
        surface.SetForeColor(ColorRed);
        surface.Circle(450, Mid, 300);  // transparent at first
        QCOMPARE(At(surface, 30, 50), Background);
        QCOMPARE(At(surface, 10, 50), Red);
        surface.SetFillStyle(FillStyle::Solid);
        surface.Circle(1050, Mid, 300);
        QCOMPARE(At(surface, 70, 50), Black);
        QCOMPARE(At(surface, 90, 50), Red);
    }

    void ClearErasesAndKeepsTheForegroundColour() {
        ImageSurface surface = MakeSurface();
        surface.SetForeColor(ColorRed);
        surface.SetPenWidth(4);
        surface.Line(0, 0, 1500, 1500, ColorBlue);
        surface.Clear();
        QCOMPARE(surface.Image(), MakeSurface().Image());
        QCOMPARE(surface.ForeColor(), ColorRed);
    }
};

}  // namespace tarvex

QTEST_MAIN(tarvex::ImageSurfaceTest)
#include "image_surface_test.moc"

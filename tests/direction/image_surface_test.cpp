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

// The smallest rectangle holding every pixel that is not the background.
QRect Inked(const ImageSurface& surface) {
    QRect inked;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            if (At(surface, x, y) != Background) {
                inked |= QRect(x, y, 1, 1);
            }
        }
    }
    return inked;
}

}  // namespace

class ImageSurfaceTest : public QObject {
    Q_OBJECT

  private slots:
    void ColourValuesHoldRedInTheLowestByte() {
        QCOMPARE(ToQColor(ColorRed), QColor(255, 0, 0));
        QCOMPARE(ToQColor(ColorBlue), QColor(0, 0, 255));
        QCOMPARE(ToQColor(ColorCyan), QColor(0, 255, 255));
        QCOMPARE(ToQColor(0x00FF00), QColor(0, 255, 0));
    }

    void TwipsAreFifteenToAPixel() {
        ImageSurface surface = MakeSurface();
        surface.Line(150, 300, 1350, 300, ColorRed);
        QCOMPARE(Inked(surface), QRect(10, 20, 81, 1));
        QCOMPARE(At(surface, 10, 20), Red);
    }

    // Radius 600 twips (40 pixels); each row lists angles on the arc and angles off it.
    void ArcsRunCounterclockwiseFromThreeOClock_data() {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<QList<double>>("on");
        QTest::addColumn<QList<double>>("off");
        QTest::newRow("first quadrant")
            << 0.0 << Pi / 2 << QList<double>{30, 60} << QList<double>{120, 200, 300};
        QTest::newRow("through 3 o'clock")
            << Pi / 2 << 0.0 << QList<double>{120, 200, 300} << QList<double>{30, 60};
        QTest::newRow("lower half")
            << Pi << 2 * Pi << QList<double>{200, 270, 340} << QList<double>{20, 90, 160};
        QTest::newRow("same angle: whole circle")
            << 1.0 << 1.0 << QList<double>{30, 120, 200, 300} << QList<double>{};
    }
    void ArcsRunCounterclockwiseFromThreeOClock() {
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(QList<double>, on);
        QFETCH(QList<double>, off);
        ImageSurface surface = MakeSurface();
        surface.SetForeColor(ColorRed);
        surface.SetPenWidth(3);
        surface.Arc(Mid, Mid, 600, start, end);
        for (double degrees : on) {
            QVERIFY2(AtAngle(surface, degrees, 40) == Red, qPrintable(QString::number(degrees)));
        }
        for (double degrees : off) {
            QVERIFY2(AtAngle(surface, degrees, 40) == Background,
                     qPrintable(QString::number(degrees)));
        }
        QCOMPARE(At(surface, 50, 50), Background);  // no radius
    }

    void ANegativeAngleAlsoDrawsItsRadius() {
        ImageSurface surface = MakeSurface();
        surface.SetForeColor(ColorRed);
        surface.SetPenWidth(3);
        surface.SetFillStyle(FillStyle::Solid);
        surface.Arc(Mid, Mid, 600, -Pi / 2, Pi);
        QCOMPARE(AtAngle(surface, 135, 40), Red);
        QCOMPARE(AtAngle(surface, 90, 20), Red);          // the radius up to the start
        QCOMPARE(AtAngle(surface, 180, 20), Background);  // none to the end
        QCOMPARE(AtAngle(surface, 135, 20), Background);  // not closed, not filled
    }

    void BothAnglesNegativeCloseTheSector() {
        for (FillStyle style : {FillStyle::Solid, FillStyle::Transparent}) {
            ImageSurface surface = MakeSurface();
            surface.SetForeColor(ColorRed);
            surface.SetPenWidth(3);
            surface.SetFillStyle(style);
            surface.Arc(Mid, Mid, 600, -Pi / 4, -3 * Pi / 4);
            QCOMPARE(AtAngle(surface, 90, 40), Red);
            QCOMPARE(AtAngle(surface, 45, 20), Red);   // radius to the start
            QCOMPARE(AtAngle(surface, 135, 20), Red);  // radius to the end
            QCOMPARE(AtAngle(surface, 90, 20), style == FillStyle::Solid ? Black : Background);
            QCOMPARE(AtAngle(surface, 270, 20), Background);
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

    void APointIsADiscOfThePenWidth() {
        ImageSurface surface = MakeSurface();
        surface.SetForeColor(ColorBlue);
        surface.SetPenWidth(20);
        surface.Point(Mid, Mid);
        const QRect inked = Inked(surface);
        QCOMPARE(inked.size(), QSize(20, 20));
        QVERIFY(inked.contains(50, 50));
        QCOMPARE(At(surface, inked.left(), inked.top()), Background);  // round, not square
    }

    void TextStartsAtItsTopLeftCornerThenTheNextLine() {
        ImageSurface surface = MakeSurface();
        surface.SetForeColor(ColorRed);
        surface.SetTextPosition(300, 450);  // (20, 30) pixels
        surface.Print("HH");
        const QRect first = Inked(surface);
        QVERIFY(first.isValid());
        QVERIFY2(first.top() >= 30 && first.top() <= 33, qPrintable(QString::number(first.top())));
        QVERIFY(first.left() >= 20 && first.left() <= 22);
        const int line_height = QFontMetrics(SansSerifFont(8.25, false)).height();
        QVERIFY(first.bottom() < 30 + line_height);

        surface.Print("HH");  // at the left edge, one line lower
        const QRect both = Inked(surface);
        QVERIFY(both.left() <= 2);
        QCOMPARE(both.bottom(), first.bottom() + line_height);
        // Only the glyphs are drawn: no box of another colour behind them.
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x) {
                QVERIFY(At(surface, x, y) == Background || At(surface, x, y) == Red);
            }
        }
    }

    void ClearErasesAndKeepsTheForegroundColour() {
        ImageSurface surface = MakeSurface();
        surface.SetForeColor(ColorRed);
        surface.SetPenWidth(4);
        surface.SetTextPosition(750, 750);
        surface.Line(0, 0, 1500, 1500, ColorBlue);
        surface.Clear();
        QVERIFY(Inked(surface).isNull());
        surface.Print("H");  // back at (0, 0)
        QVERIFY(Inked(surface).top() < 4 && Inked(surface).left() < 3);
        QCOMPARE(surface.ForeColor(), ColorRed);
    }
};

}  // namespace tarvex

QTEST_MAIN(tarvex::ImageSurfaceTest)
#include "image_surface_test.moc"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "ui/bitmap_font.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

const char* const WineSansSerif = "/usr/share/wine/fonts/ms_sans_serif.ttf";

QByteArray ReadWineSansSerif() {
    QFile file(QString::fromUtf8(WineSansSerif));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text drawn black on white at the top-left corner of a 60 x 30 image.
QImage Draw(const QFont& font, const QString& text) {
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(2, QFontMetrics(font).ascent()), text);
    return image;
}

bool Black(const QImage& image, int x, int y) {
    return x >= 0 && qGray(image.pixel(x, y)) < 128;
}

}  // namespace

class ProgramFontsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        if (!QFile::exists(QString::fromUtf8(WineSansSerif))) {
            QSKIP("fonts-wine is not installed");
        }
        LoadProgramFonts();
    }

    void EachStrikeBecomesAFontOfItsOwn() {
        const std::vector<QByteArray> strikes = SplitBitmapStrikes(ReadWineSansSerif());
        QCOMPARE(strikes.size(), std::size_t{3});
        for (const QByteArray& strike : strikes) {
            QVERIFY(!EmboldenBitmapFont(strike).isEmpty());
        }
    }

    void MalformedFontsGiveNothing_data() {
        QTest::addColumn<QByteArray>("font");
        const QByteArray font = ReadWineSansSerif();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a font") << QByteArray("GIF89a, certainly not a TrueType font");
        QTest::newRow("cut in the table directory") << font.left(40);
        QTest::newRow("cut in the tables") << font.left(font.size() / 2);
        QTest::newRow("no bitmaps") << QByteArray::fromHex("0001000000000000000000000000");
    }
    void MalformedFontsGiveNothing() {
        QFETCH(QByteArray, font);
        QVERIFY(SplitBitmapStrikes(font).empty());
        QVERIFY(EmboldenBitmapFont(font).isEmpty());
    }

    // 8.25, 9.75 and 12 points are the strikes whose cells are 13, 16 and 20 pixels high.
    void SansSerifUsesTheBitmapStrikes_data() {
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<int>("cell");
        for (bool bold : {false, true}) {
            const char* weight = bold ? "bold" : "normal";
            QTest::addRow("8.25 %s", weight) << 8.25 << bold << 13;
            QTest::addRow("9.75 %s", weight) << 9.75 << bold << 16;
            QTest::addRow("12 %s", weight) << 12.0 << bold << 20;
        }
    }
    void SansSerifUsesTheBitmapStrikes() {
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(int, cell);
        const QFont font = SansSerifFont(points, bold);
        const QFontInfo info(font);
        QCOMPARE(info.family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(info.pixelSize(), cell);
        QCOMPARE(QFontMetrics(font).height(), cell);
        QCOMPARE(info.styleName(), bold ? QStringLiteral("Bold") : QStringLiteral("Medium"));
        // Cyrillic comes from the font itself, not from a fallback.
        QVERIFY(QFontMetrics(font).inFont(QChar(0x0416)));
    }

    // Bold is the normal glyph overstruck one pixel to the right, one pixel wider a character.
    void BoldIsOverstruckOnePixelToTheRight_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("one Latin glyph") << QStringLiteral("l");
        QTest::newRow("one Cyrillic glyph") << QStringLiteral("Ж");
        QTest::newRow("Latin") << QStringLiteral("EXIT");
        QTest::newRow("Cyrillic") << QStringLiteral("Жук");
        QTest::newRow("blanks count too") << QStringLiteral("a  b");
    }
    void BoldIsOverstruckOnePixelToTheRight() {
        QFETCH(QString, text);
        for (double points : {8.25, 9.75, 12.0}) {
            const QFont normal = SansSerifFont(points, false);
            const QFont bold = SansSerifFont(points, true);
            QCOMPARE(QFontMetrics(bold).horizontalAdvance(text),
                     QFontMetrics(normal).horizontalAdvance(text) + text.size());
            if (text.size() > 1) {
                continue;  // beyond the first glyph the bold advances shift the pixels
            }
            const QImage normal_image = Draw(normal, text);
            const QImage bold_image = Draw(bold, text);
            for (int y = 0; y < normal_image.height(); ++y) {
                for (int x = 0; x < normal_image.width(); ++x) {
                    const bool expected =
                        Black(normal_image, x, y) || Black(normal_image, x - 1, y);
                    QVERIFY2(Black(bold_image, x, y) == expected,
                             qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
                }
            }
        }
    }

    // Run on its own with QT_SCALE_FACTOR=2: bitmap glyphs would keep their size there.
    void ScaledScreensGetTheScalableSans() {
        if (qGuiApp->devicePixelRatio() == 1.0) {
            QSKIP("the screen does not scale");
        }
        for (bool bold : {false, true}) {
            const QFont font = SansSerifFont(8.25, bold);
            QVERIFY(QFontInfo(font).family() != QStringLiteral("MS Sans Serif"));
            QCOMPARE(font.pixelSize(), 11);
        }
    }
};

}  // namespace tarvex

QTEST_MAIN(tarvex::ProgramFontsTest)
#include "program_fonts_test.moc"

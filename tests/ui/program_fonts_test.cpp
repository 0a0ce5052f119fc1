#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/window_support.h"

namespace tarvex {
namespace {

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
        if (!QFile::exists(QStringLiteral(TARVEX_BITMAP_SANS_SOURCE))) {
            QSKIP("fonts-wine is not installed");
        }
        LoadProgramFonts();
    }

    void HugeFaceFilesAreLeftOut() {
        QTemporaryDir folder;
        QFile small(folder.filePath(QStringLiteral("sans_serif_1.ttf")));
        QVERIFY(small.open(QIODevice::WriteOnly) && small.write("face") == 4);
        small.close();
        QFile huge(folder.filePath(QStringLiteral("sans_serif_2.ttf")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(64LL * 1024 * 1024));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("sans_serif_2.ttf is too large"));
        const std::vector<QByteArray> faces = ReadBuiltFaces(folder.path());
        QCOMPARE(faces.size(), std::size_t{1});
        QCOMPARE(faces[0], QByteArray("face"));
    }

    // 8.25, 9.75 and 12 points are the strikes whose cells are 13, 16 and 20 pixels high; the
    // Cyrillic comes from the font itself, not from a fallback.
    void SansSerifUsesTheBitmapStrikes() {
        for (const auto& [points, cell] :
             {std::pair{8.25, 13}, std::pair{9.75, 16}, std::pair{12.0, 20}}) {
            for (bool bold : {false, true}) {
                const QFont font = SansSerifFont(points, bold);
                const QFontInfo info(font);
                QCOMPARE(info.family(), QStringLiteral("MS Sans Serif"));
                QCOMPARE(info.pixelSize(), cell);
                QCOMPARE(QFontMetrics(font).height(), cell);
                QCOMPARE(info.styleName(),
                         bold ? QStringLiteral("Bold") : QStringLiteral("Medium"));
                QVERIFY(QFontMetrics(font).inFont(QChar(0x0416)));
            }
        }
    }

    // Bold is the normal glyph overstruck one pixel to the right, one pixel wider a character
    // (blanks too).
    void BoldIsOverstruckOnePixelToTheRight() {
        for (const double points : {8.25, 9.75, 12.0}) {
            const QFont normal = SansSerifFont(points, false);
            const QFont bold = SansSerifFont(points, true);
            for (const QString& text : {QStringLiteral("Жук"), QStringLiteral("a  b")}) {
                QCOMPARE(QFontMetrics(bold).horizontalAdvance(text),
                         QFontMetrics(normal).horizontalAdvance(text) + text.size());
            }
            // Pixels of one glyph: beyond the first the bold advances shift them.
            const QImage normal_image = Draw(normal, QStringLiteral("Ж"));
            const QImage bold_image = Draw(bold, QStringLiteral("Ж"));
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

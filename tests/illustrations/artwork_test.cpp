// The program's own pictures as the build renders them: the eight illustrations beside the
// executable and the two pictures of the main window's design.

#include <QCoreApplication>
#include <QFile>
#include <QtTest>
#include <array>

#include "assets/design_pictures.h"
#include "illustrations/bitmap_file.h"

namespace tarvex {
namespace {

const std::array<const char*, 8> IllustrationFiles = {
    "GDS001.BMP", "1k.BMP", "2k.BMP", "3k.BMP", "4k.BMP", "TRANS002.BMP", "YGOLP.BMP", "5k.BMP"};

bool IsRed(QRgb pixel) {
    return qRed(pixel) > 180 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

bool IsBlack(QRgb pixel) {
    return qRed(pixel) < 50 && qGreen(pixel) < 50 && qBlue(pixel) < 50;
}

int CountIn(const QImage& image, QRect area, bool (*matches)(QRgb)) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += matches(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

// The row where the red arrow is widest: its head.
int ArrowHeadRow(const QImage& image) {
    int widest_row = -1;
    int widest = 0;
    for (int y = 0; y < image.height(); ++y) {
        const int red = CountIn(image, QRect(0, y, image.width(), 1), IsRed);
        if (red > widest) {
            widest = red;
            widest_row = y;
        }
    }
    return widest_row;
}

}  // namespace

class ArtworkTest : public QObject {
    Q_OBJECT

  private slots:
    // Sized for the picture box (581 x 392 inside): none much smaller, none that loses more than
    // a strip, and one larger, to show the cut-off.
    void illustrationsAreCompleteTwentyFourBitBitmaps() {
        int larger = 0;
        for (const char* name : IllustrationFiles) {
            const QString path = QCoreApplication::applicationDirPath() + '/' + name;
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            const QByteArray bytes = file.readAll();
            QVERIFY2(!BitmapDefect(std::string_view(bytes.constData(), bytes.size())), name);
            QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16{24});
            const QSize size = ReadBitmapFile(QFile::encodeName(path).toStdString()).size();
            QVERIFY2(size.width() >= 560 && size.width() <= 660, name);
            QVERIFY2(size.height() >= 370 && size.height() <= 440, name);
            larger += size.width() > 581 && size.height() > 392;
        }
        QVERIFY(larger >= 1);
    }

    void designPicturesShowTheirArrowsAndSigns() {
        const QImage image3 = Image3Picture();
        const QImage image2 = Image2Picture();
        for (const QImage& image : {image3, image2}) {
            QCOMPARE(image.size(), QSize(45, 30));
            QCOMPARE(image.format(), QImage::Format_RGB888);
            // Arrow on the horn (left third), sign on the body (right half).
            QVERIFY(CountIn(image, QRect(0, 0, 20, 30), IsRed) > 40);
            QVERIFY(CountIn(image, QRect(20, 0, 25, 30), IsBlack) > 15);
        }
        // Image3's arrow points down, Image2's up.
        QVERIFY(ArrowHeadRow(image3) > 15);
        QVERIFY(ArrowHeadRow(image2) < 15);
        // A plus has a vertical bar; a minus has none.
        QVERIFY(CountIn(image3, QRect(27, 10, 3, 3), IsBlack) > 4);
        QCOMPARE(CountIn(image2, QRect(27, 10, 3, 3), IsBlack), 0);
    }
};

}  // namespace tarvex

QTEST_MAIN(tarvex::ArtworkTest)
#include "artwork_test.moc"

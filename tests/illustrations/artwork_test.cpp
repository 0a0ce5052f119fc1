// The program's own pictures, as the build renders them: the eight illustrations beside the
// executable and the two pictures of the main window's design.

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <array>

#include "assets/design_pictures.h"
#include "illustrations/bitmap_file.h"
#include "illustrations/fris123.h"
#include "tests/support/recording_notifier.h"

namespace tarvex {
namespace {

const std::array<const char*, 8> IllustrationFiles = {
    "GDS001.BMP", "1k.BMP", "2k.BMP", "3k.BMP", "4k.BMP", "TRANS002.BMP", "YGOLP.BMP", "5k.BMP"};

// The inner size of the picture box.
const QSize BoxInside(581, 392);

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
    void illustrationsAreCompleteTwentyFourBitBitmaps_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : IllustrationFiles) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }

    void illustrationsAreCompleteTwentyFourBitBitmaps() {
        QFETCH(QString, name);
        const QString path = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
        const QByteArray bytes = FileBytes(path);
        QVERIFY2(!bytes.isEmpty(), qPrintable(path));
        QVERIFY(!BitmapDefect(std::string_view(bytes.constData(), bytes.size())));
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16{24});
        const QImage image = ReadBitmapFile(QFile::encodeName(path).toStdString());
        // Sized for the picture box: none much smaller, none that loses more than a strip.
        QVERIFY(image.width() >= 560 && image.width() <= 660);
        QVERIFY(image.height() >= 370 && image.height() <= 440);
    }

    void oneIllustrationIsLargerThanTheBox() {
        int larger = 0;
        for (const char* name : IllustrationFiles) {
            const QImage image(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                               QLatin1String(name));
            larger += image.width() > BoxInside.width() && image.height() > BoxInside.height();
        }
        QVERIFY(larger >= 1);
    }

    void theWindowShowsAllEightBesideTheExecutable() {
        RecordingNotifier notifier;
        ScopedNotifier scoped(notifier);
        QPointer<FRIS123> window = new FRIS123([] {});
        QList<QImage> shown;
        for (int press = 0; press < 8; ++press) {
            window->findChild<QPushButton*>(QStringLiteral("RISYNOK"))->click();
            QVERIFY(!shown.contains(window->Picture()));
            shown << window->Picture();
        }
        QVERIFY2(notifier.errors.isEmpty(), qPrintable(notifier.errors.join('\n')));
        QCOMPARE(window->PictureStep(), std::int16_t{0});
        delete window.data();
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

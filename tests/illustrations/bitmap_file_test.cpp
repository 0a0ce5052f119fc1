#include "illustrations/bitmap_file.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>
#include <string>

#include "conversions/runtime_error.h"

namespace tarvex {
namespace {

QByteArray BitmapBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QByteArray Bitmap24(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(QColor(10, 120, 230));
    return BitmapBytes(image);
}

QByteArray Bitmap8(int width, int height) {
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(1);
    return BitmapBytes(image);
}

QByteArray WithU32(QByteArray bytes, int offset, quint32 value) {
    qToLittleEndian(value, bytes.data() + offset);
    return bytes;
}

// A 3 x 2 24-bit bitmap with the old 12-byte header: 16-bit width and height, rows of 12 bytes.
QByteArray CoreBitmap() {
    QByteArray bytes("BM", 2);
    bytes.append(QByteArray(12, '\0'));
    bytes = WithU32(bytes, 2, 14 + 12 + 24);
    bytes = WithU32(bytes, 10, 14 + 12);
    QByteArray header(12, '\0');
    qToLittleEndian<quint32>(12, header.data());
    qToLittleEndian<quint16>(3, header.data() + 4);
    qToLittleEndian<quint16>(2, header.data() + 6);
    qToLittleEndian<quint16>(1, header.data() + 8);
    qToLittleEndian<quint16>(24, header.data() + 10);
    return bytes + header + QByteArray(24, '\x7f');
}

QString DefectText(const QByteArray& bytes) {
    const std::optional<std::string> defect =
        BitmapDefect(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return defect ? QString::fromStdString(*defect) : QString();
}

}  // namespace

class BitmapFileTest : public QObject {
    Q_OBJECT

  private slots:
    void defects_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("defect");
        const QByteArray box = Bitmap24(585, 396);
        const QByteArray paletted = Bitmap8(33, 7);
        QTest::newRow("24-bit, complete") << box << QString();
        QTest::newRow("24-bit, last byte missing")
            << box.left(box.size() - 1)
            << QStringLiteral("the file is cut short: 695429 of 695430 bytes");
        QTest::newRow("24-bit, half")
            << box.left(box.size() / 2)
            << QStringLiteral("the file is cut short: 347715 of 695430 bytes");
        QTest::newRow("24-bit, with trailing bytes") << box + QByteArray(10, '\0') << QString();
        QTest::newRow("top row first, complete") << WithU32(box, 22, quint32(-396)) << QString();
        QTest::newRow("top row first, cut short")
            << WithU32(box, 22, quint32(-396)).left(60000)
            << QStringLiteral("the file is cut short: 60000 of 695430 bytes");
        QTest::newRow("paletted, complete") << paletted << QString();
        QTest::newRow("paletted, last row missing")
            << paletted.left(paletted.size() - 36)
            << QStringLiteral("the file is cut short: %1 of %2 bytes")
                   .arg(paletted.size() - 36)
                   .arg(paletted.size());
        QTest::newRow("old header, complete") << CoreBitmap() << QString();
        QTest::newRow("old header, cut short")
            << CoreBitmap().left(40) << QStringLiteral("the file is cut short: 40 of 50 bytes");
        QTest::newRow("file header only")
            << box.left(14) << QStringLiteral("the file is cut short: 14 of 18 bytes");
        QTest::newRow("information header cut")
            << box.left(30) << QStringLiteral("the file is cut short: 30 of 54 bytes");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("not a Windows bitmap");
        QTest::newRow("another format")
            << QByteArray("GIF89a\x01\x00\x01\x00", 10) << QStringLiteral("not a Windows bitmap");
        QTest::newRow("no width") << WithU32(box, 18, 0)
                                  << QStringLiteral("the bitmap header is damaged");
        QTest::newRow("no height")
            << WithU32(box, 22, 0) << QStringLiteral("the bitmap header is damaged");
        QTest::newRow("unknown header size")
            << WithU32(box, 14, 20) << QStringLiteral("the bitmap header is damaged");
        QTest::newRow("pixels inside the headers")
            << WithU32(box, 10, 20) << QStringLiteral("the bitmap header is damaged");
        // Sizes whose pixel data no file holds, without overflowing the arithmetic.
        QTest::newRow("absurd size")
            << WithU32(WithU32(box, 18, 0x7FFFFFFF), 22, 0x7FFFFFFF)
            << QStringLiteral("the file is cut short: 695430 of 13835058048839712822 bytes");
        QTest::newRow("absurd size and depth")
            << WithU32(WithU32(WithU32(box, 18, 0x7FFFFFFF), 22, 0x7FFFFFFF), 28, 0xFFFF)
            << QStringLiteral("the file is cut short: 695430 of 18446744073709551615 bytes");
    }

    void defects() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, defect);
        QCOMPARE(DefectText(bytes), defect);
    }

    void readsACompleteBitmapAtItsOwnSize() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("picture.BMP"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Bitmap24(585, 396));
        file.close();
        const QImage image = ReadBitmapFile(QFile::encodeName(path).toStdString());
        QCOMPARE(image.size(), QSize(585, 396));
        QCOMPARE(image.pixelColor(584, 395), QColor(10, 120, 230));
    }

    void failuresNameTheFileAndTheReason_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray box = Bitmap24(100, 50);
        QTest::newRow("missing") << QByteArray() << QStringLiteral("Cannot read picture: %1 (");
        QTest::newRow("cut short")
            << box.left(box.size() - 1)
            << QStringLiteral("Invalid picture: %1 (the file is cut short: 15053 of 15054 bytes)");
        // Headers in order, pixels that no decoder accepts: RLE8 for a 24-bit bitmap.
        QTest::newRow("undecodable")
            << WithU32(box, 30, 1)
            << QStringLiteral("Invalid picture: %1 (the bitmap cannot be decoded)");
    }

    void failuresNameTheFileAndTheReason() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("2k.BMP"));
        if (!bytes.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        try {
            ReadBitmapFile(QFile::encodeName(path).toStdString());
            QFAIL("no error");
        } catch (const RuntimeError& error) {
            const QString text = QString::fromUtf8(error.what());
            QVERIFY2(text.startsWith(message.arg(path)), qPrintable(text));
        }
    }
};

}  // namespace tarvex

QTEST_MAIN(tarvex::BitmapFileTest)
#include "bitmap_file_test.moc"

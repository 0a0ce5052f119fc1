#include "illustrations/bitmap_file.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>
#include <string>

#include "conversions/runtime_error.h"

namespace tarvex {
namespace {

QByteArray Bitmap(int width, int height, QImage::Format format = QImage::Format_RGB888) {
    QImage image(width, height, format);
    image.setColorTable({qRgb(0, 0, 0), qRgb(10, 120, 230)});
    image.fill(QColor(10, 120, 230));  // index 1 of a paletted one
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QByteArray WithU32(QByteArray bytes, int offset, quint32 value) {
    qToLittleEndian(value, bytes.data() + offset);
    return bytes;
}

// A 3 x 2 24-bit bitmap with the old 12-byte header: 16-bit width and height, rows of 12 bytes.
QByteArray CoreBitmap() {
    const quint16 words[] = {0x4D42, 50, 0, 0, 0, 26, 0, 12, 0, 3, 2, 1, 24};  // little-endian
    QByteArray bytes(26, '\0');
    qToLittleEndian<quint16>(words, std::size(words), bytes.data());
    return bytes + QByteArray(24, '\x7f');
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
        const auto cut = [](qint64 size, quint64 needed) {
            return QStringLiteral("the file is cut short: %1 of %2 bytes").arg(size).arg(needed);
        };
        const QString damaged = QStringLiteral("the bitmap header is damaged");
        const QString alien = QStringLiteral("not a Windows bitmap");
        const QByteArray box = Bitmap(585, 396);
        const QByteArray paletted = Bitmap(33, 7, QImage::Format_Indexed8);
        QTest::newRow("24-bit, complete") << box << QString();
        QTest::newRow("24-bit, last byte missing") << box.left(695429) << cut(695429, 695430);
        QTest::newRow("24-bit, trailing bytes") << box + QByteArray(10, '\0') << QString();
        QTest::newRow("top row first, cut short")
            << WithU32(box, 22, quint32(-396)).left(60000) << cut(60000, 695430);
        QTest::newRow("paletted, last row missing")
            << paletted.left(paletted.size() - 36) << cut(paletted.size() - 36, paletted.size());
        QTest::newRow("old header, cut short") << CoreBitmap().left(40) << cut(40, 50);
        QTest::newRow("file header only") << box.left(14) << cut(14, 18);
        QTest::newRow("information header cut") << box.left(30) << cut(30, 54);
        QTest::newRow("empty") << QByteArray() << alien;
        QTest::newRow("another format") << QByteArray("GIF89a\x01\x00\x01\x00", 10) << alien;
        QTest::newRow("no width") << WithU32(box, 18, 0) << damaged;
        QTest::newRow("unknown header size") << WithU32(box, 14, 20) << damaged;
        QTest::newRow("pixels inside the headers") << WithU32(box, 10, 20) << damaged;
        // Sizes whose pixel data no file holds, without overflowing the arithmetic.
        QTest::newRow("absurd size and depth")
            << WithU32(WithU32(WithU32(box, 18, 0x7FFFFFFF), 22, 0x7FFFFFFF), 28, 0xFFFF)
            << cut(695430, 18446744073709551615u);
    }

    void defects() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, defect);
        QCOMPARE(DefectText(bytes), defect);
    }

    void failuresNameTheFileAndTheReason_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray box = Bitmap(100, 50);
        QTest::newRow("complete") << box << QString();
        QTest::newRow("missing") << QByteArray() << QStringLiteral("Cannot read picture: %1 (");
        // Refused at once, never waited on.
        QTest::newRow("FIFO") << QByteArray("<fifo>")
                              << QStringLiteral("Not a picture file: %1 (a FIFO)");
        QTest::newRow("folder") << QByteArray("<folder>")
                                << QStringLiteral("Not a picture file: %1 (a folder)");
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
        if (bytes == "<fifo>") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (bytes == "<folder>") {
            QVERIFY(QDir().mkdir(path));
        } else if (!bytes.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        try {
            const QImage image = ReadBitmapFile(QFile::encodeName(path).toStdString());
            QVERIFY2(message.isEmpty(), "no error");
            QCOMPARE(image.size(), QSize(100, 50));
            QCOMPARE(image.pixelColor(99, 49), QColor(10, 120, 230));
        } catch (const RuntimeError& error) {
            const QString text = QString::fromUtf8(error.what());
            QVERIFY2(!message.isEmpty() && text.startsWith(message.arg(path)), qPrintable(text));
        }
    }
};

}  // namespace tarvex

QTEST_MAIN(tarvex::BitmapFileTest)
#include "bitmap_file_test.moc"

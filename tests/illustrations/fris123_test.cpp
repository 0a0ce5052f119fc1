#include "illustrations/fris123.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <array>

#include "illustrations/picture_box.h"
#include "tests/support/recording_notifier.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

// The cycle as an installer sees it: eight presses, then the first picture again.
const std::array<const char*, 8> CycleFiles = {"GDS001.BMP", "1k.BMP",       "2k.BMP",    "3k.BMP",
                                               "4k.BMP",     "TRANS002.BMP", "YGOLP.BMP", "5k.BMP"};

const QRgb Red = qRgb(255, 0, 0);
const QRgb Green = qRgb(0, 255, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb Cyan = qRgb(0, 255, 255);
const QRgb Magenta = qRgb(255, 0, 255);
const QRgb White = qRgb(255, 255, 255);

// Each picture of a test cycle is one flat colour, told apart by its index.
QRgb ColourOf(int index) {
    return qRgb(20 + 30 * index, 200 - 20 * index, 90);
}

QImage FlatPicture(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB888);
    image.fill(QColor(colour));
    return image;
}

QRgb At(const QImage& image, QPoint point) {
    return image.pixel(point) | 0xFF000000u;
}

void WritePicture(const QDir& folder, const QString& name, const QImage& image) {
    QVERIFY(image.save(folder.filePath(name), "BMP"));
}

void WriteCycle(const QDir& folder) {
    for (int i = 0; i < static_cast<int>(CycleFiles.size()); ++i) {
        WritePicture(folder, QString::fromLatin1(CycleFiles[i]),
                     FlatPicture(QSize(40 + i, 30), ColourOf(i)));
    }
}

void Press(FRIS123& window) {
    window.findChild<QPushButton*>(QStringLiteral("RISYNOK"))->click();
}

// The colour of the bitmap shown, 0 when none is.
QRgb ShownColour(const FRIS123& window) {
    return window.Picture().isNull() ? 0 : At(window.Picture(), QPoint(0, 0));
}

// The picture box as it appears on the screen, from its inner corner.
QImage BoxContents(FRIS123& window, QPoint& inner_origin) {
    auto* box = window.findChild<PictureBox*>(QStringLiteral("Picture1"));
    inner_origin = box->InnerOrigin();
    return box->grab().toImage().convertToFormat(QImage::Format_RGB888);
}

// Discards a window left open by a test.
void Dispose(QPointer<FRIS123>& window) {
    delete window.data();
}

}  // namespace

class Fris123Test : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        QVERIFY(m_folder.isValid());
        QDir(m_folder.path()).removeRecursively();
        QDir().mkpath(m_folder.path());
    }

    void design() {
        QPointer<FRIS123> window = new FRIS123([] {}, Folder());
        QCOMPARE(window->windowTitle(), QStringLiteral("RIS123"));
        QVERIFY(window->isVisible());
        QCOMPARE(window->geometry(), QRect(124, 102, 424, 333));
        auto* box = window->findChild<PictureBox*>(QStringLiteral("Picture1"));
        QCOMPARE(box->geometry(), QRect(0, 0, 585, 396));
        auto* exit = window->findChild<QPushButton*>(QStringLiteral("cmd1"));
        auto* next = window->findChild<QPushButton*>(QStringLiteral("RISYNOK"));
        QCOMPARE(exit->text(), QStringLiteral("ВЫХОД"));
        QCOMPARE(next->text().at(0), QChar(u'P'));  // Latin, not Cyrillic Р
        QCOMPARE(next->text(), QStringLiteral("P\u0418\u0421.1,2,3"));
        QCOMPARE(exit->parentWidget(), box);
        QCOMPARE(exit->geometry().topLeft(), box->InnerOrigin() + QPoint(16, 8));
        QCOMPARE(next->geometry().topLeft(), box->InnerOrigin() + QPoint(16, 48));
        QVERIFY(window->Picture().isNull());
        QCOMPARE(window->PictureStep(), std::int16_t{0});
        Dispose(window);
    }

    void eightPressesThenTheFirstAgain() {
        WriteCycle(m_folder.path());
        RecordingNotifier notifier;
        ScopedNotifier scoped(notifier);
        QPointer<FRIS123> window = new FRIS123([] {}, Folder());
        for (int press = 0; press < 9; ++press) {
            const int shown = press % 8;
            Press(*window);
            QCOMPARE(ShownColour(*window), ColourOf(shown));
            QCOMPARE(window->Picture().width(), 40 + shown);
            QCOMPARE(window->PictureStep(), static_cast<std::int16_t>((shown + 1) % 8));
        }
        QVERIFY(notifier.errors.isEmpty());
        Dispose(window);
    }

    void exitDiscardsTheWindowAndReopeningStartsAfresh() {
        WriteCycle(m_folder.path());
        int main_window_shown = 0;
        QPointer<FRIS123> window = new FRIS123([&] { ++main_window_shown; }, Folder());
        Press(*window);
        Press(*window);
        Press(*window);
        window->findChild<QPushButton*>(QStringLiteral("cmd1"))->click();
        QCOMPARE(main_window_shown, 1);
        QVERIFY(!window->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());

        window = new FRIS123([&] { ++main_window_shown; }, Folder());
        QVERIFY(window->isVisible());
        QCOMPARE(window->PictureStep(), std::int16_t{0});
        QVERIFY(window->Picture().isNull());
        Press(*window);
        QCOMPARE(ShownColour(*window), ColourOf(0));
        Dispose(window);
    }

    void closingTheFrameDiscardsWithoutShowingTheMainWindow() {
        int main_window_shown = 0;
        QPointer<FRIS123> window = new FRIS123([&] { ++main_window_shown; }, Folder());
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
        QCOMPARE(main_window_shown, 0);
    }

    void showingWhileLoadedKeepsStepAndPicture() {
        WriteCycle(m_folder.path());
        QPointer<FRIS123> window = new FRIS123([] {}, Folder());
        Press(*window);
        Press(*window);
        window->hide();
        ShowInFront(*window);  // what the main window's picture button does
        QVERIFY(window->isVisible());
        QCOMPARE(window->PictureStep(), std::int16_t{2});
        QCOMPARE(ShownColour(*window), ColourOf(1));
        Dispose(window);
    }

    void largerPictureIsCutOffNeverScaled() {
        // 700 x 500, white, with marker stripes straddling the box's right and bottom edges.
        QImage picture = FlatPicture(QSize(700, 500), White);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if ((x >= 575 && x < 590) || (y >= 385 && y < 400)) {
                    picture.setPixel(x, y, Blue);
                }
            }
        }
        WritePicture(m_folder.path(), QStringLiteral("GDS001.BMP"), picture);
        QPointer<FRIS123> window = new FRIS123([] {}, Folder());
        Press(*window);
        QPoint inner;
        const QImage box = BoxContents(*window, inner);
        QCOMPARE(box.size(), QSize(585, 396));
        // Unscaled: the stripes start at the picture's own column 575 and row 385.
        QCOMPARE(At(box, inner + QPoint(574, 200)), White);
        QCOMPARE(At(box, inner + QPoint(575, 200)), Blue);
        QCOMPARE(At(box, inner + QPoint(300, 384)), White);
        QCOMPARE(At(box, inner + QPoint(300, 385)), Blue);
        QCOMPARE(At(box, inner + QPoint(580, 391)), Blue);
        // Cut off at the inner edges: nothing of the picture lies on the box's frame.
        QVERIFY(At(box, QPoint(584, 200)) != Blue);
        QVERIFY(At(box, QPoint(300, 395)) != Blue);
        Dispose(window);
    }

    void smallerPictureLeavesTheRestEmpty() {
        WritePicture(m_folder.path(), QStringLiteral("GDS001.BMP"),
                     FlatPicture(QSize(200, 150), Red));
        QPointer<FRIS123> window = new FRIS123([] {}, Folder());
        QPoint inner;
        const QImage empty = BoxContents(*window, inner);
        Press(*window);
        const QImage box = BoxContents(*window, inner);
        QCOMPARE(At(box, inner + QPoint(199, 149)), Red);
        QCOMPARE(At(box, inner + QPoint(120, 100)), Red);
        for (const QPoint beside : {QPoint(200, 100), QPoint(120, 150), QPoint(400, 300)}) {
            QCOMPARE(At(box, inner + beside), At(empty, inner + beside));
        }
        QVERIFY(At(empty, inner + QPoint(400, 300)) != Red);
        Dispose(window);
    }

    void unreadablePictureIsReportedAndChangesNothing_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        const QByteArray complete = BitmapBytes(FlatPicture(QSize(60, 40), Green));
        QTest::newRow("missing") << false << QByteArray() << QStringLiteral("File not found");
        QTest::newRow("cut short")
            << true << complete.left(complete.size() - 100) << QStringLiteral("cut short");
        QTest::newRow("headers only") << true << complete.left(54) << QStringLiteral("cut short");
        QTest::newRow("empty") << true << QByteArray() << QStringLiteral("not a Windows bitmap");
        QTest::newRow("not a bitmap") << true << QByteArray("GIF89a\x01\x00\x01\x00", 10)
                                      << QStringLiteral("not a Windows bitmap");
    }

    void unreadablePictureIsReportedAndChangesNothing() {
        QFETCH(bool, present);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QDir folder(m_folder.path());
        WritePicture(folder, QStringLiteral("GDS001.BMP"), FlatPicture(QSize(50, 50), Cyan));
        if (present) {
            QFile file(folder.filePath(QStringLiteral("1k.BMP")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        RecordingNotifier notifier;
        ScopedNotifier scoped(notifier);
        QPointer<FRIS123> window = new FRIS123([] {}, Folder());
        Press(*window);
        Press(*window);

        QCOMPARE(notifier.errors.size(), 1);
        QVERIFY2(notifier.errors[0].contains(QStringLiteral("1k.BMP")),
                 qPrintable(notifier.errors[0]));
        QVERIFY2(notifier.errors[0].contains(reason), qPrintable(notifier.errors[0]));
        QCOMPARE(window->PictureStep(), std::int16_t{1});
        QCOMPARE(ShownColour(*window), Cyan);

        // The program goes on: with the file in place, the same press succeeds.
        WritePicture(folder, QStringLiteral("1k.BMP"), FlatPicture(QSize(50, 50), Magenta));
        Press(*window);
        QCOMPARE(notifier.errors.size(), 1);
        QCOMPARE(ShownColour(*window), Magenta);
        QCOMPARE(window->PictureStep(), std::int16_t{2});
        Dispose(window);
    }

    void namesAreFoundWhateverTheirLetterCase() {
        const QDir folder(m_folder.path());
        WritePicture(folder, QStringLiteral("gds001.bmp"), FlatPicture(QSize(10, 10), Red));
        WritePicture(folder, QStringLiteral("1K.Bmp"), FlatPicture(QSize(10, 10), Green));
        RecordingNotifier notifier;
        ScopedNotifier scoped(notifier);
        QPointer<FRIS123> window = new FRIS123([] {}, Folder());
        Press(*window);
        QCOMPARE(ShownColour(*window), Red);
        Press(*window);
        QCOMPARE(ShownColour(*window), Green);
        QVERIFY(notifier.errors.isEmpty());
        Dispose(window);
    }

    void folderWithTrailingSeparatorGivesOneSeparatorPerPath() {
        WriteCycle(m_folder.path());
        QPointer<FRIS123> window = new FRIS123([] {}, Folder() + "/");
        QCOMPARE(window->PictureFolder(), Folder());
        RecordingNotifier notifier;
        ScopedNotifier scoped(notifier);
        Press(*window);
        QVERIFY(notifier.errors.isEmpty());
        QCOMPARE(ShownColour(*window), ColourOf(0));
        Dispose(window);
    }

  private:
    static QByteArray BitmapBytes(const QImage& image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        return bytes;
    }

    std::string Folder() const { return m_folder.path().toStdString(); }

    QTemporaryDir m_folder;
};

}  // namespace tarvex

QTEST_MAIN(tarvex::Fris123Test)
#include "fris123_test.moc"

#include "illustrations/fris123.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <memory>

#include "illustrations/picture_box.h"
#include "tests/support/recording_notifier.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

const char* const CycleFiles[] = {"GDS001.BMP", "1k.BMP",       "2k.BMP",    "3k.BMP",
                                  "4k.BMP",     "TRANS002.BMP", "YGOLP.BMP", "5k.BMP"};
const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb Cyan = qRgb(0, 255, 255);
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

void Press(FRIS123& window) {
    window.findChild<QPushButton*>(QStringLiteral("RISYNOK"))->click();
}

// The colour of the bitmap shown, 0 when none is.
QRgb ShownColour(const FRIS123& window) {
    return window.Picture().isNull() ? 0 : At(window.Picture(), QPoint(0, 0));
}

// A bad picture: the bytes of the bitmap kept, or what stands in its place.
enum Defect { Missing = -1, Folder = -2, Fifo = -3 };

}  // namespace

class Fris123Test : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        m_notifier = RecordingNotifier();
        m_main_window_shown = 0;
    }

    void cleanup() { delete m_window.data(); }

    void eightPressesThenTheFirstAgain() {
        WriteCycle();
        FRIS123& window = Open();
        QVERIFY(window.Picture().isNull());
        QCOMPARE(window.PictureStep(), std::int16_t{0});
        for (int press = 0; press < 9; ++press) {
            Press(window);
            QCOMPARE(ShownColour(window), ColourOf(press % 8));
            QCOMPARE(window.Picture().width(), 40 + press % 8);
            QCOMPARE(window.PictureStep(), static_cast<std::int16_t>((press + 1) % 8));
        }
        QVERIFY(m_notifier.errors.isEmpty());
        window.hide();
        ShowInFront(window);  // what the main window's picture button does while it is loaded
        QCOMPARE(window.PictureStep(), std::int16_t{1});
        QCOMPARE(ShownColour(window), ColourOf(0));
    }

    // ВЫХОД shows the main window and discards this one; closing the frame only discards it.
    void exitDiscardsTheWindowAndReopeningStartsAfresh() {
        WriteCycle();
        Press(Open());
        Press(Open());
        m_window->findChild<QPushButton*>(QStringLiteral("cmd1"))->click();
        QCOMPARE(m_main_window_shown, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_window.isNull());

        FRIS123& window = Open();
        QVERIFY(window.isVisible());
        QCOMPARE(window.PictureStep(), std::int16_t{0});
        QVERIFY(window.Picture().isNull());
        Press(window);
        QCOMPARE(ShownColour(window), ColourOf(0));
        window.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_window.isNull());
        QCOMPARE(m_main_window_shown, 1);
    }

    // Unscaled and cut off at the inner edges of the box: marker stripes straddle them.
    void largerPictureIsCutOffNeverScaled() {
        QImage picture = FlatPicture(QSize(700, 500), White);
        QPainter painter(&picture);
        painter.fillRect(575, 0, 15, 500, QColor(Blue));
        painter.fillRect(0, 385, 700, 15, QColor(Blue));
        painter.end();
        WritePicture("GDS001.BMP", picture);
        Press(Open());
        QPoint inner;
        const QImage box = BoxContents(inner);
        QCOMPARE(box.size(), QSize(585, 396));
        QCOMPARE(At(box, inner + QPoint(574, 200)), White);
        QCOMPARE(At(box, inner + QPoint(575, 200)), Blue);
        QCOMPARE(At(box, inner + QPoint(300, 384)), White);
        QCOMPARE(At(box, inner + QPoint(300, 385)), Blue);
        QCOMPARE(At(box, inner + QPoint(580, 391)), Blue);
        QVERIFY(At(box, QPoint(584, 200)) != Blue);  // nothing on the frame
        QVERIFY(At(box, QPoint(300, 395)) != Blue);
    }

    void smallerPictureLeavesTheRestEmpty() {
        WritePicture("GDS001.BMP", FlatPicture(QSize(200, 150), Red));
        Open();
        QPoint inner;
        const QImage empty = BoxContents(inner);
        Press(*m_window);
        const QImage box = BoxContents(inner);
        QCOMPARE(At(box, inner + QPoint(199, 149)), Red);
        QCOMPARE(At(box, inner + QPoint(120, 100)), Red);
        for (const QPoint beside : {QPoint(200, 100), QPoint(120, 150), QPoint(400, 300)}) {
            QCOMPARE(At(box, inner + beside), At(empty, inner + beside));
        }
        QVERIFY(At(empty, inner + QPoint(400, 300)) != Red);
    }

    void unreadablePictureIsReportedAndTheCycleGoesOn_data() {
        QTest::addColumn<int>("kept");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << int{Missing} << "File not found";
        QTest::newRow("folder") << int{Folder} << "Not a picture file: ";
        QTest::newRow("FIFO") << int{Fifo} << "Not a picture file: ";
        QTest::newRow("cut short") << 5000 << "cut short";
        QTest::newRow("empty") << 0 << "not a Windows bitmap";
    }
    void unreadablePictureIsReportedAndTheCycleGoesOn() {
        QFETCH(int, kept);
        QFETCH(QString, reason);
        WritePicture("GDS001.BMP", FlatPicture(QSize(50, 50), Cyan));
        WritePicture("2k.BMP", FlatPicture(QSize(50, 50), Blue));
        const QString bad = m_folder->filePath("1k.BMP");
        if (kept >= 0) {
            WritePicture("1k.BMP", FlatPicture(QSize(60, 40), Red));
            QVERIFY(QFile::resize(bad, kept));
        } else if (kept == Folder) {
            QVERIFY(QDir().mkdir(bad));
        } else if (kept == Fifo) {
            QCOMPARE(::mkfifo(QFile::encodeName(bad).constData(), 0600), 0);
        }
        FRIS123& window = Open();
        Press(window);
        Press(window);
        QCOMPARE(m_notifier.errors.size(), 1);
        const QString error = m_notifier.errors[0];
        QVERIFY2(error.contains("1k.BMP") && error.contains(reason), qPrintable(error));
        QCOMPARE(window.PictureStep(), std::int16_t{2});
        QCOMPARE(ShownColour(window), Cyan);

        Press(window);
        QCOMPARE(m_notifier.errors.size(), 1);
        QCOMPARE(ShownColour(window), Blue);
        QCOMPARE(window.PictureStep(), std::int16_t{3});
    }

    // The folder's own bytes name the files, UTF-8 or not.
    void folderNameNeedNotBeUtf8() {
        const QByteArray folder = QFile::encodeName(m_folder->path()) + "/\xff\xfe";
        QCOMPARE(::mkdir(folder.constData(), 0700), 0);
        QVERIFY(FlatPicture(QSize(10, 10), Red).save(m_folder->filePath("gds"), "BMP"));
        QCOMPARE(::rename(QFile::encodeName(m_folder->filePath("gds")).constData(),
                          (folder + "/GDS001.BMP").constData()),
                 0);
        m_window = new FRIS123([] {}, folder.toStdString());
        Press(*m_window);
        QVERIFY2(m_notifier.errors.isEmpty(), qPrintable(m_notifier.errors.join("; ")));
        QCOMPARE(ShownColour(*m_window), Red);
    }

    void namesAreFoundWhateverTheirLetterCase() {
        WritePicture("gds001.bmp", FlatPicture(QSize(10, 10), Red));
        WritePicture("1K.Bmp", FlatPicture(QSize(10, 10), Blue));
        Press(Open());
        QCOMPARE(ShownColour(*m_window), Red);
        Press(*m_window);
        QCOMPARE(ShownColour(*m_window), Blue);
        QVERIFY(m_notifier.errors.isEmpty());
    }

  private:
    // The window, loaded on first use.
    FRIS123& Open() {
        if (!m_window) {
            m_window =
                new FRIS123([this] { ++m_main_window_shown; }, m_folder->path().toStdString());
        }
        return *m_window;
    }

    void WritePicture(const char* name, const QImage& image) {
        QVERIFY(image.save(m_folder->filePath(name), "BMP"));
    }

    void WriteCycle() {
        for (int i = 0; i < 8; ++i) {
            WritePicture(CycleFiles[i], FlatPicture(QSize(40 + i, 30), ColourOf(i)));
        }
    }

    // The picture box as it appears on the screen, and its inner corner.
    QImage BoxContents(QPoint& inner_origin) {
        auto* box = m_window->findChild<PictureBox*>(QStringLiteral("Picture1"));
        inner_origin = box->InnerOrigin();
        return box->grab().toImage().convertToFormat(QImage::Format_RGB888);
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    RecordingNotifier m_notifier;
    ScopedNotifier m_scoped_notifier{m_notifier};
    QPointer<FRIS123> m_window;
    int m_main_window_shown = 0;
};

}  // namespace tarvex

QTEST_MAIN(tarvex::Fris123Test)
#include "fris123_test.moc"

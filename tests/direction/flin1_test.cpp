#include "direction/flin1.h"

#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <memory>

#include "tests/support/recording_notifier.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

// Pixels (twips / 15) of the example with POZIA "-20" and ALFA1 217.344291652777.
const QPoint Centre(201, 107);
const QRgb Cyan = qRgb(0, 255, 255);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Black = qRgb(0, 0, 0);

QRgb Rgb(const QImage& image, QPoint at) {
    return image.pixel(at) | 0xFF000000u;
}

int CountIn(const QImage& image, QRect area, QRgb color) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += Rgb(image, QPoint(x, y)) == color ? 1 : 0;
        }
    }
    return count;
}

bool AllIn(const QImage& image, QRect area, QRgb color) {
    return CountIn(image, area, color) == area.width() * area.height();
}

QRect Around(QPoint at, int half) {
    return QRect(at.x() - half, at.y() - half, 2 * half + 1, 2 * half + 1);
}

// The point at `degrees` counterclockwise from 3 o'clock on a circle around the centre.
QPoint OnCircle(double radius, double degrees) {
    const double radians = degrees * M_PI / 180;
    return Centre + QPoint(static_cast<int>(std::lround(radius * std::cos(radians))),
                           -static_cast<int>(std::lround(radius * std::sin(radians))));
}

// Every pixel within `radius` of the centre that is neither of the two colours.
int OtherThanInDisc(const QImage& image, int radius, QRgb a, QRgb b) {
    int count = 0;
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            const QRgb pixel = Rgb(image, Centre + QPoint(dx, dy));
            count += (dx * dx + dy * dy <= radius * radius && pixel != a && pixel != b) ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

class FLIN1Test : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_folder;
    RecordingNotifier m_notifier;
    std::unique_ptr<ScopedNotifier> m_scoped_notifier;
    QPointer<FLIN1> m_window;
    int m_main_window_shown = 0;

    std::string Folder() const { return m_folder->path().toStdString(); }

    void WriteResults(const QByteArray& content, const QString& name = "rlin1.txt") {
        QFile file(m_folder->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    FLIN1& Window() {
        if (!m_window) {
            m_window = new FLIN1([this] { ++m_main_window_shown; }, Folder());
            m_window->show();
        }
        return *m_window;
    }
    QPushButton* Start() { return Window().findChild<QPushButton*>("START"); }
    QLineEdit* Pozia() { return Window().findChild<QLineEdit*>("POZIA"); }

    QImage DrawnWith(const QString& axis_shift) {
        Pozia()->setText(axis_shift);
        Start()->click();
        return Window().Drawing();
    }

    // START clicked from the event loop, as a user's click is; `during_yield` runs in the
    // yield of that START.
    QImage DrawnFromTheEventLoop(const QString& axis_shift, std::function<void()> during_yield) {
        Pozia()->setText(axis_shift);
        QPointer<QPushButton> start = Start();
        const QPointer<FLIN1> window = &Window();
        QImage drawn;
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] {
            QTimer::singleShot(0, window, during_yield);
            start->click();
            if (window) {
                drawn = window->Drawing();
            }
            loop.quit();
        });
        loop.exec();
        [&] { QVERIFY2(!drawn.isNull(), "deleted under a running START"); }();
        return drawn;
    }

  private slots:
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        m_notifier = RecordingNotifier();
        m_scoped_notifier = std::make_unique<ScopedNotifier>(m_notifier);
        m_main_window_shown = 0;
        WriteResults("217.344291652777,44.8168471212995\r\n");
    }

    void cleanup() {
        delete m_window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_scoped_notifier.reset();
    }

    void HasItsDesignLayout() {
        FLIN1& window = Window();
        QCOMPARE(window.windowTitle(), QString("CYRC1"));
        QCOMPARE(window.size(), QSize(334, 221));  // 5010 x 3315 twips
        QVERIFY(window.testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(window.AppFolder(), Folder());
        QCOMPARE(window.font().family(), SansSerifFont(8.25, false).family());

        QCOMPARE(Start()->text(), QString("START"));
        QCOMPARE(Start()->geometry(), TwipsRect(120, 120, 735, 375));
        auto* exit = window.findChild<QPushButton*>("CMDEXIT");
        QCOMPARE(exit->text(), QString("EXIT"));
        QCOMPARE(exit->geometry(), TwipsRect(120, 2280, 615, 375));
        QCOMPARE(Pozia()->text(), QString("-20"));
        QCOMPARE(Pozia()->geometry(), TwipsRect(120, 1680, 615, 375));
        auto* label = window.findChild<QLabel*>("Label1");
        QCOMPARE(label->text(), QString(" сдвиг      осей        на        угол"));
        QCOMPARE(label->geometry(), TwipsRect(120, 720, 615, 855));
        QVERIFY(label->wordWrap());

        QCOMPARE(Start()->nextInFocusChain(), exit);
        QCOMPARE(exit->nextInFocusChain(), Pozia());
        // Nothing is drawn before START.
        QVERIFY(AllIn(window.Drawing(), window.Drawing().rect(), Rgb(window.Drawing(), {0, 0})));
    }

    void TheLoadStepTakesTheProgramFolder() {
        FLIN1 window([] {});
        QCOMPARE(window.AppFolder(), ApplicationFolder());
    }

    void DrawsTheExample() {
        const QImage image = DrawnWith("-20");
        QVERIFY(m_notifier.errors.isEmpty());
        const QRgb background = Rgb(image, {0, 0});

        // The direction line runs from bottom left (2581, 3042) to top right (3459, 174).
        for (double t : {0.1, 0.3, 0.7, 0.9}) {
            const QPoint on_line(static_cast<int>(std::lround(172 + t * (231 - 172))),
                                 static_cast<int>(std::lround(203 + t * (12 - 203))));
            QCOMPARE(Rgb(image, on_line), Cyan);
        }
        QCOMPARE(CountIn(image, Around({172, 12}, 4), Cyan), 0);  // not mirrored
        QCOMPARE(CountIn(image, Around({231, 203}, 4), Cyan), 0);

        // The centre dot, 20 pixels across, under the direction line.
        QCOMPARE(OtherThanInDisc(image, 8, Blue, Cyan), 0);

        // The arc of radius 400 twips runs counterclockwise from 73 to 290 degrees.
        for (double degrees : {100.0, 135.0, 225.0, 260.0}) {
            QVERIFY2(CountIn(image, Around(OnCircle(26.67, degrees), 1), Blue) > 0,
                     qPrintable(QString::number(degrees)));
        }
        for (double degrees : {40.0, 45.0, 320.0, 340.0}) {
            QVERIFY2(AllIn(image, Around(OnCircle(26.67, degrees), 2), background),
                     qPrintable(QString::number(degrees)));
        }

        // Red labels with their top-left corners at the ends of the axes.
        QVERIFY(CountIn(image, QRect(167, 13, 35, 14), Red) > 20);   // " SOUNT" at (2507, 198)
        QVERIFY(CountIn(image, QRect(101, 107, 25, 14), Red) > 20);  // "EAST" at (1520, 1608)
        QCOMPARE(CountIn(image, QRect(175, 0, 25, 11), Red), 0);     // not above it
        // "alfa= 217" in black at (3159, 374).
        QVERIFY(CountIn(image, QRect(211, 25, 45, 14), Black) > 20);
        QCOMPARE(CountIn(image, QRect(211, 10, 45, 13), Black), 0);

        // Nothing drawn where the diagram has nothing.
        QVERIFY(AllIn(image, QRect(250, 140, 80, 60), background));
        QVERIFY(AllIn(image, QRect(60, 10, 90, 50), background));
        QVERIFY(AllIn(image, QRect(0, 0, 60, 221), background));  // behind the controls
    }

    void ShowsTheDrawingBehindItsControls() {
        const QImage drawn = DrawnWith("-20");
        const QImage shown = Window().grab().toImage();
        const QPoint on_line(184, 165);
        QCOMPARE(Rgb(drawn, on_line), Cyan);
        QCOMPARE(Rgb(shown, on_line), Cyan);
    }

    void EveryAxisShiftDraws_data() {
        QTest::addColumn<QString>("shift");
        for (const char* shift : {"0", "", "-90", "-91", "700", "-1000", "1e30"}) {
            QTest::newRow(shift) << QString(shift);
        }
    }
    void EveryAxisShiftDraws() {
        QFETCH(QString, shift);
        const QImage image = DrawnWith(shift);
        QCOMPARE(m_notifier.errors, QStringList());
        QVERIFY(CountIn(image, image.rect(), Cyan) > 100);
        QVERIFY(CountIn(image, image.rect(), Black) > 20);
    }

    // A shift of 700 leaves both arc angles negative: a closed sector, filled black, from 287
    // to 70 degrees.
    void BothAnglesNegativeDrawAFilledSector() {
        const QImage image = DrawnWith("700");
        QCOMPARE(Rgb(image, OnCircle(16, 330)), Black);
        QCOMPARE(Rgb(image, OnCircle(16, 30)), Black);
        QVERIFY(Rgb(image, OnCircle(16, 200)) != Black);
    }

    void AMissingResultsFileIsReportedAfterTheCompass() {
        QVERIFY(QFile::remove(m_folder->filePath("rlin1.txt")));
        const QImage image = DrawnWith("-20");
        QCOMPARE(m_notifier.errors.size(), 1);
        const QString error = m_notifier.errors.first();
        QVERIFY2(error.contains("RLIN1.TXT", Qt::CaseInsensitive), qPrintable(error));
        QVERIFY2(error.contains("START"), qPrintable(error));
        QCOMPARE(OtherThanInDisc(image, 8, Blue, Blue), 0);  // the centre dot is drawn
        QCOMPARE(CountIn(image, image.rect(), Cyan), 0);     // nothing after it
        QVERIFY(Window().isVisible());
    }

    void ReadsAFileWrittenUnderTheOtherLetterCase() {
        QVERIFY(QFile::remove(m_folder->filePath("rlin1.txt")));
        WriteResults("187.25,23.5\r\n", "RLIN1.TXT");
        const QImage image = DrawnWith("-20");
        QCOMPARE(m_notifier.errors, QStringList());
        // The direction line of 167 degrees ends at (2683, 146).
        QCOMPARE(Rgb(image, QPoint(180, 12)), Cyan);
    }

    void ExitBringsTheMainWindowForward() {
        const QImage drawn = DrawnWith("-20");
        Window().findChild<QPushButton*>("CMDEXIT")->click();
        QCOMPARE(m_main_window_shown, 1);
        QVERIFY(Window().isVisible());
        QCOMPARE(Window().Drawing(), drawn);
    }

    // START pressed again during the yield (with POZIA changed meanwhile) runs wholly inside
    // the first; the first then draws its last steps with the axis shift the second took.
    void AStartDuringTheYieldRunsInsideTheFirst() {
        const QImage unturned = DrawnWith("0");
        QTimer::singleShot(0, &Window(), [this] {
            Pozia()->setText("0");
            Start()->click();
        });
        const QImage nested = DrawnWith("-20");
        QCOMPARE(m_notifier.errors, QStringList());
        QCOMPARE(nested, unturned);
    }

    void ClosingDuringTheYieldStopsTheDrawing() {
        QPointer<FLIN1> window = &Window();
        const QImage image = DrawnFromTheEventLoop("-20", [window] { window->close(); });
        QVERIFY(CountIn(image, image.rect(), Red) > 100);  // the compass is there
        QCOMPARE(CountIn(image, image.rect(), Cyan), 0);
        QVERIFY(OtherThanInDisc(image, 8, Blue, Blue) > 0);  // no centre dot
        QCOMPARE(m_notifier.errors, QStringList());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
    }

    // A START during the yield fails and shows its error; while the box is up the window is
    // closed. Neither START may run on in a deleted window.
    void ClosingWhileANestedStartShowsAnError() {
        QPointer<FLIN1> window = &Window();
        m_notifier.on_error = [window] {
            QEventLoop box;  // the modal box's own loop, where the close is handled
            QTimer::singleShot(0, window, [window] { window->close(); });
            QTimer::singleShot(10, &box, &QEventLoop::quit);
            box.exec();
        };
        const QImage image = DrawnFromTheEventLoop("-20", [this] {
            Pozia()->setText("1e39");  // beyond single precision
            Start()->click();
        });
        QCOMPARE(m_notifier.errors.size(), 1);
        QVERIFY(m_notifier.errors.first().endsWith("(Overflow)"));
        QCOMPARE(CountIn(image, image.rect(), Cyan), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
    }
};

}  // namespace tarvex

QTEST_MAIN(tarvex::FLIN1Test)
#include "flin1_test.moc"

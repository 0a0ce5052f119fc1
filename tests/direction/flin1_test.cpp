#include "direction/flin1.h"

#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
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

// How many pixels of `area` have one of the colours.
int CountIn(const QImage& image, QRect area, std::initializer_list<QRgb> colours) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += std::count(colours.begin(), colours.end(), Rgb(image, {x, y})) > 0;
        }
    }
    return count;
}

bool AllIn(const QImage& image, QRect area, QRgb colour) {
    return CountIn(image, area, {colour}) == area.width() * area.height();
}

// The square of `half` pixels around the point at `degrees` counterclockwise from 3 o'clock,
// `radius` pixels from the centre.
QRect Around(QPoint at, int half, double radius = 0, double degrees = 0) {
    at += QPoint(static_cast<int>(std::lround(radius * std::cos(degrees * M_PI / 180))),
                 -static_cast<int>(std::lround(radius * std::sin(degrees * M_PI / 180))));
    return QRect(at.x() - half, at.y() - half, 2 * half + 1, 2 * half + 1);
}

const QRect CentreDot = Around(Centre, 5);  // inside the dot of 20 pixels

}  // namespace

class FLIN1Test : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_folder;
    RecordingNotifier m_notifier;
    ScopedNotifier m_scoped_notifier{m_notifier};
    QPointer<FLIN1> m_window;
    int m_main_window_shown = 0;

    std::string Folder() const { return m_folder->path().toStdString(); }

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
        m_main_window_shown = 0;
        QFile file(m_folder->filePath("rlin1.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("217.344291652777,44.8168471212995\r\n");
    }

    void cleanup() {
        delete m_window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void StartsBlankWithItsDefaultShift() {
        QCOMPARE(FLIN1([] {}).AppFolder(), ResultsFolder());
        QCOMPARE(Pozia()->text(), QString("-20"));
        QCOMPARE(Start()->nextInFocusChain()->objectName(), QString("CMDEXIT"));
        QCOMPARE(Start()->nextInFocusChain()->nextInFocusChain(), Pozia());
        const QImage& blank = Window().Drawing();
        QVERIFY(AllIn(blank, blank.rect(), Rgb(blank, {0, 0})));
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
        QCOMPARE(CountIn(image, Around({172, 12}, 4), {Cyan}), 0);  // not mirrored
        QCOMPARE(CountIn(image, Around({231, 203}, 4), {Cyan}), 0);
        QCOMPARE(CountIn(image, CentreDot, {Blue, Cyan}), 121);  // the dot under the line
        // The arc of radius 400 twips runs counterclockwise from 73 to 290 degrees.
        for (double degrees : {100.0, 135.0, 225.0, 260.0}) {
            QVERIFY2(CountIn(image, Around(Centre, 1, 26.67, degrees), {Blue}) > 0,
                     qPrintable(QString::number(degrees)));
        }
        for (double degrees : {40.0, 45.0, 320.0, 340.0}) {
            QVERIFY2(AllIn(image, Around(Centre, 2, 26.67, degrees), background),
                     qPrintable(QString::number(degrees)));
        }
        // Red labels with their top-left corners at the ends of the axes, " SOUNT" at (2507, 198)
        // and "EAST" at (1520, 1608), not above them; "alfa= 217" in black at (3159, 374).
        QVERIFY(CountIn(image, QRect(167, 13, 35, 14), {Red}) > 20);
        QVERIFY(CountIn(image, QRect(101, 107, 25, 14), {Red}) > 20);
        QCOMPARE(CountIn(image, QRect(175, 0, 25, 11), {Red}), 0);
        QVERIFY(CountIn(image, QRect(211, 25, 45, 14), {Black}) > 20);
        QCOMPARE(CountIn(image, QRect(211, 10, 45, 13), {Black}), 0);
        // Nothing drawn where the diagram has nothing.
        QVERIFY(AllIn(image, QRect(250, 140, 80, 60), background));
        QVERIFY(AllIn(image, QRect(60, 10, 90, 50), background));
        QVERIFY(AllIn(image, QRect(0, 0, 60, 221), background));  // behind the controls
        // The window shows the drawing behind its controls.
        QCOMPARE(Rgb(Window().grab().toImage(), {184, 165}), Cyan);
    }

    void AMissingResultsFileIsReportedAfterTheCompass() {
        QVERIFY(QFile::remove(m_folder->filePath("rlin1.txt")));
        const QImage image = DrawnWith("-20");
        QCOMPARE(m_notifier.errors.size(), 1);
        const QString error = m_notifier.errors.first();
        QVERIFY2(error.contains("RLIN1.TXT", Qt::CaseInsensitive) && error.contains("START"),
                 qPrintable(error));
        QCOMPARE(CountIn(image, CentreDot, {Blue}), 121);   // the centre dot is drawn,
        QCOMPARE(CountIn(image, image.rect(), {Cyan}), 0);  // nothing after it
        QVERIFY(Window().isVisible());
    }

    void ExitBringsTheMainWindowForward() {
        const QImage drawn = DrawnWith("-20");
        Window().findChild<QPushButton*>("CMDEXIT")->click();
        QCOMPARE(m_main_window_shown, 1);
        QVERIFY(Window().isVisible());
        QCOMPARE(Window().Drawing(), drawn);
    }

    void ClosingDuringTheYieldStopsTheDrawing() {
        QPointer<FLIN1> window = &Window();
        const QImage image = DrawnFromTheEventLoop("-20", [window] { window->close(); });
        QVERIFY(CountIn(image, image.rect(), {Red}) > 100);  // the compass is there
        QVERIFY(CountIn(image, CentreDot, {Blue}) < 121);    // no centre dot
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
        QCOMPARE(CountIn(image, image.rect(), {Cyan}), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
    }
};

}  // namespace tarvex

QTEST_MAIN(tarvex::FLIN1Test)
#include "flin1_test.moc"

// A seeded stream of random user actions on the three real windows, run inside the application's
// event loop as the program runs: texts typed, pasted and set into every field, every button but
// the main window's EXIT clicked, the secondary windows closed and shown again, the direction
// START pressed again and again while it yields, and every message box answered as a user would.
// The program must neither end nor crash, and afterwards the worked example must still compute.
// TARVEX_MONKEY_SEED and TARVEX_MONKEY_ACTIONS override the seed and the length of the stream.

#include <QClipboard>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <algorithm>
#include <memory>
#include <random>

#include "app/plan_window_opener.h"
#include "direction/flin1.h"
#include "illustrations/fris123.h"
#include "tests/support/window_test.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

// Sized so that the stream stays well within the test's time limit under the sanitizers.
constexpr int DefaultActions = 3000;
constexpr int MaxNesting = 3;       // actions inside yields of STARTs pressed by actions
constexpr int StreamFinished = 42;  // exec()'s result when the stream has run to its end

int EnvironmentNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// Numbers and what comes near them, absurd magnitudes, separators the program does not take,
// Cyrillic, and characters from far outside the keyboard.
const char* const TextPieces[] = {
    "0",      "1",       "7",      "13",  "19",   "35",   "600",     "27.69",  "-",      "+",
    ".",      ",",       "E",      "e",   "E+",   "e-",   "1e308",   "-1e308", "1E-400", "1e39",
    "3.4E38", "32767.5", "-32768", "1D3", "&H7F", "0x1F", " ",       "\t",     "   ",    "NaN",
    "inf",    "-0",      "∞",      "½",   "１２", "٣",    "долгота", "НИЖЕ",   "мм-->",  "Ёъ",
    "°",      "'",       "\"",     "\\",  "%",    "#",    "😀",       "\u0301"};

// A character at a time, as the key of a keyboard with that character (QTest::keyClicks types
// Latin-1 only); a tab moves the focus.
void TypeText(QLineEdit& field, const QString& text) {
    for (const QChar c : text) {
        const auto key = c == u'\t' ? Qt::Key_Tab : Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, &field, key, QString(c), Qt::NoModifier);
    }
}

// Expected thousands of times here: QTest warns for every key a field does not take, and the
// offscreen platform can neither raise a window nor pass on its size limits.
QtMessageHandler g_previous_handler = nullptr;
void QuietExpectedWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtWarningMsg || !(text.startsWith(u"Keyboard event not accepted") ||
                                  text.startsWith(u"This plugin does not support"))) {
        g_previous_handler(type, context, text);
    }
}

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QApplication::setQuitOnLastWindowClosed(false);  // as the program starts
        LoadProgramFonts();
        g_previous_handler = qInstallMessageHandler(QuietExpectedWarnings);
        m_seed = static_cast<std::uint32_t>(EnvironmentNumber("TARVEX_MONKEY_SEED", 20240611));
        m_actions = EnvironmentNumber("TARVEX_MONKEY_ACTIONS", DefaultActions);
        m_random.seed(m_seed);
        connect(&m_box_timer, &QTimer::timeout, this, &MonkeyTest::AnswerBox);
        m_box_timer.start(0);
        m_window = std::make_unique<MTARV>();
        ConnectPlanWindow(*m_window);
        QFile::remove(ResultsPath());
        ShowInFront(*m_window);
        m_window->Field(FieldId::SiteLongitudeDegrees).setFocus();
    }

    void cleanupTestCase() {
        m_window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QFile::remove(ResultsPath());
        qInstallMessageHandler(g_previous_handler);
    }

    void RandomStreamLeavesTheProgramWorking() {
        qInfo("monkey: seed %u, %d actions", m_seed, m_actions);
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(0, this, &MonkeyTest::Step);
        const int ended_with = QCoreApplication::exec();
        const double seconds = static_cast<double>(std::max(clock.elapsed(), qint64{1})) / 1000;
        qInfo(
            "monkey: %d actions (%d nested in yields) in %.1f s, %.0f actions/s; %d messages "
            "and %d errors answered",
            m_done, m_nested, seconds, m_done / seconds, m_messages, m_errors);
        if (m_fault.isEmpty() && ended_with != StreamFinished) {
            m_fault = QStringLiteral("the program ended (%1)").arg(ended_with);
        }
        QVERIFY2(m_fault.isEmpty(),
                 qPrintable(QStringLiteral("%1 at action %2 of seed %3; then:\n%4")
                                .arg(m_fault, QString::number(m_done), QString::number(m_seed),
                                     m_log.join('\n'))));
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        // The worked example, typed over what the stream left; then its direction, drawn by the
        // direction window shown again, and the whole cycle of pictures.
        const int boxes = m_messages + m_errors;
        TypeExample(*m_window);
        Click(*m_window, "Gprog");
        ExpectExampleResults(*m_window, ResultsPath());
        Click(*m_window, "NAPR");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        FLIN1* direction = m_window->DirectionWindow();
        QVERIFY(Shown(direction));
        TypeInto(Find<QLineEdit>(*direction, "POZIA"), "-20");
        Click(*direction, "START");
        // A point of the cyan line from (2581, 3042) to (3459, 174) twips.
        QCOMPARE(direction->Drawing().pixel(190, 146) | 0xFF000000u, qRgb(0, 255, 255));
        Click(*m_window, "RISYNOK");
        FRIS123* illustrations = m_window->IllustrationsWindow();
        QVERIFY(Shown(illustrations));
        const std::int16_t step = illustrations->PictureStep();
        for (int press = 0; press < 8; ++press) {
            Click(*illustrations, "RISYNOK");
        }
        QCOMPARE(illustrations->PictureStep(), step);
        QVERIFY(!illustrations->Picture().isNull());
        QVERIFY2(m_messages + m_errors == boxes, qPrintable(m_last_box_text));
    }

    // Last: EXIT still ends the program, closing every window.
    void ExitStillEndsTheProgram() {
        QCOMPARE(RunProgram(m_window.get(), [this] { Click(*m_window, "cmdExit"); }), 0);
    }

  private:
    static QString ResultsPath() { return QCoreApplication::applicationDirPath() + "/rlin1.txt"; }

    // One action per turn of the event loop, so that what an action leaves behind (deferred
    // deletions, posted events) is handled before the next one looks.
    void Step() {
        if (!m_window || !m_window->isVisible()) {
            m_fault = QStringLiteral("the main window is gone");
        } else if (QApplication::activeModalWidget() != nullptr) {
            m_fault = QStringLiteral("a modal box is still open");
        } else if (m_expect_direction && !Shown(m_window->DirectionWindow())) {
            m_fault = QStringLiteral("the direction window vanished after НАПРАВЛЕНИЕ showed it");
        } else if (m_expect_illustrations && !Shown(m_window->IllustrationsWindow())) {
            m_fault = QStringLiteral("the illustrations window vanished after Рисунок showed it");
        }
        if (!m_fault.isEmpty() || m_done >= m_actions) {
            QCoreApplication::exit(m_fault.isEmpty() ? StreamFinished : 1);
            return;
        }
        ++m_done;
        RandomAction(0);
        QTimer::singleShot(0, this, &MonkeyTest::Step);
    }

    // Answers with OK, Enter, Escape or the frame's close button; OK after two tries.
    void AnswerBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        if (box != m_box) {
            m_box = box;
            m_box_tries = 0;
            m_last_box_text = box->text();
            ++(box->icon() == QMessageBox::Critical ? m_errors : m_messages);
        }
        const unsigned way = ++m_box_tries > 2 ? 0 : Below(4);
        if (way == 0) {
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        } else if (way == 3) {
            box->close();
        } else {
            QTest::keyClick(box, way == 1 ? Qt::Key_Return : Qt::Key_Escape);
        }
    }

    unsigned Below(std::size_t bound) { return m_random() % static_cast<unsigned>(bound); }

    void Log(const QString& action) {
        m_log << QStringLiteral("#%1%2 %3").arg(m_done).arg(QString(m_depth, u'>'), action);
        if (m_log.size() > 30) {
            m_log.removeFirst();
        }
    }

    void RandomAction(int depth) {
        using Action = void (MonkeyTest::*)();
        static constexpr std::pair<unsigned, Action> Actions[] = {
            {36, &MonkeyTest::EnterText},
            {12, &MonkeyTest::PressKey},
            {26, &MonkeyTest::ClickButton},
            {7, &MonkeyTest::StartDirection},
            {6, &MonkeyTest::RunPlausibleCalculation},
            {13, &MonkeyTest::ActOnWindow}};
        m_depth = depth;
        unsigned roll = Below(100);
        for (const auto& [weight, action] : Actions) {
            if (roll < weight) {
                return (this->*action)();
            }
            roll -= weight;
        }
    }

    // Empty now and then, very long (a piece repeated to thousands of characters) now and then.
    QString RandomText() {
        QString text;
        const unsigned kind = Below(100);
        for (unsigned count = kind < 5 ? 0 : 1 + Below(5); count > 0; --count) {
            text += Below(100) < 40 ? QString::number(Below(100000))
                                    : QString::fromUtf8(TextPieces[Below(std::size(TextPieces))]);
        }
        return kind < 8 && !text.isEmpty() ? text.repeated(1 + Below(3000) / text.size()) : text;
    }

    std::vector<QWidget*> VisibleWindows() const {
        std::vector<QWidget*> windows{m_window.get()};
        for (QWidget* window : {static_cast<QWidget*>(m_window->DirectionWindow()),
                                static_cast<QWidget*>(m_window->IllustrationsWindow())}) {
            if (Shown(window)) {
                windows.push_back(window);
            }
        }
        return windows;
    }

    // A field of the main window, or POZIA of the direction window if shown (or only loaded,
    // for texts the program sets).
    QLineEdit& RandomField(bool loaded_too) {
        FLIN1* direction = m_window->DirectionWindow();
        const bool pozia = direction != nullptr && (loaded_too || direction->isVisible());
        const unsigned pick = Below(pozia ? 18 : 16);
        return pick >= 16 ? Find<QLineEdit>(*direction, "POZIA")
                          : m_window->Field(static_cast<FieldId>(pick));
    }

    // Typed at a random place or over a selection, or set by the program (then also empty, or
    // beyond a field's 32767 characters).
    void EnterText() {
        const bool typed = Below(4) != 0;
        QLineEdit& field = RandomField(!typed);
        QString text = RandomText();
        if (!typed && Below(20) == 0) {
            text = text.repeated(1 + 40000 / std::max<qsizetype>(text.size(), 1));
        } else if (!typed && Below(5) == 0) {
            text.clear();
        }
        Log(QStringLiteral("%1 %2 chars '%3' into %4")
                .arg(typed ? "type" : "set", QString::number(text.size()), text.left(40),
                     field.objectName()));
        if (!typed) {
            field.setText(text);
            return;
        }
        if (Below(2) == 0) {
            field.selectAll();
        } else {
            field.setCursorPosition(static_cast<int>(Below(field.text().size() + 1)));
        }
        field.setFocus();
        TypeText(field, text);
    }

    // Ctrl+V pastes a random text.
    void PressKey() {
        static const QList<QKeySequence> keys = QKeySequence::listFromString(
            "Backspace; Del; Home; End; Left; Return; Esc; Tab; Backtab; Up; Ins; Ctrl+Z; "
            "Ctrl+Shift+Z; Ctrl+X; Ctrl+V; Ctrl+Backspace; Shift+Home");
        QLineEdit& field = RandomField(false);
        const QKeyCombination key = keys[Below(keys.size())][0];
        QGuiApplication::clipboard()->setText(RandomText());
        Log(QStringLiteral("key %1 in %2").arg(QKeySequence(key).toString(), field.objectName()));
        field.setFocus();
        QTest::keyClick(&field, key.key(), key.keyboardModifiers());
    }

    // The main window's EXIT ends the program by design.
    void ClickButton() {
        std::vector<QPushButton*> buttons;
        for (QWidget* window : VisibleWindows()) {
            for (QPushButton* button : window->findChildren<QPushButton*>()) {
                if (button->objectName() != u"cmdExit") {
                    buttons.push_back(button);
                }
            }
        }
        QPushButton& button = *buttons[Below(buttons.size())];
        Log(QStringLiteral("click %1 of %2")
                .arg(button.objectName(), button.window()->windowTitle()));
        Press(button);
    }

    // By mouse or by the space bar; then what the user expects to see.
    void Press(QPushButton& button) {
        const QString name = button.objectName();
        const bool in_main = button.window() == m_window.get();
        const bool in_illustrations = button.window() == m_window->IllustrationsWindow();
        const bool navigation_open = m_window->NavigationFlag() != 0;
        if (Below(2) == 0) {
            QTest::mouseClick(&button, Qt::LeftButton);
        } else {
            button.setFocus();
            QTest::keyClick(&button, Qt::Key_Space);
        }
        m_expect_direction |= in_main && navigation_open && name == u"NAPR";
        m_expect_illustrations |= in_main && navigation_open && name == u"RISYNOK";
        m_expect_illustrations &= !(in_illustrations && name == u"cmd1");
    }

    // Random actions wait to run in the yield of the drawing (or, when START fails before the
    // yield, once events are next handled without a box open).
    void StartDirection() {
        const int depth = m_depth;
        FLIN1* direction = m_window->DirectionWindow();
        if (!Shown(direction)) {
            Log(QStringLiteral("direction START wanted: click НАПРАВЛЕНИЕ"));
            Press(Find(*m_window, "NAPR"));
            return;
        }
        if (depth < MaxNesting) {
            QTimer::singleShot(0, this, [this, depth, nested = 1 + Below(3)] {
                if (QApplication::activeModalWidget() != nullptr || !m_window) {
                    return;
                }
                for (unsigned count = 0; count < nested; ++count, ++m_nested) {
                    RandomAction(depth + 1);
                }
                m_depth = depth;
            });
        }
        Log(QStringLiteral("direction START with POZIA '%1'")
                .arg(Find<QLineEdit>(*direction, "POZIA").text().left(40)));
        Press(Find(*direction, "START"));
    }

    // Every input in its range, so that the results file and the drawing see real azimuths.
    void RunPlausibleCalculation() {
        const struct {
            FieldId field;
            double low, high;
        } ranges[] = {
            {FieldId::SiteLongitudeDegrees, -180, 180}, {FieldId::SiteLongitudeMinutes, 0, 59},
            {FieldId::SiteLatitudeDegrees, -80, 80},    {FieldId::SiteLatitudeMinutes, 0, 59},
            {FieldId::Satellite1Degrees, -180, 180},    {FieldId::Satellite2Degrees, -180, 180},
            {FieldId::Satellite2Minutes, 0, 59},        {FieldId::FocalLength, 100, 2000}};
        QStringList texts;
        for (const auto& range : ranges) {
            const double value = range.low + (range.high - range.low) * Below(10001) / 10000.0;
            texts << QString::number(value, 'f', static_cast<int>(Below(4)));
            m_window->Field(range.field).setFocus();
            TypeInto(m_window->Field(range.field), texts.back());
        }
        Log(QStringLiteral("calculate ") + texts.join(u' '));
        Press(Find(*m_window, "Gprog"));
    }

    // A loaded secondary window closed through its frame, or a shown one painted, resized or
    // raised.
    void ActOnWindow() {
        const unsigned way = Below(5);
        if (way >= 3) {
            QWidget* window = way == 3 ? static_cast<QWidget*>(m_window->DirectionWindow())
                                       : static_cast<QWidget*>(m_window->IllustrationsWindow());
            if (window != nullptr) {
                Log(QStringLiteral("close %1 through its frame").arg(window->windowTitle()));
                (way == 3 ? m_expect_direction : m_expect_illustrations) = false;
                window->close();
            }
            return;
        }
        const std::vector<QWidget*> windows = VisibleWindows();
        QWidget* window = windows[Below(windows.size())];
        Log(QStringList{"paint", "resize", "raise"}[way] + u' ' + window->windowTitle());
        if (way == 0) {
            static_cast<void>(window->grab());
        } else if (way == 1 && window != m_window.get()) {
            window->resize(1 + static_cast<int>(Below(900)), 1 + static_cast<int>(Below(700)));
        } else {
            ShowInFront(*window);
        }
    }

    std::uint32_t m_seed = 0;
    int m_actions = 0;
    std::mt19937 m_random;
    QTimer m_box_timer;
    QPointer<QMessageBox> m_box;
    int m_box_tries = 0;
    int m_messages = 0;
    int m_errors = 0;
    QString m_last_box_text;
    std::unique_ptr<MTARV> m_window;
    int m_done = 0;
    int m_nested = 0;
    int m_depth = 0;
    bool m_expect_direction = false;
    bool m_expect_illustrations = true;  // the load step shows it
    QString m_fault;
    QStringList m_log;  // the last actions
};

}  // namespace tarvex

QTEST_MAIN(tarvex::MonkeyTest)
#include "monkey_test.moc"

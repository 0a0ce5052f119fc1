// A seeded stream of random user actions on the three real windows, run inside the application's
// event loop as the program runs: texts typed and set into every field, every button but the
// main window's EXIT clicked, the secondary windows closed and shown again, the direction START
// pressed again and again while it yields, and every message box answered as a user would.
// The program must neither end nor crash, and afterwards the worked example must still compute.
//
// TARVEX_MONKEY_SEED and TARVEX_MONKEY_ACTIONS override the seed and the length of the stream.

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QKeySequence>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "direction/flin1.h"
#include "illustrations/fris123.h"
#include "main_window/mtarv.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

constexpr std::uint32_t DefaultSeed = 20240611;
// Sized so that the stream stays well within the test's time limit under the sanitizers.
constexpr int DefaultActions = 3000;
// How deep actions may run inside the yields of direction STARTs pressed by other actions.
constexpr int MaxNesting = 3;
// exec()'s result when the stream has run to its end; anything else means the program ended.
constexpr int StreamFinished = 42;

int EnvironmentNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// Pieces of typed texts: numbers and what comes near them, absurd magnitudes, separators the
// program does not take, Cyrillic, and characters from far outside the keyboard.
const char* const TextPieces[] = {
    "0",      "1",       "7",      "13",  "19",   "35",   "600",     "27.69",  "-",      "+",
    ".",      ",",       "E",      "e",   "E+",   "e-",   "1e308",   "-1e308", "1E-400", "1e39",
    "3.4E38", "32767.5", "-32768", "1D3", "&H7F", "0x1F", " ",       "\t",     "   ",    "NaN",
    "inf",    "-0",      "∞",      "½",   "１２", "٣",    "долгота", "НИЖЕ",   "мм-->",  "Ёъ",
    "°",      "'",       "\"",     "\\",  "%",    "#",    "😀",       "\u0301",
};

const char* const FieldNames[] = {"Text1",  "Text2",  "Text3",  "Text4",  "Text5",  "Text6",
                                  "Text7",  "Text8",  "Text9",  "Text10", "Text11", "Text12",
                                  "Text13", "Text14", "Text15", "Text16"};

// Keys a user presses in a field besides typing.
const QKeyCombination EditingKeys[] = {
    Qt::Key_Backspace,
    Qt::Key_Delete,
    Qt::Key_Home,
    Qt::Key_End,
    Qt::Key_Left,
    Qt::Key_Right,
    Qt::Key_Return,
    Qt::Key_Enter,
    Qt::Key_Escape,
    Qt::Key_Tab,
    Qt::Key_Backtab,
    Qt::Key_Up,
    Qt::Key_Insert,
    Qt::ControlModifier | Qt::Key_A,
    Qt::ControlModifier | Qt::Key_Z,
    Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z,
    Qt::ControlModifier | Qt::Key_X,
    Qt::ControlModifier | Qt::Key_C,
    Qt::ControlModifier | Qt::Key_V,
    Qt::ControlModifier | Qt::Key_Backspace,
    Qt::ShiftModifier | Qt::Key_Home,
};

// Types `text` into `field` one character at a time, as keys of a keyboard with that character.
// QTest::keyClicks types Latin-1 only; the rest goes in as key events carrying their text.
void TypeText(QLineEdit& field, const QString& text) {
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; })) {
        QTest::keyClicks(&field, text);
        return;
    }
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = text.at(at).isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(at, length);
        const auto key =
            character == u"\t" ? Qt::Key_Tab : Qt::Key(character.toUpper().front().unicode());
        QTest::sendKeyEvent(QTest::Click, &field, key, character, Qt::NoModifier);
        at += length;
    }
}

// Answers every message box the program shows with OK, Enter, Escape or its frame's close
// button, counting them by icon.
class BoxAnswerer : public QObject {
  public:
    explicit BoxAnswerer(std::uint32_t seed) : m_random(seed) {
        m_timer.setInterval(0);
        connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::Answer);
        m_timer.start();
    }

    int Messages() const { return m_messages; }
    int Errors() const { return m_errors; }
    const QString& LastText() const { return m_last_text; }

  private:
    void Answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        if (box != m_box) {
            m_box = box;
            m_tries = 0;
            m_last_text = box->text();
            (box->icon() == QMessageBox::Critical ? m_errors : m_messages) += 1;
        }
        // A box that the keyboard or its frame did not close gets its OK button clicked.
        const unsigned way = ++m_tries > 2 ? 0 : m_random() % 4;
        switch (way) {
            case 0:
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
                break;
            case 1:
                QTest::keyClick(box, Qt::Key_Return);
                break;
            case 2:
                QTest::keyClick(box, Qt::Key_Escape);
                break;
            default:
                box->close();
                break;
        }
    }

    std::mt19937 m_random;
    QTimer m_timer;
    QPointer<QMessageBox> m_box;
    int m_tries = 0;
    int m_messages = 0;
    int m_errors = 0;
    QString m_last_text;
};

// Expected thousands of times here: QTest warns for every key a field does not take (Escape,
// Up, Insert), and the offscreen platform can neither raise a window nor pass on its size limits.
QtMessageHandler g_previous_handler = nullptr;

void QuietExpectedWarnings(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type == QtWarningMsg && (message.startsWith(u"Keyboard event not accepted") ||
                                 message.startsWith(u"This plugin does not support"))) {
        return;
    }
    g_previous_handler(type, context, message);
}

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // As the program starts: it never ends because its last visible window closed.
        QApplication::setQuitOnLastWindowClosed(false);
        LoadProgramFonts();
        g_previous_handler = qInstallMessageHandler(QuietExpectedWarnings);
        m_seed = static_cast<std::uint32_t>(EnvironmentNumber("TARVEX_MONKEY_SEED", DefaultSeed));
        m_actions = EnvironmentNumber("TARVEX_MONKEY_ACTIONS", DefaultActions);
        m_random.seed(m_seed);
        m_answerer = std::make_unique<BoxAnswerer>(m_seed);
        m_window = std::make_unique<MTARV>();
        // The results file lies beside the executable, where the direction window reads it; the
        // stream starts without one.
        QFile::remove(ResultsPath());
        ShowInFront(*m_window);
        m_window->Field(FieldId::Text1).setFocus();
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
        const double seconds = static_cast<double>(clock.elapsed()) / 1000;
        qInfo(
            "monkey: %d actions (%d nested in yields) in %.1f s, %.0f actions/s; %d messages "
            "and %d errors answered",
            m_done, m_nested, seconds, m_done / std::max(seconds, 0.001), m_answerer->Messages(),
            m_answerer->Errors());
        if (!m_fault.isEmpty() || ended_with != StreamFinished) {
            QFAIL(qPrintable(Report(m_fault.isEmpty()
                                        ? QStringLiteral("the program ended (%1)").arg(ended_with)
                                        : m_fault)));
        }
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        ComputeTheExample();
        DrawTheExampleDirection();
        ShowEveryPicture();
    }

    // Last: EXIT still ends the program, closing every window.
    void ExitStillEndsTheProgram() {
        QVERIFY(m_window != nullptr);
        QTimer::singleShot(0, m_window.get(), [this] {
            QTest::mouseClick(&Find<QPushButton>(*m_window, "cmdExit"), Qt::LeftButton);
        });
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        timeout.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));
        }
    }

  private:
    template <typename Control>
    static Control& Find(const QWidget& window, const char* name) {
        auto* control = window.findChild<Control*>(QString::fromUtf8(name));
        if (control == nullptr) {
            qFatal("no control %s in %s", name, qPrintable(window.windowTitle()));
        }
        return *control;
    }

    static QString ResultsPath() {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/rlin1.txt");
    }

    // ---- the stream

    // One action per turn of the event loop, so that what an action leaves behind (deferred
    // deletions, posted events) is handled before the next one looks.
    void Step() {
        if (!CheckInvariants()) {
            return;
        }
        if (m_done >= m_actions) {
            QCoreApplication::exit(StreamFinished);
            return;
        }
        ++m_done;
        RandomAction(0);
        QTimer::singleShot(0, this, &MonkeyTest::Step);
    }

    // What must hold between two actions.
    bool CheckInvariants() {
        QString fault;
        if (!m_window || !m_window->isVisible()) {
            fault = QStringLiteral("the main window is gone");
        } else if (QApplication::activeModalWidget() != nullptr) {
            fault = QStringLiteral("a modal box is still open");
        } else if (m_expect_direction_shown && !Shown(m_window->DirectionWindow())) {
            fault = QStringLiteral("the direction window vanished after НАПРАВЛЕНИЕ showed it");
        } else if (m_expect_illustrations_shown && !Shown(m_window->IllustrationsWindow())) {
            fault = QStringLiteral("the illustrations window vanished after Рисунок showed it");
        }
        if (fault.isEmpty()) {
            return true;
        }
        m_fault = fault;
        QCoreApplication::exit(1);
        return false;
    }

    static bool Shown(const QWidget* window) { return window != nullptr && window->isVisible(); }

    unsigned Below(unsigned bound) { return m_random() % bound; }
    bool Chance(unsigned percent) { return Below(100) < percent; }

    void Log(const QString& action) {
        m_log.push_back(QStringLiteral("#%1%2 %3")
                            .arg(m_done)
                            .arg(QString(m_depth, u'>'))
                            .arg(action.left(120)));
        if (m_log.size() > 30) {
            m_log.pop_front();
        }
    }

    QString Report(const QString& fault) const {
        QString report = QStringLiteral("%1 at action %2 of seed %3; the last actions:")
                             .arg(fault, QString::number(m_done), QString::number(m_seed));
        for (const QString& line : m_log) {
            report += u'\n' + line;
        }
        return report;
    }

    void RandomAction(int depth) {
        m_depth = depth;
        const unsigned roll = Below(100);
        if (roll < 24) {
            TypeIntoField();
        } else if (roll < 32) {
            SetFieldText();
        } else if (roll < 44) {
            PressEditingKey();
        } else if (roll < 70) {
            ClickButton();
        } else if (roll < 75) {
            CloseSecondaryWindow();
        } else if (roll < 82) {
            StartDirectionWithActionsInItsYield(depth);
        } else if (roll < 88) {
            RunPlausibleCalculation();
        } else if (roll < 92) {
            PasteIntoField();
        } else if (roll < 96) {
            PaintWindow();
        } else {
            ResizeOrRaiseWindow();
        }
    }

    QString RandomText() {
        if (Chance(3)) {
            // Very long: a piece repeated to thousands of characters.
            const QString piece = QString::fromUtf8(TextPieces[Below(std::size(TextPieces))]);
            return piece.repeated(1 + Below(3000) / piece.size());
        }
        QString text;
        for (unsigned count = 1 + Below(5); count > 0; --count) {
            if (Chance(40)) {
                text += QString::number(Below(100000));
            } else {
                text += QString::fromUtf8(TextPieces[Below(std::size(TextPieces))]);
            }
        }
        return text;
    }

    // The windows a user can reach: the main window and whichever secondary window is shown.
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

    // A field of a shown window, or of any loaded one for texts the program sets.
    QLineEdit* RandomField(bool shown_only) {
        FLIN1* direction = m_window->DirectionWindow();
        const bool with_pozia = direction != nullptr && (!shown_only || direction->isVisible());
        const unsigned pick = Below(std::size(FieldNames) + (with_pozia ? 2 : 0));
        if (pick >= std::size(FieldNames)) {
            return &Find<QLineEdit>(*direction, "POZIA");
        }
        return &Find<QLineEdit>(*m_window, FieldNames[pick]);
    }

    void TypeIntoField() {
        QLineEdit* field = RandomField(true);
        const QString text = RandomText();
        Log(QStringLiteral("type '%1' (%2 chars) into %3")
                .arg(text.left(40), QString::number(text.size()), field->objectName()));
        if (Chance(50)) {
            field->selectAll();
        } else if (Chance(50)) {
            field->setCursorPosition(static_cast<int>(Below(field->text().size() + 1)));
        }
        field->setFocus();
        TypeText(*field, text);
    }

    void SetFieldText() {
        QLineEdit* field = RandomField(false);
        QString text = Chance(15) ? QString() : RandomText();
        if (Chance(5)) {
            // Beyond a field's 32767 characters.
            text = text.repeated(1 + 40000 / std::max<qsizetype>(text.size(), 1));
        }
        Log(QStringLiteral("set '%1' (%2 chars) into %3")
                .arg(text.left(40), QString::number(text.size()), field->objectName()));
        field->setText(text);
    }

    void PressEditingKey() {
        QLineEdit* field = RandomField(true);
        const QKeyCombination key = EditingKeys[Below(std::size(EditingKeys))];
        Log(QStringLiteral("key %1 in %2").arg(QKeySequence(key).toString(), field->objectName()));
        field->setFocus();
        QTest::keyClick(field, key.key(), key.keyboardModifiers());
    }

    void PasteIntoField() {
        QLineEdit* field = RandomField(true);
        const QString text = RandomText();
        Log(QStringLiteral("paste '%1' into %2").arg(text.left(40), field->objectName()));
        QGuiApplication::clipboard()->setText(text);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }

    // Every button of the shown windows except the main window's EXIT, which ends the program
    // by design.
    void ClickButton() {
        std::vector<QPushButton*> buttons;
        for (QWidget* window : VisibleWindows()) {
            for (QPushButton* button : window->findChildren<QPushButton*>()) {
                if (button->objectName() != u"cmdExit") {
                    buttons.push_back(button);
                }
            }
        }
        QPushButton* button = buttons[Below(static_cast<unsigned>(buttons.size()))];
        Log(QStringLiteral("click %1 of %2")
                .arg(button->objectName(), button->window()->windowTitle()));
        Click(*button);
    }

    void Click(QPushButton& button) {
        const QString name = button.objectName();
        QWidget* window = button.window();
        const bool in_main = window == m_window.get();
        const bool in_illustrations = window == m_window->IllustrationsWindow();
        const bool navigation_open = m_window->NavigationFlag() != 0;
        switch (Below(3)) {
            case 0:
                QTest::mouseClick(&button, Qt::LeftButton);
                break;
            case 1:
                button.setFocus();
                QTest::keyClick(&button, Qt::Key_Space);
                break;
            default:
                button.click();
                break;
        }
        // What the user then expects to see.
        if (in_main && navigation_open && name == u"NAPR") {
            m_expect_direction_shown = true;
        } else if (in_main && navigation_open && name == u"RISYNOK") {
            m_expect_illustrations_shown = true;
        } else if (in_illustrations && name == u"cmd1") {
            m_expect_illustrations_shown = false;
        }
    }

    void CloseSecondaryWindow() {
        const bool direction = Chance(50);
        QWidget* window = direction ? static_cast<QWidget*>(m_window->DirectionWindow())
                                    : static_cast<QWidget*>(m_window->IllustrationsWindow());
        if (window == nullptr) {
            Log(QStringLiteral("nothing to close"));
            return;
        }
        Log(QStringLiteral("close %1 through its frame").arg(window->windowTitle()));
        (direction ? m_expect_direction_shown : m_expect_illustrations_shown) = false;
        window->close();
    }

    // Direction START, with random actions waiting to run in the yield of its drawing (or, when
    // it fails before the yield, once events are next handled without a box open).
    void StartDirectionWithActionsInItsYield(int depth) {
        FLIN1* direction = m_window->DirectionWindow();
        if (!Shown(direction)) {
            Log(QStringLiteral("direction START wanted: click НАПРАВЛЕНИЕ"));
            Click(Find<QPushButton>(*m_window, "NAPR"));
            return;
        }
        if (depth < MaxNesting) {
            const unsigned nested = 1 + Below(3);
            QTimer::singleShot(0, this, [this, depth, nested] {
                if (QApplication::activeModalWidget() != nullptr || !m_window) {
                    return;
                }
                for (unsigned count = 0; count < nested; ++count) {
                    ++m_nested;
                    RandomAction(depth + 1);
                }
                m_depth = depth;
            });
        }
        Log(QStringLiteral("direction START with POZIA '%1'")
                .arg(Find<QLineEdit>(*direction, "POZIA").text().left(40)));
        Click(Find<QPushButton>(*direction, "START"));
    }

    // A calculation with every input in its range, so that the results file and the direction
    // drawing see real azimuths.
    void RunPlausibleCalculation() {
        const auto set = [this](FieldId field, double low, double high) {
            const double value = low + (high - low) * Below(10001) / 10000.0;
            TypeReplacing(m_window->Field(field), QString::number(value, 'f', Below(4)));
        };
        set(FieldId::Text1, -180, 180);
        set(FieldId::Text2, 0, 59);
        set(FieldId::Text3, -80, 80);
        set(FieldId::Text4, 0, 59);
        set(FieldId::Text5, -180, 180);
        set(FieldId::Text9, -180, 180);
        set(FieldId::Text10, 0, 59);
        set(FieldId::Text13, 100, 2000);
        Log(QStringLiteral("calculate %1/%2 %3/%4 sat %5 and %6/%7 focus %8")
                .arg(m_window->Field(FieldId::Text1).text(), m_window->Field(FieldId::Text2).text(),
                     m_window->Field(FieldId::Text3).text(), m_window->Field(FieldId::Text4).text(),
                     m_window->Field(FieldId::Text5).text(), m_window->Field(FieldId::Text9).text(),
                     m_window->Field(FieldId::Text10).text(),
                     m_window->Field(FieldId::Text13).text()));
        Click(Find<QPushButton>(*m_window, "Gprog"));
    }

    void PaintWindow() {
        std::vector<QWidget*> windows = VisibleWindows();
        QWidget* window = windows[Below(static_cast<unsigned>(windows.size()))];
        Log(QStringLiteral("paint %1").arg(window->windowTitle()));
        static_cast<void>(window->grab());
    }

    void ResizeOrRaiseWindow() {
        std::vector<QWidget*> windows = VisibleWindows();
        QWidget* window = windows[Below(static_cast<unsigned>(windows.size()))];
        if (window != m_window.get() && Chance(50)) {
            const QSize size(1 + static_cast<int>(Below(900)), 1 + static_cast<int>(Below(700)));
            Log(QStringLiteral("resize %1 to %2x%3")
                    .arg(window->windowTitle())
                    .arg(size.width())
                    .arg(size.height()));
            window->resize(size);
        } else {
            Log(QStringLiteral("raise %1").arg(window->windowTitle()));
            ShowInFront(*window);
        }
    }

    static void TypeReplacing(QLineEdit& field, const QString& text) {
        field.setFocus();
        field.selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(&field, Qt::Key_Delete);
        } else {
            TypeText(field, text);
        }
    }

    // ---- after the stream

    void ExpectNoNewBox(int messages, int errors) const {
        QCOMPARE(m_answerer->Messages(), messages);
        QVERIFY2(m_answerer->Errors() == errors, qPrintable(m_answerer->LastText()));
    }

    // The worked example on the default site, typed as a user would.
    void ComputeTheExample() {
        const struct {
            FieldId field;
            const char* text;
        } inputs[] = {
            {FieldId::Text1, "35"},   {FieldId::Text2, "27.69"}, {FieldId::Text3, "32"},
            {FieldId::Text4, "48.5"}, {FieldId::Text5, "13"},    {FieldId::Text6, ""},
            {FieldId::Text9, "19"},   {FieldId::Text10, "12"},   {FieldId::Text13, "600"},
        };
        for (const auto& input : inputs) {
            TypeReplacing(m_window->Field(input.field), QString::fromUtf8(input.text));
            QCOMPARE(m_window->Field(input.field).text(), QString::fromUtf8(input.text));
        }
        const int messages = m_answerer->Messages();
        const int errors = m_answerer->Errors();
        QTest::mouseClick(&Find<QPushButton>(*m_window, "Gprog"), Qt::LeftButton);
        ExpectNoNewBox(messages, errors);

        const struct {
            FieldId field;
            const char* text;
        } results[] = {
            {FieldId::Text8, " 217.344291652777"},    {FieldId::Text16, " + 23.5"},
            {FieldId::Text12, " 208.2955"},           {FieldId::Text14, " 33.2649мм-->НИЖЕ"},
            {FieldId::Text15, " 94.3645мм-->СПРАВА"}, {FieldId::Text7, " 44.8168471212995"},
            {FieldId::Text11, " 47.99485"},
        };
        for (const auto& result : results) {
            QCOMPARE(m_window->Field(result.field).text(), QString::fromUtf8(result.text));
        }
        QFile file(ResultsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("217.344291652777,44.8168471212995\r\n"));
    }

    // The direction window, shown again, draws the example's azimuth without a box.
    void DrawTheExampleDirection() {
        QTest::mouseClick(&Find<QPushButton>(*m_window, "NAPR"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        FLIN1* direction = m_window->DirectionWindow();
        QVERIFY(Shown(direction));
        TypeReplacing(Find<QLineEdit>(*direction, "POZIA"), QStringLiteral("-20"));
        const int messages = m_answerer->Messages();
        const int errors = m_answerer->Errors();
        QTest::mouseClick(&Find<QPushButton>(*direction, "START"), Qt::LeftButton);
        ExpectNoNewBox(messages, errors);
        // A point of the cyan direction line, which runs from (2581, 3042) to (3459, 174) twips.
        QCOMPARE(direction->Drawing().pixel(190, 146) | 0xFF000000u, qRgb(0, 255, 255));
    }

    // Every picture of the cycle still loads, and the cycle comes round to where it was.
    void ShowEveryPicture() {
        QTest::mouseClick(&Find<QPushButton>(*m_window, "RISYNOK"), Qt::LeftButton);
        FRIS123* illustrations = m_window->IllustrationsWindow();
        QVERIFY(Shown(illustrations));
        const std::int16_t step = illustrations->PictureStep();
        const int messages = m_answerer->Messages();
        const int errors = m_answerer->Errors();
        for (int press = 0; press < 8; ++press) {
            QTest::mouseClick(&Find<QPushButton>(*illustrations, "RISYNOK"), Qt::LeftButton);
        }
        ExpectNoNewBox(messages, errors);
        QCOMPARE(illustrations->PictureStep(), step);
        QVERIFY(!illustrations->Picture().isNull());
    }

    std::uint32_t m_seed = DefaultSeed;
    int m_actions = DefaultActions;
    std::mt19937 m_random;
    std::unique_ptr<BoxAnswerer> m_answerer;
    std::unique_ptr<MTARV> m_window;
    int m_done = 0;
    int m_nested = 0;
    int m_depth = 0;
    bool m_expect_direction_shown = false;
    bool m_expect_illustrations_shown = true;  // the load step shows it
    QString m_fault;
    std::deque<QString> m_log;
};

}  // namespace tarvex

QTEST_MAIN(tarvex::MonkeyTest)
#include "monkey_test.moc"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "direction/flin1.h"
#include "illustrations/fris123.h"
#include "main_window/mtarv.h"
#include "tests/support/recording_notifier.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

const char* const ResultFields[] = {"Text7",  "Text8",  "Text11", "Text12",
                                    "Text14", "Text15", "Text16"};

// Every field of the window, by its design name.
QStringList AllFieldNames() {
    QStringList names;
    for (int number = 1; number <= 16; ++number) {
        names.append(QStringLiteral("Text%1").arg(number));
    }
    return names;
}

template <typename Control>
Control& Find(const QWidget& window, const QString& name) {
    auto* control = window.findChild<Control*>(name);
    if (control == nullptr) {
        qFatal("no control %s", qPrintable(name));
    }
    return *control;
}

QLineEdit& FieldNamed(const QWidget& window, const QString& name) {
    return Find<QLineEdit>(window, name);
}

void Click(const QWidget& window, const char* button) {
    QTest::mouseClick(&Find<QPushButton>(window, QString::fromUtf8(button)), Qt::LeftButton);
}

void Type(const QWidget& window, const char* field, const QString& text) {
    QLineEdit& edit = FieldNamed(window, QString::fromUtf8(field));
    edit.selectAll();
    QTest::keyClicks(&edit, text);
}

// The satellites and dish of the worked example; the site is the window's default one.
void TypeExample(const QWidget& window) {
    Type(window, "Text5", QStringLiteral("13"));
    Type(window, "Text9", QStringLiteral("19"));
    Type(window, "Text10", QStringLiteral("12"));
    Type(window, "Text13", QStringLiteral("600"));
}

// Windows closed through their frames are deleted once events are handled.
void DeleteDiscardedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The lines a label breaks its caption into, as QLabel lays out word-wrapped plain text, each
// without the blanks it ends in; and where, in window coordinates, the character at `index`
// starts.
struct CaptionLayout {
    QStringList lines;
    qreal x_of_index = 0;
};

CaptionLayout LayOut(const QLabel& label, int index) {
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    CaptionLayout result;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label.width());
        QString text = label.text().mid(line.textStart(), line.textLength());
        while (text.endsWith(u' ')) {
            text.chop(1);
        }
        result.lines.append(text);
    }
    layout.endLayout();
    result.x_of_index = label.x() + layout.lineForTextPosition(index).cursorToX(index);
    return result;
}

bool Shown(const QWidget* window) {
    return window != nullptr && window->isVisible();
}

}  // namespace

class MtarvTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { LoadProgramFonts(); }

    void init() {
        QVERIFY(m_folder.isValid());
        QFile::remove(ResultsPath());
        m_notifier.messages.clear();
        m_notifier.errors.clear();
        m_window = std::make_unique<MTARV>();
        m_window->SetAppFolder(m_folder.path().toStdString());
    }

    void cleanup() {
        m_window.reset();
        DeleteDiscardedWindows();
    }

    void DefaultTexts_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* control, const char* text) {
            QTest::newRow(control) << QString::fromUtf8(control) << QString::fromUtf8(text);
        };
        row("T1", "     РАССЧЕТ МУЛЬТИФИДА");
        row("T2", "     ПО КООРДИНАТАМ СПУТНИКОВ");
        row("T3", " Ваши  координаты           места  (пример: г.Тверия ИЗРАИЛЬ)");
        row("Label1", " долгота(градусы)            долгота(минуты)");
        row("T4", "   широта(градусы)              широта(минуты)");
        row("Label6", "ФОКУСНОЕ РАССТОЯНИЕ АНТЕНЫ");
        row("T5", "     Координаты            TV-спутника  (1)     установленного");
        row("T6", " долгота(градусы)             долгота(минуты)");
        row("Label2", "     Координаты            TV-спутника (2)  устанавливаемого");
        row("Label3", "долгота(градусы)              долгота(минуты)");
        row("T7", "      РЕЗУЛЬТАТ");
        row("T8", "1)  BETA-угол  места");
        row("T9", "    1) ALFA-азимут");
        row("Label4", "2)  BETA-угол места");
        row("Label5", "     2)  ALFA-азимут");
        row("Label7", "СДВИГ УГЛА ВОЗВЫШЕНИЯ        РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ ");
        row("Label8", " УГОЛ ПОВОРОТА");
        row("Gprog", "START");
        row("RISYNOK", "Рисунок");
        row("cmdExit", "EXIT");
        row("NAPR", "НАПРАВЛЕНИЕ");
        row("Text1", "35");
        row("Text2", "27.69");
        row("Text3", "32");
        row("Text4", "48.5");
        for (const char* empty : {"Text5", "Text6", "Text9", "Text10", "Text13"}) {
            row(empty, "");
        }
        for (const char* result : ResultFields) {
            row(result, "");
        }
    }
    void DefaultTexts() {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QObject* object = m_window->findChild<QObject*>(control);
        QVERIFY(object != nullptr);
        if (auto* label = qobject_cast<QLabel*>(object)) {
            QCOMPARE(label->text(), text);
        } else if (auto* button = qobject_cast<QPushButton*>(object)) {
            QCOMPARE(button->text(), text);
        } else {
            QCOMPARE(qobject_cast<QLineEdit*>(object)->text(), text);
        }
    }

    void StartsAsDesigned() {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("RASCHET"));
        QCOMPARE(m_window->size(), QSize(445, 462));
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{0});
        QCOMPARE(QString::fromStdString(MTARV().AppFolder()),
                 QCoreApplication::applicationDirPath());
        QVERIFY(Shown(m_window->IllustrationsWindow()));
        QVERIFY(m_window->DirectionWindow() != nullptr);
        QVERIFY(!m_window->DirectionWindow()->isVisible());
        for (const char* picture : {"Image3", "Image2"}) {
            const QLabel& image = Find<QLabel>(*m_window, QString::fromUtf8(picture));
            QCOMPARE(image.pixmap().size(), QSize(45, 30));
            QCOMPARE(image.size(), QSize(45, 30));
        }
    }

    // The tall labels break their captions at the runs of blanks; the others keep one line.
    void CaptionsBreakAtTheirRunsOfBlanks_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("T3") << "T3"
                            << QStringList{" Ваши  координаты",
                                           "места  (пример:", "г.Тверия ИЗРАИЛЬ)"};
        QTest::newRow("T5") << "T5"
                            << QStringList{"     Координаты", "TV-спутника  (1)", "установленного"};
        QTest::newRow("Label2") << "Label2"
                                << QStringList{"     Координаты", "TV-спутника (2)",
                                               "устанавливаемого"};
        for (const char* one_line :
             {"T1", "T2", "Label6", "T7", "T8", "T9", "Label4", "Label5", "Label7", "Label8"}) {
            QTest::newRow(one_line) << one_line << QStringList();
        }
    }
    void CaptionsBreakAtTheirRunsOfBlanks() {
        QFETCH(QString, label);
        QFETCH(QStringList, lines);
        RequireBitmapFont();
        const QLabel& caption = Find<QLabel>(*m_window, label);
        QVERIFY(caption.wordWrap());
        QCOMPARE(caption.alignment(), Qt::AlignLeft | Qt::AlignTop);
        if (lines.isEmpty()) {
            QString text = caption.text();
            while (text.endsWith(u' ')) {
                text.chop(1);
            }
            lines.append(text);
        }
        QCOMPARE(LayOut(caption, 0).lines, lines);
    }

    // "градусы" stands above the degree field and "минуты" above the minute field.
    void UnitCaptionsStandAboveTheirFields_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("degrees");
        QTest::addColumn<QString>("minutes");
        QTest::newRow("site longitude") << "Label1"
                                        << "Text1"
                                        << "Text2";
        QTest::newRow("site latitude") << "T4"
                                       << "Text3"
                                       << "Text4";
        QTest::newRow("satellite 1") << "T6"
                                     << "Text5"
                                     << "Text6";
        QTest::newRow("satellite 2") << "Label3"
                                     << "Text9"
                                     << "Text10";
    }
    void UnitCaptionsStandAboveTheirFields() {
        QFETCH(QString, label);
        QFETCH(QString, degrees);
        QFETCH(QString, minutes);
        RequireBitmapFont();
        const QLabel& caption = Find<QLabel>(*m_window, label);
        const QRect degree_field = FieldNamed(*m_window, degrees).geometry();
        const QRect minute_field = FieldNamed(*m_window, minutes).geometry();
        const auto degrees_at = static_cast<int>(caption.text().indexOf(QStringLiteral("градусы")));
        const auto minutes_at = static_cast<int>(caption.text().indexOf(QStringLiteral("минуты")));
        QCOMPARE(LayOut(caption, 0).lines.size(), qsizetype{1});
        const qreal degrees_x = LayOut(caption, degrees_at).x_of_index;
        const qreal minutes_x = LayOut(caption, minutes_at).x_of_index;
        QVERIFY2(degrees_x > degree_field.left() && degrees_x < degree_field.right(),
                 qPrintable(QString::number(degrees_x)));
        QVERIFY2(minutes_x > minute_field.left() && minutes_x < minute_field.right(),
                 qPrintable(QString::number(minutes_x)));
    }

    void TabVisitsTheControlsInDesignOrder() {
        ShowInFront(*m_window);
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QCOMPARE(QApplication::focusWidget(), &m_window->Field(FieldId::Text1));
        const QStringList expected = {"Text2",  "Text3",  "Text4",  "Text5",   "Text6",
                                      "Text7",  "Text8",  "Gprog",  "RISYNOK", "cmdExit",
                                      "NAPR",   "Text9",  "Text10", "Text11",  "Text12",
                                      "Text13", "Text14", "Text15", "Text16",  "Text1"};
        QStringList visited;
        for (qsizetype step = 0; step < expected.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(visited, expected);
    }

    void NavigationButtonsWaitForText5OrText7() {
        m_window->show();
        m_window->IllustrationsWindow()->close();
        DeleteDiscardedWindows();
        QVERIFY(m_window->IllustrationsWindow() == nullptr);
        Click(*m_window, "NAPR");
        Click(*m_window, "RISYNOK");
        QVERIFY(!m_window->DirectionWindow()->isVisible());
        QVERIFY(m_window->IllustrationsWindow() == nullptr);
        QVERIFY(m_notifier.messages.isEmpty());

        Type(*m_window, "Text5", QStringLiteral("1"));
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{1});
        Click(*m_window, "NAPR");
        QVERIFY(Shown(m_window->DirectionWindow()));
        Click(*m_window, "RISYNOK");
        QVERIFY(Shown(m_window->IllustrationsWindow()));
        QVERIFY(m_window->isVisible());
    }

    void NavigationFlagFollowsTheLastChangedField() {
        QLineEdit& text5 = m_window->Field(FieldId::Text5);
        QLineEdit& text7 = m_window->Field(FieldId::Text7);
        text7.setText(QStringLiteral(" 44.8"));
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{2});
        QTest::keyClick(&text5, Qt::Key_7);
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{1});
        text7.setText(text7.text());  // no change, no event
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{1});
        text7.selectAll();
        QTest::keyClick(&text7, Qt::Key_Delete);  // cleared by hand
        QCOMPARE(text7.text(), QString());
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{2});
        text5.clear();
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{1});
        // Other fields leave it alone.
        Type(*m_window, "Text9", QStringLiteral("19"));
        m_window->Field(FieldId::Text8).setText(QStringLiteral("x"));
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{1});
    }

    void DirectionWindowIsShownOnceAndLoadedAgainAfterItsFrameClosed() {
        Type(*m_window, "Text5", QStringLiteral("13"));
        FLIN1* first = m_window->DirectionWindow();
        Click(*m_window, "NAPR");
        Click(*m_window, "NAPR");
        QCOMPARE(m_window->DirectionWindow(), first);
        QVERIFY(first->isVisible());
        QVERIFY(first->parent() == nullptr);  // no owner

        first->close();
        DeleteDiscardedWindows();
        QVERIFY(m_window->DirectionWindow() == nullptr);
        Click(*m_window, "NAPR");
        QVERIFY(Shown(m_window->DirectionWindow()));
    }

    // A window closed inside the direction window's yield lives on until control returns to the
    // event loop (the direction window until its START returns); its navigation button pressed
    // meanwhile must load a new one, not show the closed one that is about to go.
    void WindowClosedDuringTheDirectionYieldIsLoadedAgain_data() {
        QTest::addColumn<bool>("direction");
        QTest::newRow("direction window") << true;
        QTest::newRow("illustrations window") << false;
    }
    void WindowClosedDuringTheDirectionYieldIsLoadedAgain() {
        QFETCH(bool, direction);
        Type(*m_window, "Text5", QStringLiteral("13"));
        Click(*m_window, "NAPR");
        const QPointer<FLIN1> drawing = m_window->DirectionWindow();
        const QPointer<QWidget> closed =
            direction ? static_cast<QWidget*>(drawing) : m_window->IllustrationsWindow();
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] {
            QTimer::singleShot(0, drawing, [&] {
                closed->close();
                Click(*m_window, direction ? "NAPR" : "RISYNOK");
            });
            Click(*drawing, "START");
            loop.quit();
        });
        loop.exec();
        DeleteDiscardedWindows();
        QVERIFY(closed.isNull());
        QVERIFY(Shown(direction ? static_cast<QWidget*>(m_window->DirectionWindow())
                                : m_window->IllustrationsWindow()));
    }

    void StartComputesTheExample() {
        TypeExample(*m_window);
        Click(*m_window, "Gprog");
        QVERIFY(m_notifier.messages.isEmpty());
        QVERIFY(m_notifier.errors.isEmpty());
        ExpectExampleResults();
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{2});
        Click(*m_window, "RISYNOK");
        QVERIFY(Shown(m_window->IllustrationsWindow()));
    }

    void StartWithAnEmptyRequiredFieldChangesNothing_data() {
        QTest::addColumn<QStringList>("filled");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing typed") << QStringList() << QStringLiteral("НЕТ КООРДИНАТ (1) ");
        QTest::newRow("satellite 2 missing")
            << QStringList{"Text5", "Text13"} << QStringLiteral("НЕТ КООРДИНАТ (2)");
        QTest::newRow("focal length missing")
            << QStringList{"Text5", "Text9"} << QStringLiteral("НЕТ ФОКУСА АНТЕНЫ");
    }
    void StartWithAnEmptyRequiredFieldChangesNothing() {
        QFETCH(QStringList, filled);
        QFETCH(QString, message);
        for (const QString& field : filled) {
            FieldNamed(*m_window, field).setText(QStringLiteral("13"));
        }
        QStringList before;
        for (const QString& field : AllFieldNames()) {
            before.append(FieldNamed(*m_window, field).text());
        }
        Click(*m_window, "Gprog");
        QCOMPARE(m_notifier.messages, QStringList{message});
        QStringList after;
        for (const QString& field : AllFieldNames()) {
            after.append(FieldNamed(*m_window, field).text());
        }
        QCOMPARE(after, before);
        QVERIFY(!QFile::exists(ResultsPath()));
    }

    // The error is shown, the handler stops, the program goes on and computes the next START.
    void RunTimeErrorIsShownAndTheNextStartComputes() {
        TypeExample(*m_window);
        Type(*m_window, "Text1", QStringLiteral("1e308"));
        Click(*m_window, "Gprog");
        QCOMPARE(m_notifier.errors.size(), qsizetype{1});
        // In the installer's words first, then the technical name.
        QCOMPARE(m_notifier.errors.front(),
                 QStringLiteral("Слишком большое число: расчёт выходит за допустимые пределы. "
                                "Проверьте введённые числа.\n\n(Overflow)"));
        QVERIFY(m_notifier.messages.isEmpty());
        for (const char* result : ResultFields) {
            QCOMPARE(FieldNamed(*m_window, QString::fromUtf8(result)).text(), QString());
        }
        QVERIFY(!QFile::exists(ResultsPath()));

        Type(*m_window, "Text1", QStringLiteral("35"));
        Click(*m_window, "Gprog");
        QCOMPARE(m_notifier.errors.size(), qsizetype{1});
        ExpectExampleResults();
    }

    // Last: ending the program leaves the application's event loops.
    void ExitEndsTheProgramWithEveryWindow() {
        Type(*m_window, "Text5", QStringLiteral("13"));
        Click(*m_window, "NAPR");
        ShowInFront(*m_window);
        QCOMPARE(RunEventLoop([this] { Click(*m_window, "cmdExit"); }), 0);
        ExpectEveryWindowClosed();
    }

    void ClosingTheFrameEndsTheProgram() {
        ShowInFront(*m_window);
        QCOMPARE(RunEventLoop([this] { m_window->close(); }), 0);
        ExpectEveryWindowClosed();
    }

  private:
    static void RequireBitmapFont() {
        if (QFontInfo(SansSerifFont(8.25, false)).family() != QStringLiteral("MS Sans Serif")) {
            QSKIP("the captions are laid out for MS Sans Serif (fonts-wine)");
        }
    }

    QString ResultsPath() const { return m_folder.filePath(QStringLiteral("rlin1.txt")); }

    void ExpectExampleResults() {
        const auto expect = [this](FieldId field, const char* text) {
            QCOMPARE(m_window->Field(field).text(), QString::fromUtf8(text));
        };
        expect(FieldId::Text8, " 217.344291652777");
        expect(FieldId::Text16, " + 23.5");
        expect(FieldId::Text12, " 208.2955");
        expect(FieldId::Text14, " 33.2649мм-->НИЖЕ");
        expect(FieldId::Text15, " 94.3645мм-->СПРАВА");
        expect(FieldId::Text7, " 44.8168471212995");
        expect(FieldId::Text11, " 47.99485");
        QFile results(ResultsPath());
        QVERIFY(results.open(QIODevice::ReadOnly));
        QCOMPARE(results.readAll(), QByteArray("217.344291652777,44.8168471212995\r\n"));
    }

    // Runs the application's event loop with `action` as its first event; a program that does not
    // end within ten seconds fails with 99.
    template <typename Action>
    int RunEventLoop(Action action) {
        QTimer::singleShot(0, m_window.get(), action);
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        timeout.start(10000);
        return QCoreApplication::exec();
    }

    void ExpectEveryWindowClosed() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));
        }
    }

    QTemporaryDir m_folder;
    RecordingNotifier m_notifier;
    ScopedNotifier m_scoped_notifier{m_notifier};
    std::unique_ptr<MTARV> m_window;
};

}  // namespace tarvex

QTEST_MAIN(tarvex::MtarvTest)
#include "mtarv_test.moc"

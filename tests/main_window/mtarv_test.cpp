#include <QDir>
#include <QEventLoop>
#include <QFontInfo>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextLayout>
#include <algorithm>
#include <memory>

#include "direction/flin1.h"
#include "illustrations/fris123.h"
#include "tests/support/recording_notifier.h"
#include "tests/support/window_test.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

QStringList FieldTexts(const MTARV& window) {
    QStringList texts;
    for (const FieldSpec& field : Fields) {
        texts << window.Field(field.id).text();
    }
    return texts;
}

// The lines QLabel breaks a word-wrapped caption into, without their trailing blanks; and where,
// in window coordinates, the character at `index` starts.
QStringList CaptionLines(const QLabel& label, int index = 0, qreal* x_of_index = nullptr) {
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label.width());
        lines << label.text().mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (x_of_index != nullptr) {
        *x_of_index = label.x() + layout.lineForTextPosition(index).cursorToX(index);
    }
    return lines;
}

}  // namespace

class MtarvTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { LoadProgramFonts(); }

    void init() {
        QFile::remove(ResultsPath());
        m_notifier = RecordingNotifier();
        m_window = std::make_unique<MTARV>();
        m_window->SetAppFolder(m_folder.path().toStdString());
    }

    void cleanup() {
        m_window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void StartsWithItsDefaultTexts() {
        const char* const captions[][2] = {
            {"T1", "     РАССЧЕТ МУЛЬТИФИДА"},
            {"T2", "     ПО КООРДИНАТАМ СПУТНИКОВ"},
            {"T3", " Ваши  координаты           места  (пример: г.Тверия ИЗРАИЛЬ)"},
            {"Label1", " долгота(градусы)            долгота(минуты)"},
            {"T4", "   широта(градусы)              широта(минуты)"},
            {"Label6", "ФОКУСНОЕ РАССТОЯНИЕ АНТЕНЫ"},
            {"T5", "     Координаты            TV-спутника  (1)     установленного"},
            {"T6", " долгота(градусы)             долгота(минуты)"},
            {"Label2", "     Координаты            TV-спутника (2)  устанавливаемого"},
            {"Label3", "долгота(градусы)              долгота(минуты)"},
            {"T7", "      РЕЗУЛЬТАТ"},
            {"T8", SpecOf(FieldId::Elevation1).caption},
            {"T9", SpecOf(FieldId::Azimuth1).caption},
            {"Label4", SpecOf(FieldId::Elevation2).caption},
            {"Label5", SpecOf(FieldId::Azimuth2).caption},
            {"Label7", "СДВИГ УГЛА ВОЗВЫШЕНИЯ        РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ "},
            {"Label8", SpecOf(FieldId::Rotation).caption},
            {"Gprog", "START"},
            {"RISYNOK", "Рисунок"},
            {"cmdExit", "EXIT"},
            {"NAPR", "НАПРАВЛЕНИЕ"}};
        for (const auto& [control, text] : captions) {
            auto* label = m_window->findChild<QLabel*>(control);
            QCOMPARE(label != nullptr ? label->text() : Find(*m_window, control).text(),
                     QString::fromUtf8(text));
        }
        for (const FieldSpec& field : Fields) {
            QCOMPARE(Find<QLineEdit>(*m_window, field.design_name).text(),
                     QString::fromUtf8(field.default_text));
        }
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{0});
        QCOMPARE(MTARV().AppFolder(), ResultsFolder());
        QVERIFY(Shown(m_window->IllustrationsWindow()));
        QVERIFY(m_window->DirectionWindow() != nullptr);
        QVERIFY(!m_window->DirectionWindow()->isVisible());
    }

    // The tall labels break their captions at the runs of blanks; the others keep one line, and
    // in those over a degree field and its minute field "градусы" stands above the one and
    // "минуты" above the other.
    void Captions_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("degrees");  // the design number of the degree field, if any
        QTest::newRow("T3") << "T3"
                            << QStringList{"Ваши  координаты",
                                           "места  (пример:", "г.Тверия ИЗРАИЛЬ)"}
                            << 0;
        QTest::newRow("T5") << "T5"
                            << QStringList{"Координаты", "TV-спутника  (1)", "установленного"} << 0;
        QTest::newRow("Label2") << "Label2"
                                << QStringList{"Координаты", "TV-спутника (2)", "устанавливаемого"}
                                << 0;
        const char* const one_line[] = {"T1",     "T2",     "Label6", "T7",     "T8",
                                        "T9",     "Label4", "Label5", "Label7", "Label8",
                                        "Label1", "T4",     "T6",     "Label3"};
        const int degree_fields[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 3, 5, 9};
        for (std::size_t row = 0; row < std::size(one_line); ++row) {
            QTest::newRow(one_line[row]) << one_line[row] << QStringList() << degree_fields[row];
        }
    }
    void Captions() {
        QFETCH(QString, label);
        QFETCH(QStringList, lines);
        QFETCH(int, degrees);
        if (QFontInfo(SansSerifFont(8.25, false)).family() != QStringLiteral("MS Sans Serif")) {
            QSKIP("the captions are laid out for MS Sans Serif (fonts-wine)");
        }
        const QLabel& caption = Find<QLabel>(*m_window, label);
        QCOMPARE(CaptionLines(caption),
                 lines.isEmpty() ? QStringList{caption.text().trimmed()} : lines);
        if (degrees == 0) {
            return;
        }
        for (const auto& [unit, field] :
             {std::pair{"градусы", degrees}, std::pair{"минуты", degrees + 1}}) {
            qreal x = 0;
            CaptionLines(caption, static_cast<int>(caption.text().indexOf(QString::fromUtf8(unit))),
                         &x);
            const QRect under =
                Find<QLineEdit>(*m_window, QStringLiteral("Text%1").arg(field)).geometry();
            QVERIFY2(x > under.left() && x < under.right(), unit);
        }
    }

    void TabVisitsTheControlsInDesignOrder() {
        ShowInFront(*m_window);
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QCOMPARE(QApplication::focusWidget(), &m_window->Field(FieldId::SiteLongitudeDegrees));
        const QStringList expected = {
            "Text2",  "Text3",   "Text4",   "Text5",  "Text6",  "Text7",    "Text8",
            "Gprog",  "RISYNOK", "cmdExit", "NAPR",   "Text9",  "Text10",   "Text11",
            "Text12", "Text13",  "Text14",  "Text15", "Text16", "UTOCHNIT", "Text1"};
        QStringList visited;
        for (qsizetype step = 0; step < expected.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    // 1 after every change of Text5, 2 after every change of Text7; the navigation buttons wait
    // for either.
    void NavigationFlagFollowsTheLastChangedField() {
        m_window->show();
        m_window->IllustrationsWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Click(*m_window, "NAPR");
        Click(*m_window, "RISYNOK");
        QVERIFY(!m_window->DirectionWindow()->isVisible());
        QVERIFY(m_window->IllustrationsWindow() == nullptr);

        QLineEdit& text5 = m_window->Field(FieldId::Satellite1Degrees);
        QLineEdit& text7 = m_window->Field(FieldId::Elevation1);
        QTest::keyClick(&text5, Qt::Key_1);
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{1});
        FLIN1* direction = m_window->DirectionWindow();
        Click(*m_window, "NAPR");
        Click(*m_window, "NAPR");
        QVERIFY(Shown(direction));
        QCOMPARE(m_window->DirectionWindow(), direction);  // shown, not loaded anew
        QVERIFY(direction->parent() == nullptr);           // no owner
        Click(*m_window, "RISYNOK");
        QVERIFY(Shown(m_window->IllustrationsWindow()));

        text7.setText(QStringLiteral(" 44.8"));
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{2});
        QTest::keyClick(&text5, Qt::Key_7);
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{1});
        text7.setText(text7.text());  // no change, no event
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{1});
        TypeInto(text7, QString());
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{2});
        text5.clear();
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{1});
        TypeInto(m_window->Field(FieldId::Satellite2Degrees), QStringLiteral("19"));
        m_window->Field(FieldId::Azimuth1).setText(QStringLiteral("x"));
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{1});
        QVERIFY(m_notifier.messages.isEmpty());
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
        TypeInto(m_window->Field(FieldId::Satellite1Degrees), QStringLiteral("13"));
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
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(closed.isNull());
        QVERIFY(Shown(direction ? static_cast<QWidget*>(m_window->DirectionWindow())
                                : m_window->IllustrationsWindow()));
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
            Find<QLineEdit>(*m_window, field).setText(QStringLiteral("13"));
        }
        const QStringList before = FieldTexts(*m_window);
        Click(*m_window, "Gprog");
        QCOMPARE(m_notifier.messages, QStringList{message});
        QCOMPARE(FieldTexts(*m_window), before);
        QVERIFY(!QFile::exists(ResultsPath()));
    }

    // The error is shown in the installer's words, then the technical name; nothing is written,
    // and the program goes on to compute the next START.
    void RunTimeErrorIsShownAndTheNextStartComputes() {
        TypeExample(*m_window);
        TypeInto(m_window->Field(FieldId::SiteLongitudeDegrees), QStringLiteral("1e308"));
        const QStringList before = FieldTexts(*m_window);
        Click(*m_window, "Gprog");
        QCOMPARE(m_notifier.errors,
                 QStringList{"Слишком большое число: расчёт выходит за допустимые пределы. "
                             "Проверьте введённые числа.\n\n(Overflow)"});
        QVERIFY(m_notifier.messages.isEmpty());
        QCOMPARE(FieldTexts(*m_window), before);
        QVERIFY(!QFile::exists(ResultsPath()));

        TypeInto(m_window->Field(FieldId::SiteLongitudeDegrees), QStringLiteral("35"));
        Click(*m_window, "Gprog");
        QCOMPARE(m_notifier.errors.size(), qsizetype{1});
        QVERIFY(m_notifier.messages.isEmpty());
        ExpectExampleResults(*m_window, ResultsPath());
        QCOMPARE(m_window->NavigationFlag(), std::int16_t{2});
    }

    // Return and Enter press the focused button in every window, as Space does.
    void ReturnPressesTheFocusedButton_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::newRow("main START") << "RASCHET"
                                    << "Gprog" << int{Qt::Key_Return};
        QTest::newRow("main НАПРАВЛЕНИЕ") << "RASCHET"
                                          << "NAPR" << int{Qt::Key_Enter};
        QTest::newRow("direction START") << "CYRC1"
                                         << "START" << int{Qt::Key_Return};
        QTest::newRow("illustrations picture") << "RIS123"
                                               << "RISYNOK" << int{Qt::Key_Return};
    }
    void ReturnPressesTheFocusedButton() {
        QFETCH(QString, window);
        QFETCH(QString, button);
        QFETCH(int, key);
        const QWidget* windows[] = {m_window.get(), m_window->DirectionWindow(),
                                    m_window->IllustrationsWindow()};
        const auto found =
            std::find_if(std::begin(windows), std::end(windows),
                         [&](const QWidget* w) { return w->windowTitle() == window; });
        QVERIFY(found != std::end(windows));
        QPushButton& pressed = Find(**found, button);
        QSignalSpy clicks(&pressed, &QPushButton::clicked);
        QTest::keyClick(&pressed, static_cast<Qt::Key>(key));
        QCOMPARE(clicks.count(), 1);
    }

    // A START whose write fails keeps its error box; the direction window then says that its file
    // is older than the results shown instead of drawing the older azimuth, until a write succeeds.
    void FailedWriteMakesTheDirectionWindowSayItsFileIsOlder() {
        QVERIFY(QDir(m_folder.path()).mkdir(QStringLiteral("rlin1.txt")));
        TypeExample(*m_window);
        Click(*m_window, "Gprog");
        QCOMPARE(m_notifier.errors.size(), qsizetype{1});
        QVERIFY(m_notifier.errors[0].startsWith("На месте файла находится папка"));
        QCOMPARE(m_window->Field(FieldId::Elevation1).text(), QStringLiteral(" 44.8168471212995"));
        Click(*m_window, "NAPR");
        Click(*m_window->DirectionWindow(), "START");
        QCOMPARE(m_notifier.errors.size(), qsizetype{2});
        QVERIFY(m_notifier.errors[1].startsWith("Файл результатов старше результатов главного"));

        QVERIFY(QDir(m_folder.path()).rmdir(QStringLiteral("rlin1.txt")));
        Click(*m_window, "Gprog");
        Click(*m_window->DirectionWindow(), "START");
        for (qsizetype later = 2; later < m_notifier.errors.size(); ++later) {
            QVERIFY(!m_notifier.errors[later].startsWith("Файл результатов старше"));
        }
    }

    // Last: EXIT, or closing the frame, ends the program and closes every window.
    void EndingTheProgram_data() {
        QTest::addColumn<bool>("exit");
        QTest::newRow("EXIT") << true;
        QTest::newRow("frame") << false;
    }
    void EndingTheProgram() {
        QFETCH(bool, exit);
        TypeInto(m_window->Field(FieldId::Satellite1Degrees), QStringLiteral("13"));
        Click(*m_window, "NAPR");
        ShowInFront(*m_window);
        QCOMPARE(RunProgram(m_window.get(),
                            [this, exit] {
                                exit ? Click(*m_window, "cmdExit")
                                     : static_cast<void>(m_window->close());
                            }),
                 0);
    }

  private:
    QString ResultsPath() const { return m_folder.filePath(QStringLiteral("rlin1.txt")); }

    QTemporaryDir m_folder;
    RecordingNotifier m_notifier;
    ScopedNotifier m_scoped_notifier{m_notifier};
    std::unique_ptr<MTARV> m_window;
};

}  // namespace tarvex

QTEST_MAIN(tarvex::MtarvTest)
#include "mtarv_test.moc"

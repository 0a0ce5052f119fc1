#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPaintEngine>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>
#include <cmath>
#include <memory>
#include <queue>

#include "app/plan_window_opener.h"
#include "plan_window/layout_geometry.h"
#include "plan_window/plan_window.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/recording_notifier.h"
#include "tests/support/window_test.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

PlanWindow* OpenPlanWindow(const MTARV& main_window) {
    Click(main_window, "UTOCHNIT");
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* plan = qobject_cast<PlanWindow*>(window)) {
            return plan;
        }
    }
    return nullptr;
}

// The example's satellites, dish and day (the site is the main window's default).
const std::pair<PlanField, const char*> ExamplePlan[] = {
    {PlanField::SiteLongitude, "35:27.69"}, {PlanField::SiteLatitude, "32:48.5"},
    {PlanField::Satellite1, "13"},          {PlanField::Satellite2, "19.2"},
    {PlanField::FocalLength, "600"},        {PlanField::Diameter, "1000"},
    {PlanField::Date, "2026-12-07"}};

planning::PlanInput InputOf(const PlanWindow& window) {
    PlanFormTexts texts;
    for (std::size_t index = 0; index < PlanFieldCount; ++index) {
        texts[index] = window.Field(static_cast<PlanField>(index)).text().toStdString();
    }
    return *ReadPlanForm(texts).input;
}

// What the results table shows, cell by cell.
QString ResultsText(const PlanWindow& window) {
    QStringList texts;
    for (const QLabel* cell : Find<QWidget>(window, "Results").findChildren<QLabel*>()) {
        if (!cell->isHidden()) {
            texts << cell->text();
        }
    }
    return texts.join(u'\n');
}

bool Near(QRgb pixel, const QColor& colour) {
    return std::abs(qRed(pixel) - colour.red()) + std::abs(qGreen(pixel) - colour.green()) +
               std::abs(qBlue(pixel) - colour.blue()) <
           120;
}

// How many of 16 points around a 40 mm circle at `centre` have the colour.
int PointsOnCircle(const QImage& image, const FeedLayoutView& view, double right_mm, double up_mm,
                   const QColor& colour) {
    int found = 0;
    for (int step = 0; step < 16; ++step) {
        const double angle = (step + 0.5) * M_PI / 8;
        const QPointF at = ToDevice(view, right_mm + planning::FeedBodyMm / 2 * std::cos(angle),
                                    up_mm + planning::FeedBodyMm / 2 * std::sin(angle));
        // Antialiased: the point or one of its neighbours.
        bool near = false;
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                near = near || Near(image.pixel(at.toPoint() + QPoint(dx, dy)), colour);
            }
        }
        found += near ? 1 : 0;
    }
    return found;
}

// The centres of the connected groups of pixels close to `colour`, largest groups first.
std::vector<QPointF> CentresOf(const QImage& image, const QColor& colour, int min_pixels) {
    std::vector<std::pair<int, QPointF>> groups;
    std::vector<bool> seen(static_cast<std::size_t>(image.width()) * image.height());
    const auto index = [&](int x, int y) {
        return static_cast<std::size_t>(y) * image.width() + x;
    };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (seen[index(x, y)] || !Near(image.pixel(x, y), colour)) {
                continue;
            }
            std::queue<QPoint> next;
            next.push({x, y});
            seen[index(x, y)] = true;
            QPointF sum;
            int count = 0;
            while (!next.empty()) {
                const QPoint p = next.front();
                next.pop();
                sum += p;
                ++count;
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint q = p + d;
                    if (image.rect().contains(q) && !seen[index(q.x(), q.y())] &&
                        Near(image.pixel(q), colour)) {
                        seen[index(q.x(), q.y())] = true;
                        next.push(q);
                    }
                }
            }
            if (count >= min_pixels) {
                groups.emplace_back(count, sum / count);
            }
        }
    }
    std::sort(groups.begin(), groups.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<QPointF> centres;
    for (const auto& group : groups) {
        centres.push_back(group.second);
    }
    return centres;
}

// The longest run of black pixels in any row, in pixels (the grid's dark grey is lighter).
int LongestDarkRun(const QImage& image) {
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = qGray(image.pixel(x, y)) < 64 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

// Page `page` of a PDF drawn by poppler at `dpi` into `stem`.png.
QImage RenderPage(const QString& pdf, int page, int dpi, const QString& stem) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) {
        qWarning("pdftoppm (poppler-utils) is needed");
        return {};
    }
    const QString number = QString::number(page);
    if (QProcess::execute(pdftoppm, {"-r", QString::number(dpi), "-png", "-singlefile", "-f",
                                     number, "-l", number, pdf, stem}) != 0) {
        return {};
    }
    return QImage(stem + QStringLiteral(".png"));
}

// Counts the lines a painting draws, and nothing else.
class LineCounter : public QPaintEngine {
  public:
    LineCounter() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice* /*device*/) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& /*state*/) override {}
    void drawPixmap(const QRectF& /*r*/, const QPixmap& /*pm*/, const QRectF& /*sr*/) override {}
    void drawLines(const QLineF* /*lines*/, int count) override { m_lines += count; }
    void drawLines(const QLine* /*lines*/, int count) override { m_lines += count; }
    void drawPath(const QPainterPath& /*path*/) override {}
    void drawPolygon(const QPointF* /*points*/, int /*count*/, PolygonDrawMode /*mode*/) override {}
    void drawPolygon(const QPoint* /*points*/, int /*count*/, PolygonDrawMode /*mode*/) override {}
    void drawTextItem(const QPointF& /*at*/, const QTextItem& /*text*/) override {}
    Type type() const override { return QPaintEngine::User; }
    int Lines() const { return m_lines; }

  private:
    int m_lines = 0;
};

class CountingSurface : public QPaintDevice {
  public:
    QPaintEngine* paintEngine() const override { return &m_engine; }
    int Lines() const { return m_engine.Lines(); }

  protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
            case PdmHeight:
                return 500;
            case PdmWidthMM:
            case PdmHeightMM:
                return 132;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDepth:
                return 32;
            case PdmNumColors:
                return INT_MAX;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

  private:
    mutable LineCounter m_engine;
};

int CountLines(const FeedLayoutView& view, const planning::Plan& plan) {
    CountingSurface surface;
    QPainter painter(&surface);
    PaintFeedLayout(painter, view, plan, std::nullopt);
    painter.end();
    return surface.Lines();
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class PlanWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { LoadProgramFonts(); }

    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        m_notifier = RecordingNotifier();
        m_main = std::make_unique<MTARV>();
        ConnectPlanWindow(*m_main);
        m_main->SetAppFolder(m_folder->path().toStdString());
        TypeExample(*m_main);
        m_window = OpenPlanWindow(*m_main);
        QVERIFY(Shown(m_window));
        for (const auto& [field, text] : ExamplePlan) {
            TypeInto(m_window->Field(field), QString::fromUtf8(text));
        }
    }

    void cleanup() {
        m_main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_notifier.messages.isEmpty());
    }

    // On opening and on its button, in degrees and minutes; the button starts a new job, clearing
    // the satellites and the dish the main window does not have. УТОЧНИТЬ again brings the same
    // window forward without overwriting it.
    void FillsFromTheMainWindow() {
        m_main.reset();
        m_main = std::make_unique<MTARV>();
        ConnectPlanWindow(*m_main);
        TypeExample(*m_main);
        PlanWindow* window = OpenPlanWindow(*m_main);
        QVERIFY(window != nullptr);
        const auto text = [&](PlanField field) { return window->Field(field).text(); };
        QCOMPARE(text(PlanField::SiteLongitude), QStringLiteral("35:27.69"));
        QCOMPARE(text(PlanField::SiteLatitude), QStringLiteral("32:48.5"));
        QCOMPARE(text(PlanField::Satellite1), QStringLiteral("13"));
        QCOMPARE(text(PlanField::Satellite2), QStringLiteral("19:12"));
        QCOMPARE(text(PlanField::FocalLength), QStringLiteral("600"));
        // The main window has no dish size, which the plan needs.
        QVERIFY(!window->CurrentPlan().has_value());
        TypeInto(window->Field(PlanField::Diameter), QStringLiteral("1000"));
        QVERIFY(window->CurrentPlan().has_value());

        TypeInto(window->Field(PlanField::Satellite3), QStringLiteral("36"));
        TypeInto(window->Field(PlanField::Satellite2), QStringLiteral("9"));
        QCOMPARE(OpenPlanWindow(*m_main), window);
        QCOMPARE(text(PlanField::Satellite2), QStringLiteral("9"));
        TypeInto(m_main->Field(FieldId::FocalLength), QStringLiteral("800"));
        Click(*window, "TakeFromMainWindow");
        QCOMPARE(text(PlanField::Satellite2), QStringLiteral("19:12"));
        QCOMPARE(text(PlanField::FocalLength), QStringLiteral("800"));
        QCOMPARE(text(PlanField::Satellite3), QString());
        QCOMPARE(text(PlanField::Diameter), QString());
        TypeInto(window->Field(PlanField::Diameter), QStringLiteral("1000"));
        QCOMPARE(window->CurrentPlan()->feeds.size(), std::size_t{2});
    }

    void TypingUpdatesTheResults() {
        const auto results = [&] { return ResultsText(*m_window); };
        const planning::FeedPlan before = m_window->CurrentPlan()->feeds.at(1);
        QTest::keyClick(&m_window->Field(PlanField::FocalLength), Qt::Key_0);  // 6000 mm
        QTRY_VERIFY(!m_window->Refining());
        const planning::FeedPlan after = m_window->CurrentPlan()->feeds.at(1);
        QVERIFY(after.distance_mm > 5 * before.distance_mm);
        const auto shown = [&](double right_mm) {
            return results().contains(
                QString::fromStdString(SignedMillimetresText(right_mm, "вправо", "влево")));
        };
        QVERIFY(shown(after.right_mm));
        QVERIFY(!shown(before.right_mm));
        const planning::Plan plan =
            std::get<planning::Plan>(planning::MakePlan(InputOf(*m_window)));
        QCOMPARE(after.distance_mm, plan.feeds.at(1).distance_mm);
    }

    // Marked at the field with a message under it; nothing of the last plan stays on screen.
    void BadFieldShowsItsMessageAndClearsTheResults_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("longitude") << int(PlanField::SiteLongitude) << "35:2x";
        QTest::newRow("latitude beyond the pole") << int(PlanField::SiteLatitude) << "95";
        QTest::newRow("satellite 2 empty") << int(PlanField::Satellite2) << "";
        QTest::newRow("satellite 4 without 3") << int(PlanField::Satellite4) << "36";
        QTest::newRow("focal length 0") << int(PlanField::FocalLength) << "0";
        QTest::newRow("diameter negative") << int(PlanField::Diameter) << "-1000";
        QTest::newRow("diameter empty") << int(PlanField::Diameter) << "";
        QTest::newRow("no such date") << int(PlanField::Date) << "2026-02-30";
    }
    void BadFieldShowsItsMessageAndClearsTheResults() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QLineEdit& edit = m_window->Field(static_cast<PlanField>(field));
        const QLabel& message = Find<QLabel>(*m_window, edit.objectName() + "Error");
        QVERIFY(m_window->CurrentPlan().has_value());
        QVERIFY(message.isHidden());
        const QString before = edit.text();
        TypeInto(edit, text);
        QVERIFY(!message.isHidden());
        QVERIFY(!message.text().isEmpty());
        QVERIFY(!m_window->CurrentPlan().has_value());
        QVERIFY(ResultsText(*m_window).isEmpty());
        QVERIFY(Find<QLabel>(*m_window, "Warnings").text().isEmpty());
        QVERIFY(!Find<FeedLayoutWidget>(*m_window, "Drawing").View().has_value());
        QVERIFY(!Find(*m_window, "Copy").isEnabled());
        QVERIFY(!Find(*m_window, "SaveCard").isEnabled());
        TypeInto(edit, before);
        QVERIFY(message.isHidden());
        QVERIFY(m_window->CurrentPlan().has_value());
    }

    // Coordinates pasted from a map fill both fields; a town chosen fills them and is named with
    // the plan until the site is typed otherwise.
    void PastedSiteAndChosenTownFillTheSite() {
        QLineEdit& longitude = m_window->Field(PlanField::SiteLongitude);
        longitude.selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("55.7558, 37.6173"));
        longitude.paste();
        QCOMPARE(longitude.text(), QStringLiteral("37.6173"));
        QCOMPARE(m_window->Field(PlanField::SiteLatitude).text(), QStringLiteral("55.7558"));
        QVERIFY(m_window->CurrentPlan().has_value());
        QLineEdit& latitude = m_window->Field(PlanField::SiteLatitude);
        latitude.selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("56°50′N 60°36′E"));
        latitude.paste();
        QCOMPARE(longitude.text(), QStringLiteral("60.6"));
        QCOMPARE(latitude.text(), QStringLiteral("56.833333"));

        const QString town = QStringLiteral("Екатеринбург, Свердловская область, Россия");
        QVERIFY(m_window->ChoosePlace(QStringLiteral("екатеринбург")));
        QCOMPARE(Find<QLineEdit>(*m_window, "Place").text(), town);
        QVERIFY(std::abs(InputOf(*m_window).site_longitude_deg - 60.61) < 0.01);
        QVERIFY(std::abs(InputOf(*m_window).site_latitude_deg - 56.85) < 0.01);
        Click(*m_window, "Copy");
        QVERIFY(QGuiApplication::clipboard()->text().contains(town));
        TypeInto(longitude, QStringLiteral("60.7"));
        QVERIFY(m_window->PlaceName().isEmpty());
    }

    // A town that is not in the list is said under the place field, whose line is kept for it:
    // no field below moves. The site stays, and no town's name goes with it.
    void TownNotFoundIsSaid() {
        QVERIFY(m_window->ChoosePlace(QStringLiteral("екатеринбург")));
        auto& place = Find<QLineEdit>(*m_window, "Place");
        const auto& message = Find<QLabel>(*m_window, "PlaceError");
        const QLineEdit& longitude = m_window->Field(PlanField::SiteLongitude);
        const QPoint field_at = longitude.mapTo(m_window, QPoint());
        const QString site = longitude.text();
        place.selectAll();
        place.insert(QStringLiteral("Анадырь"));  // as a keyboard layout types it
        QTest::keyClick(&place, Qt::Key_Return);
        QVERIFY(!message.isHidden() && message.text().contains(QStringLiteral("не найден")));
        QVERIFY(m_window->PlaceName().isEmpty());
        QCOMPARE(longitude.text(), site);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(longitude.mapTo(m_window, QPoint()), field_at);
        QVERIFY(m_window->ChoosePlace(QStringLiteral("сочи")));
        QVERIFY(message.isHidden());
    }

    // Over a field without the focus the wheel scrolls the window and changes nothing, nor does
    // it give the focus; the field with the focus takes it.
    void WheelTurnsOnlyTheFocusedField() {
        QScrollBar& scroll = *Find<QScrollArea>(*m_window, "Scroll").verticalScrollBar();
        const auto wheel = [](QWidget& under_pointer) {
            const QPointF at(under_pointer.width() / 2.0, under_pointer.height() / 2.0);
            QWheelEvent event(at, under_pointer.mapToGlobal(at), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QSpontaneKeyEvent::setSpontaneous(&event);  // the mouse's: offered to the parents
            qApp->notify(&under_pointer, &event);
        };
        while (QWidget* list = QApplication::activePopupWidget()) {  // typing's lists take it
            list->close();
        }
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_window->Field(PlanField::FocalLength).setFocus();
        QLineEdit& satellite = m_window->Field(PlanField::Satellite2);
        auto& way = Find<QComboBox>(*m_window, "DishWay");
        for (QWidget* under_pointer : std::initializer_list<QWidget*>{&satellite, &way}) {
            const int scrolled = scroll.value();
            wheel(*under_pointer);
            QVERIFY(scroll.value() > scrolled);
        }
        QCOMPARE(satellite.text(), QStringLiteral("19.2"));
        QCOMPARE(way.currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), &m_window->Field(PlanField::FocalLength));
        satellite.setFocus();
        wheel(satellite);
        QVERIFY(satellite.text() != QStringLiteral("19.2"));
    }

    // An offset dish by its measurements; one that makes no dish is explained at its field.
    void OffsetDishByItsMeasurements() {
        m_window->SetDishWay(3);  // width, height, depth
        QVERIFY(m_window->Field(PlanField::FocalLength).isHidden());
        TypeInto(m_window->Field(PlanField::Width), QStringLiteral("800"));
        TypeInto(m_window->Field(PlanField::Depth), QStringLiteral("79"));
        TypeInto(m_window->Field(PlanField::Height), QStringLiteral("700"));
        QVERIFY(!m_window->CurrentPlan().has_value());
        QVERIFY(!Find<QLabel>(*m_window, "HeightError").isHidden());
        TypeInto(m_window->Field(PlanField::Height), QStringLiteral("883"));
        QVERIFY(Find<QLabel>(*m_window, "HeightError").isHidden());
        const planning::DishFigures& dish = m_window->CurrentPlan()->dish;
        QCOMPARE(dish.type, planning::DishType::Offset);
        QVERIFY(std::abs(dish.effective_focal_length_mm - 558.86) < 0.01);
        QVERIFY(Find<QLabel>(*m_window, "DishFigures").text().contains("вперёд") ||
                Find<QLabel>(*m_window, "DishFigures").text().contains("назад"));
    }

    // The formula's figures at once, marked as being refined; the optics' from the worker after,
    // those of the last input only. The worked example on the 80 cm offset dish: feed 2 72.83 mm
    // from feed 1, 2.21 dB weaker (the optics' published figures).
    void OpticsRefineTheFormulaInAWorker() {
        m_window->SetDishWay(3);  // width, height, depth
        TypeInto(m_window->Field(PlanField::Height), QStringLiteral("883"));
        TypeInto(m_window->Field(PlanField::Depth), QStringLiteral("79"));
        TypeInto(m_window->Field(PlanField::Width), QStringLiteral("900"));
        TypeInto(m_window->Field(PlanField::Width), QStringLiteral("800"));
        QVERIFY(m_window->Refining());
        QVERIFY(!m_window->CurrentPlan()->optics);
        QVERIFY(Find<QLabel>(*m_window, "Status").text().contains("уточняются"));
        QTRY_VERIFY(!m_window->Refining());
        const planning::FeedPlan& feed = m_window->CurrentPlan()->feeds.at(1);
        QVERIFY(std::abs(feed.distance_mm - 72.83) < 0.3);
        QVERIFY(std::abs(feed.loss_db - 2.21) < 0.1);
        QVERIFY(ResultsText(*m_window).contains("слабее на 2.2 дБ"));
        QVERIFY(Find<QLabel>(*m_window, "Status").isHidden());
    }

    // Moscow, 36, 13 and 4.8 E on a 90 cm offset dish: the optics advise 13 E in the middle, and
    // the advice's button puts it first, the others in their order.
    void FocusAdviceButtonPutsItsSatelliteFirst() {
        m_window->SetDishWay(3);  // width, height, depth
        for (const auto& [field, text] : {std::pair{PlanField::SiteLongitude, "37.6156"},
                                          {PlanField::SiteLatitude, "55.7522"},
                                          {PlanField::Satellite1, "36"},
                                          {PlanField::Satellite2, "13"},
                                          {PlanField::Satellite3, "4.8"},
                                          {PlanField::Width, "900"},
                                          {PlanField::Height, "990"},
                                          {PlanField::Depth, "85"}}) {
            TypeInto(m_window->Field(field), QString::fromUtf8(text));
        }
        QTRY_VERIFY(!m_window->Refining());
        auto& advice = Find<QPushButton>(*m_window, "FocusAdvice");
        QVERIFY(!advice.isHidden());
        QVERIFY(advice.text().contains("13.0° в.д."));
        advice.click();
        QCOMPARE(m_window->Field(PlanField::Satellite1).text(), QStringLiteral("13"));
        QCOMPARE(m_window->Field(PlanField::Satellite2).text(), QStringLiteral("36"));
        QCOMPARE(m_window->Field(PlanField::Satellite3).text(), QStringLiteral("4.8"));
        QTRY_VERIFY(!m_window->Refining());
        QVERIFY(advice.isHidden());
    }

    // The phone page's copy opens with the window's inputs; a page that is not there is said.
    void PhonePageCopyCarriesTheInputs() {
        const QString source = m_folder->filePath(QStringLiteral("tarvex.html"));
        QFile page(source);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><head><title>Tarvex</title></head><body></body></html>");
        page.close();
        const QString copy = m_folder->filePath(QStringLiteral("phone.html"));
        QVERIFY(m_window->SavePhonePage(source, copy));
        const QByteArray saved = ReadAll(copy);
        QVERIFY2(saved.contains("lon=35%3A27.69&lat=32%3A48.5&sats=13%2C19.2&focal_mm=600&"
                                "diameter_mm=1000&date=2026-12-07&dish=prime"),
                 saved.constData());
        QVERIFY(saved.endsWith("<title>Tarvex</title></head><body></body></html>"));
        QVERIFY(!m_window->SavePhonePage(m_folder->filePath(QStringLiteral("none.html")), copy));
        QCOMPARE(m_notifier.errors.size(), qsizetype{1});
        m_notifier.errors.clear();
        QCOMPARE(ReadAll(copy), saved);
    }

    // A job kept: saved as one JSON line and opened back, the dish by f/D, the customer and the
    // note too; a file that is no job is refused, naming what is wrong, and changes nothing.
    void JobSavedAndOpened() {
        m_window->SetDishWay(5);
        TypeInto(m_window->Field(PlanField::Diameter), QStringLiteral("1500"));
        TypeInto(m_window->Field(PlanField::FOverD), QStringLiteral("0,4"));
        Find<QLineEdit>(*m_window, "Customer").setText(QStringLiteral("Иванов"));
        QVERIFY(m_window->CurrentPlan().has_value());
        QCOMPARE(m_window->CurrentPlan()->dish.focal_length_mm, 600.0);
        const QString job = m_folder->filePath(QStringLiteral("job.json"));
        QVERIFY(m_window->SaveJob(job));
        QCOMPARE(ReadAll(job),
                 QByteArray(R"({"lon":"35:27.69","lat":"32:48.5","sats":["13","19.2"],)"
                            R"("diameter_mm":"1500","f_over_d":"0.4","date":"2026-12-07",)"
                            R"("dish":"prime","customer":"Иванов"})"
                            "\n"));
        // The same job through tarvex-calc's batch: the same dish.
        QProcess calc;
        calc.setStandardInputFile(job);
        calc.start(QStringLiteral(TARVEX_CALC), {"plan", "--batch"});
        QVERIFY(calc.waitForFinished());
        QVERIFY(calc.readAllStandardOutput().contains(R"("focal_mm":600.0,)"));
        m_window->SetDishWay(0);
        Find<QLineEdit>(*m_window, "Customer").setText(QStringLiteral("Петров"));
        QVERIFY(m_window->OpenJob(job));
        QCOMPARE(m_window->Field(PlanField::FOverD).text(), QStringLiteral("0.4"));
        QCOMPARE(Find<QLineEdit>(*m_window, "Customer").text(), QStringLiteral("Иванов"));
        QCOMPARE(m_window->CurrentPlan()->dish.focal_length_mm, 600.0);

        const QString bad = m_folder->filePath(QStringLiteral("bad.json"));
        for (const char* text : {R"({"lon":"1","f":2})", "\xff", R"({"lon":"1","lon":"2"})"}) {
            QFile file(bad);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text);
            file.close();
            QVERIFY(!m_window->OpenJob(bad));
            QCOMPARE(m_window->Field(PlanField::SiteLongitude).text(), QStringLiteral("35:27.69"));
        }
        QVERIFY(m_notifier.errors.at(0).endsWith(QStringLiteral("неизвестный ключ «f»")));
        QVERIFY(m_notifier.errors.at(2).endsWith(QStringLiteral("«lon»: Поле задано дважды.")));
        m_notifier.errors.clear();
    }

    // A satellite by part of its name, as the list offers it.
    void SatelliteByName() {
        TypeInto(m_window->Field(PlanField::Satellite2), QStringLiteral("amu"));
        QVERIFY(m_window->CurrentPlan().has_value());
        QCOMPARE(m_window->CurrentPlan()->feeds.at(1).satellite_deg, 36.1);
    }

    // Each feed's circle where the plan puts it, and feed 2 of the main window's model hollow.
    void FourFeedsDrawFourCircles() {
        TypeInto(m_window->Field(PlanField::Satellite3), QStringLiteral("3"));
        TypeInto(m_window->Field(PlanField::Satellite4), QStringLiteral("30"));
        auto& drawing = Find<FeedLayoutWidget>(*m_window, "Drawing");
        const QImage image = drawing.grab().toImage();
        const FeedLayoutView view = *drawing.View();
        const planning::Plan& plan = *m_window->CurrentPlan();
        QCOMPARE(plan.feeds.size(), std::size_t{4});
        for (const planning::FeedPlan& feed : plan.feeds) {
            QVERIFY2(PointsOnCircle(image, view, feed.right_mm, feed.up_mm, FeedColour) >= 12,
                     qPrintable(QString::number(feed.satellite_deg)));
        }
        const FeedPosition marker = *MainWindowFeed2(InputOf(*m_window));
        QVERIFY(PointsOnCircle(image, view, marker.right_mm, marker.up_mm, MarkerColour) >= 4);
        QVERIFY(PointsOnCircle(image, view, 0, 100, FeedColour) <= 2);
    }

    void WarningsAppearForACollision_data() {
        QTest::addColumn<QString>("satellite2");
        QTest::addColumn<bool>("collision");
        QTest::newRow("13.5 beside 13") << "13.5" << true;
        QTest::newRow("19.2 beside 13") << "19.2" << false;
    }
    void WarningsAppearForACollision() {
        QFETCH(QString, satellite2);
        QFETCH(bool, collision);
        TypeInto(m_window->Field(PlanField::Satellite2), satellite2);
        const planning::Plan& plan = *m_window->CurrentPlan();
        const auto found = std::find_if(plan.warnings.begin(), plan.warnings.end(),
                                        [](const planning::PlanWarning& w) {
                                            return w.kind == planning::WarningKind::Collision;
                                        });
        QCOMPARE(found != plan.warnings.end(), collision);
        const QLabel& warnings = Find<QLabel>(*m_window, "Warnings");
        QCOMPARE(!warnings.isHidden(), !plan.warnings.empty());
        for (const std::string& line : WarningLines(plan)) {
            QVERIFY(warnings.text().contains(QString::fromStdString(line).toHtmlEscaped()));
        }
    }

    // "Копировать" copies what `tarvex-calc plan` prints for the same input, also under a locale
    // with a decimal comma.
    void CopyIsTheCommandLinesTable() {
        const char* const locale = std::setlocale(LC_ALL, "ru_RU.UTF-8");
        QVERIFY2(locale != nullptr, "the locale ru_RU.UTF-8 is missing: `make deps` generates it");
        Click(*m_window, "Copy");
        std::setlocale(LC_ALL, "C");
        QProcess calc;
        calc.start(QStringLiteral(TARVEX_CALC),
                   {"plan", "--lon", "35:27.69", "--lat", "32:48.5", "--sat", "13", "--sat", "19.2",
                    "--focal", "600", "--diameter", "1000", "--date", "2026-12-07"});
        QVERIFY(calc.waitForFinished());
        const QString table = QString::fromUtf8(calc.readAllStandardOutput());
        QVERIFY(table.contains(QStringLiteral("217.4°")));
        QCOMPARE(QGuiApplication::clipboard()->text(), table);
    }

    // Printed at 1:1 on the page after the words: the scale bar and the centres of feeds 1 and 2,
    // measured on the page drawn by poppler, are within half a millimetre of their true sizes,
    // seen from behind the dish and, in the copy under it, mirrored.
    void CardIsToScale() {
        const QString card = m_folder->filePath(QStringLiteral("card.pdf"));
        QVERIFY(m_window->SaveCard(card));
        QVERIFY(m_notifier.errors.isEmpty());
        constexpr int Dpi = 200;
        const QImage page = RenderPage(card, 2, Dpi, m_folder->filePath("page"));
        QVERIFY(!page.isNull());
        const double per_mm = Dpi / 25.4;
        QVERIFY(std::abs(page.width() / per_mm - 210) < 1);  // A4
        QVERIFY(std::abs(page.height() / per_mm - 297) < 1);
        qInfo("scale bar %.2f mm", LongestDarkRun(page) / per_mm);
        QVERIFY(std::abs(LongestDarkRun(page) / per_mm - 100) <= 0.5);

        std::vector<QPointF> centres = CentresOf(page, CardFeedColour, 200);
        QCOMPARE(centres.size(), std::size_t{4});
        std::sort(centres.begin(), centres.end(),
                  [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
        const planning::FeedPlan& feed2 = m_window->CurrentPlan()->feeds.at(1);
        for (const int view : {0, 1}) {  // from behind, then from in front
            const QPointF a = centres[2 * view];
            const QPointF b = centres[2 * view + 1];
            // Feed 2 lies below feed 1 in the example.
            const QPointF from_1 = (b - a) / per_mm;
            const double right = view == 0 ? feed2.right_mm : -feed2.right_mm;
            qInfo("feed 2: %.2f mm right, %.2f mm up; plan %.2f, %.2f", from_1.x(), -from_1.y(),
                  right, feed2.up_mm);
            QVERIFY(std::abs(from_1.x() - right) <= 0.5);
            QVERIFY(std::abs(-from_1.y() - feed2.up_mm) <= 0.5);
        }
    }

    // Never a silent omission: feeds too far for one sheet are tiled over labelled sheets, each
    // drawn whole at least once per view; a feed too far for any holder is named.
    void CardNamesOrTilesEveryFeed_data() {
        QTest::addColumn<QStringList>("fields");  // longitude, latitude, satellites 1-4, focal
        QTest::addColumn<int>("unplaced");        // 1-based, 0 for none
        QTest::newRow("Kyiv, feed 3 off one sheet")
            << QStringList{"30.52", "50.45", "13", "4.8", "19.2", "", "600"} << 0;
        QTest::newRow("Moscow, feeds 278 and 399 mm away")
            << QStringList{"37.62", "55.75", "36", "31.5", "13", "4.8", "600"} << 0;
        QTest::newRow("focal length 1e8, feed 2 kilometres away")
            << QStringList{"35:27.69", "32:48.5", "13", "19.2", "", "", "1e8"} << 2;
    }
    void CardNamesOrTilesEveryFeed() {
        QFETCH(QStringList, fields);
        QFETCH(int, unplaced);
        const PlanField order[] = {PlanField::SiteLongitude, PlanField::SiteLatitude,
                                   PlanField::Satellite1,    PlanField::Satellite2,
                                   PlanField::Satellite3,    PlanField::Satellite4,
                                   PlanField::FocalLength};
        for (std::size_t index = 0; index < std::size(order); ++index) {
            TypeInto(m_window->Field(order[index]), fields[static_cast<int>(index)]);
        }
        QVERIFY(m_window->CurrentPlan().has_value());
        const std::size_t feeds = m_window->CurrentPlan()->feeds.size();
        const QString card = m_folder->filePath(QStringLiteral("card.pdf"));
        QVERIFY(m_window->SaveCard(card));

        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is needed");
        QProcess text;
        text.start(pdftotext, {card, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        const QString words = QString::fromUtf8(text.readAllStandardOutput());
        const QRegularExpressionMatch last =
            QRegularExpression(QStringLiteral("лист 1 из (\\d+)")).match(words);
        QVERIFY(last.hasMatch());
        const int pages = last.captured(1).toInt();
        for (int page = 1; page <= pages; ++page) {
            QVERIFY(words.contains(QStringLiteral("лист %1 из %2").arg(page).arg(pages)));
        }
        for (const char* words_of_the_card :
             {"Вид сзади", "Вид спереди", "ВЕРХ", "Tarvex " TARVEX_VERSION}) {
            QVERIFY2(words.contains(QString::fromUtf8(words_of_the_card)), words_of_the_card);
        }
        for (std::size_t feed = 2; feed <= feeds; ++feed) {
            const QString named = QStringLiteral("Конвертор %1 не поместился").arg(feed);
            QCOMPARE(words.contains(named), int(feed) == unplaced);
        }

        // Whole circles on the sheets after the words (page 1): each placed feed at least twice.
        int circles = 0;
        for (int page = 2; page <= pages; ++page) {
            const QImage image = RenderPage(card, page, 100, m_folder->filePath("page"));
            QVERIFY(!image.isNull());
            for (const planning::BeamVerdict verdict :
                 {planning::BeamVerdict::AsFeedOne, planning::BeamVerdict::Weaker,
                  planning::BeamVerdict::StrongOnly, planning::BeamVerdict::SecondDish}) {
                circles += static_cast<int>(CentresOf(image, LookOf(verdict).paper, 300).size());
            }
        }
        const int placed = static_cast<int>(feeds) - (unplaced > 0 ? 1 : 0);
        qInfo("%d pages, %d circles for %d placed feeds", pages, circles, placed);
        QVERIFY(circles >= 2 * placed);
    }

    // A focal length of 1e20 mm: the drawing is painted at once, with a bounded number of lines,
    // feed 2 an arrow at its edge; the painting of a region that size is bounded too.
    void HugeFocalLengthPaintsWithinAFrame() {
        TypeInto(m_window->Field(PlanField::FocalLength), QStringLiteral("1e20"));
        auto& drawing = Find<FeedLayoutWidget>(*m_window, "Drawing");
        const FeedLayoutView view = *drawing.View();
        QVERIFY(view.bounds.right <= DrawingReachMm && view.bounds.top <= DrawingReachMm);
        QVERIFY(!drawing.grab().toImage().isNull());
        const planning::Plan& plan = *m_window->CurrentPlan();
        planning::Plan feed_1 = plan;
        feed_1.feeds.resize(1);
        QCOMPARE(CountLines(view, plan), CountLines(view, feed_1) + 1);  // feed 2's arrow

        FeedLayoutView huge = view;
        huge.bounds = {-1e20, 1e20, -1e20, 1e20};
        huge.pixels_per_mm = 500 / 2e20;
        huge.origin = QPointF(250, 250);
        huge.print = true;
        const int lines = CountLines(huge, plan);
        qInfo("%d lines", lines);
        QVERIFY(lines > 10 && lines <= 4 * (MaxGridLinesPerAxis + 1) + 20);
    }

    // The window stays within the screen it opens on, four feeds or not, and returns to its size
    // when feeds are removed.
    void WindowFitsTheScreen() {
        const QRect screen = m_window->screen()->availableGeometry();
        const QSize two_feeds = m_window->frameGeometry().size();
        QVERIFY2(screen.contains(m_window->frameGeometry()),
                 qPrintable(QStringLiteral("%1x%2 on %3x%4")
                                .arg(two_feeds.width())
                                .arg(two_feeds.height())
                                .arg(screen.width())
                                .arg(screen.height())));
        TypeInto(m_window->Field(PlanField::Satellite3), QStringLiteral("3"));
        TypeInto(m_window->Field(PlanField::Satellite4), QStringLiteral("30"));
        const QSize four_feeds = m_window->frameGeometry().size();
        qInfo("window %dx%d, with four feeds %dx%d, on %dx%d", two_feeds.width(),
              two_feeds.height(), four_feeds.width(), four_feeds.height(), screen.width(),
              screen.height());
        QVERIFY(screen.contains(m_window->frameGeometry()));
        QVERIFY(four_feeds.width() >= two_feeds.width());
        TypeInto(m_window->Field(PlanField::Satellite4), QString());
        TypeInto(m_window->Field(PlanField::Satellite3), QString());
        QCOMPARE(m_window->frameGeometry().size(), two_feeds);
    }

    // The card's save dialog is Qt's own: its buttons come from Qt's Russian translation.
    void QtDialogsSpeakRussian() {
        QVERIFY(LoadQtTranslation());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Save"),
                 QStringLiteral("Сохранить"));
    }

    // A file that cannot be written: a clear message, and an earlier file stays as it was.
    void CardThatCannotBeWrittenKeepsTheOldFile_data() {
        QTest::addColumn<bool>("missing_folder");
        QTest::newRow("no such folder") << true;
        QTest::newRow("write cut short") << false;
    }
    void CardThatCannotBeWrittenKeepsTheOldFile() {
        QFETCH(bool, missing_folder);
        const QString path =
            m_folder->filePath(missing_folder ? QStringLiteral("none/card.pdf") : "card.pdf");
        if (!missing_folder) {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("earlier card");
        }
        const bool saved = [&] {
            const FileSizeLimit limit(1000);
            return m_window->SaveCard(path);
        }();
        QVERIFY(!saved);
        QCOMPARE(m_notifier.errors.size(), qsizetype{1});
        QVERIFY(m_notifier.errors.front().startsWith("Не удалось сохранить карточку"));
        QVERIFY(m_notifier.errors.front().contains(path));
        QVERIFY(!missing_folder ||
                m_notifier.errors.front().contains("нет такого файла или папки"));
        QCOMPARE(ReadAll(path), missing_folder ? QByteArray() : QByteArray("earlier card"));
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files),
                 missing_folder ? QStringList() : QStringList{"card.pdf"});
    }

  private:
    std::unique_ptr<QTemporaryDir> m_folder;
    RecordingNotifier m_notifier;
    ScopedNotifier m_scoped_notifier{m_notifier};
    std::unique_ptr<MTARV> m_main;
    PlanWindow* m_window = nullptr;
};

}  // namespace tarvex

QTEST_MAIN(tarvex::PlanWindowTest)
#include "plan_window_test.moc"

#include "plan_window/plan_window.h"

#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "plan_window/installation_card.h"
#include "plan_window/plan_report.h"
#include "plan_window/plan_text.h"
#include "ui/notifier.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

struct PlanFieldSpec {
    const char* name;         // object name
    const char* caption;      // with its keyboard mnemonic
    const char* placeholder;  // what may be typed
};

// In the order of PlanField.
const PlanFieldSpec PlanFieldSpecs[] = {
    {"SiteLongitude", "&Долгота места", "35:27.69 или 35.4615, восток +"},
    {"SiteLatitude", "&Широта места", "32:48.5 или 32.8083, север +"},
    {"Satellite1", "Спутник &1 (антенна наведена)", "13 или 13:00, восток +"},
    {"Satellite2", "Спутник &2", "19.2 или 19:12"},
    {"Satellite3", "Спутник &3", "необязательно"},
    {"Satellite4", "Спутник &4", "необязательно"},
    {"FocalLength", "&Фокусное расстояние, мм", "600"},
    {"Diameter", "Д&иаметр антенны, мм", "необязательно, для поправки луча"},
    {"Date", "Д&ата (магнитное склонение)", "ГГГГ-ММ-ДД"},
};

const QColor ErrorColour(198, 40, 40);
const QColor ErrorFieldColour(253, 232, 232);
const QColor WarningColour(176, 80, 0);

QLabel* WrappingLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// Feeds as columns, as many as a plan has at most.
constexpr std::size_t MaxFeeds = planning::MaxFeeds;

QString WarningsHtml(const planning::Plan& plan) {
    QString html;
    for (const std::string& line : WarningLines(plan)) {
        html += QStringLiteral("<p style='color:%1'>⚠ %2</p>")
                    .arg(WarningColour.name(), QString::fromStdString(line).toHtmlEscaped());
    }
    return html;
}

}  // namespace

PlanWindow::PlanWindow(const CalculationView& main_window) : m_main_window(main_window) {
    setWindowTitle(QStringLiteral("Точный расчёт мультифида"));
    auto* inputs = new QGroupBox(QStringLiteral("Исходные данные"));
    auto* form = new QFormLayout;
    CreateFields(*form);
    auto* take = new QPushButton(QStringLiteral("&Взять из главного окна"));
    take->setObjectName(QStringLiteral("TakeFromMainWindow"));
    connect(take, &QPushButton::clicked, this, &PlanWindow::OnTakeFromMainWindowClicked);
    auto* input_column = new QVBoxLayout(inputs);
    input_column->addLayout(form);
    input_column->addWidget(take, 0, Qt::AlignLeft);
    input_column->addStretch();

    // Everything scrolls inside the window where the screen is too small for it, so that the
    // window itself never outgrows the screen.
    m_content = new QWidget;
    auto* top = new QHBoxLayout;
    top->addWidget(inputs);
    top->addWidget(CreateDrawing(), 1);
    auto* column = new QVBoxLayout(m_content);
    column->addLayout(top, 1);
    column->addWidget(CreateResults());
    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("Scroll"));
    m_scroll->setWidget(m_content);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->addWidget(m_scroll);
    // The magnetic model's date is today's unless the installer says otherwise.
    Field(PlanField::Date).setText(QDate::currentDate().toString(Qt::ISODate));
    FitToScreen();
}

void PlanWindow::CreateFields(QFormLayout& form) {
    form.setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (std::size_t index = 0; index < PlanFieldCount; ++index) {
        const PlanFieldSpec& design = PlanFieldSpecs[index];
        auto* field = new QLineEdit;
        field->setObjectName(QString::fromUtf8(design.name));
        field->setPlaceholderText(QString::fromUtf8(design.placeholder));
        field->setMinimumWidth(180);
        auto* error = new QLabel;
        error->setObjectName(QString::fromUtf8(design.name) + QStringLiteral("Error"));
        error->setWordWrap(true);
        QPalette colours = error->palette();
        colours.setColor(QPalette::WindowText, ErrorColour);
        error->setPalette(colours);
        error->hide();
        auto* cell = new QVBoxLayout;
        cell->setSpacing(1);
        cell->addWidget(field);
        cell->addWidget(error);
        auto* caption = new QLabel(QString::fromUtf8(design.caption));
        caption->setBuddy(field);
        form.addRow(caption, cell);
        connect(field, &QLineEdit::textChanged, this, &PlanWindow::Recompute);
        m_fields[index] = field;
        m_errors[index] = error;
    }
}

QWidget* PlanWindow::CreateDrawing() {
    auto* box = new QGroupBox(QStringLiteral("Конверторы, вид сзади на антенну, мм"));
    m_drawing = new FeedLayoutWidget;
    m_drawing->setObjectName(QStringLiteral("Drawing"));
    auto* legend = new QLabel(
        QStringLiteral("<span style='color:%1'>●</span> конверторы по точному расчёту, черта — "
                       "поворот; <span style='color:%2'>◌</span> конвертор 2 по главному окну")
            .arg(FeedColour.name(), MarkerColour.name()));
    legend->setWordWrap(true);
    auto* column = new QVBoxLayout(box);
    column->addWidget(m_drawing, 1);
    column->addWidget(legend);
    return box;
}

QWidget* PlanWindow::CreateResults() {
    auto* box = new QGroupBox(QStringLiteral("Результат"));
    m_status = WrappingLabel("Status", box);
    m_results = CreateResultsTable(box);
    m_warnings = WrappingLabel("Warnings", box);
    m_warnings->setTextFormat(Qt::RichText);
    m_declination = WrappingLabel("Declination", box);
    m_explanation = WrappingLabel("Explanation", box);
    m_explanation->setText(QString::fromStdString(ExplanationText()));
    QPalette quiet = m_explanation->palette();
    quiet.setColor(QPalette::WindowText, quiet.color(QPalette::PlaceholderText));
    m_explanation->setPalette(quiet);
    m_save = new QPushButton(QStringLiteral("&Сохранить карточку…"));
    m_save->setObjectName(QStringLiteral("SaveCard"));
    connect(m_save, &QPushButton::clicked, this, &PlanWindow::OnSaveCardClicked);
    m_copy = new QPushButton(QStringLiteral("&Копировать"));
    m_copy->setObjectName(QStringLiteral("Copy"));
    connect(m_copy, &QPushButton::clicked, this, &PlanWindow::OnCopyClicked);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addWidget(m_copy);
    buttons->addStretch();
    auto* column = new QVBoxLayout(box);
    column->addWidget(m_status);
    column->addWidget(m_results);
    column->addWidget(m_declination);
    column->addWidget(m_warnings);
    column->addWidget(m_explanation);
    column->addLayout(buttons);
    return box;
}

// Plain labels made once: typing changes only the texts that differ, which keeps a keystroke's
// relayout well within a frame (a rich-text table is laid out anew on every change).
QWidget* PlanWindow::CreateResultsTable(QWidget* parent) {
    auto* table = new QWidget(parent);
    table->setObjectName(QStringLiteral("Results"));
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    const std::vector<ReportRow> rows = FeedTable(planning::Plan{});
    m_cells.assign((rows.size() + 1) * (MaxFeeds + 1), nullptr);
    for (std::size_t row = 0; row <= rows.size(); ++row) {
        for (std::size_t column = 0; column <= MaxFeeds; ++column) {
            auto* cell = WrappingLabel("", table);
            QFont font = cell->font();
            font.setBold(row == 0 || column == 0);
            cell->setFont(font);
            cell->setWordWrap(row > 0 && column > 0);
            if (row == 0 && column > 0) {
                cell->setText(QString::fromStdString(FeedName(static_cast<int>(column))));
            } else if (row > 0 && column == 0) {
                cell->setText(QString::fromStdString(rows[row - 1].caption));
            }
            grid->addWidget(cell, static_cast<int>(row), static_cast<int>(column), Qt::AlignTop);
            m_cells[row * (MaxFeeds + 1) + column] = cell;
        }
    }
    // The room left over goes beyond the last column, not between the feeds shown.
    grid->setColumnStretch(MaxFeeds + 1, 1);
    return table;
}

void PlanWindow::ShowTable() {
    const std::vector<ReportRow> rows = FeedTable(m_plan ? *m_plan : planning::Plan{});
    const std::size_t feeds = m_plan ? m_plan->feeds.size() : 0;
    // The rotation's words in two lines where there is room, in three for three or four feeds:
    // four side by side within a screen 1024 pixels wide.
    const int width = m_cells.front()->fontMetrics().horizontalAdvance(
        feeds <= 2 ? QStringLiteral("12.3° против часовой стрелки, если")
                   : QStringLiteral("12.3° против часовой"));
    for (std::size_t row = 0; row <= rows.size(); ++row) {
        for (std::size_t column = 0; column <= MaxFeeds; ++column) {
            QLabel* cell = m_cells[row * (MaxFeeds + 1) + column];
            if (column > 0 && cell->minimumWidth() != width) {
                cell->setMinimumWidth(width);
            }
            const bool shown = m_plan && column <= feeds;
            if (row > 0 && column > 0 && shown) {
                const std::string& text = rows[row - 1].cells[column - 1];
                cell->setText(text.empty() ? QStringLiteral("—") : QString::fromStdString(text));
            }
            if (cell->isHidden() == shown) {
                cell->setVisible(shown);
            }
        }
    }
}

void PlanWindow::Open() {
    if (!isVisible()) {
        OnTakeFromMainWindowClicked();
        FitToScreen();
    }
    ShowInFront(*this);
    // The frame is known once shown: the whole window, frame included, on the screen.
    FitToScreen();
}

// As large as the content asks (at least a comfortable size), never larger than the screen's
// free area; the content scrolls within it where it must. A window the user has resized keeps
// the size given.
void PlanWindow::FitToScreen() {
    if (m_fitted && size() != *m_fitted) {
        return;
    }
    // Cells hidden since the last layout do not yet tell their parents' size hints.
    m_results->layout()->invalidate();
    m_results->updateGeometry();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QRect screen = this->screen()->availableGeometry();
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    const QSize scrollbars(m_scroll->verticalScrollBar()->sizeHint().width(),
                           m_scroll->horizontalScrollBar()->sizeHint().height());
    QSize wanted = QSize(1080, 760).expandedTo(m_content->sizeHint());
    if (wanted.height() > screen.height() - frame.height()) {
        wanted.rwidth() += scrollbars.width();  // a vertical scroll bar takes room across
    }
    const QSize fitted = wanted.boundedTo(screen.size() - frame);
    resize(fitted);
    m_fitted = fitted;
    if (isVisible() && !screen.contains(frameGeometry())) {
        const QRect outer = frameGeometry();
        move(std::clamp(outer.left(), screen.left(), screen.right() + 1 - outer.width()),
             std::clamp(outer.top(), screen.top(), screen.bottom() + 1 - outer.height()));
    }
}

QLineEdit& PlanWindow::Field(PlanField field) const {
    return *m_fields[static_cast<std::size_t>(field)];
}

bool PlanWindow::SaveCard(const QString& path) {
    if (!m_input || !m_plan) {
        return false;
    }
    const QString error = SaveInstallationCard(path, *m_input, *m_plan);
    if (!error.isEmpty()) {
        CurrentNotifier().ShowError(error);
        return false;
    }
    ShowStatus(QStringLiteral("Карточка сохранена: %1").arg(QDir::toNativeSeparators(path)), false);
    return true;
}

void PlanWindow::OnTakeFromMainWindowClicked() {
    PlanFormTexts texts;
    for (std::size_t index = 0; index < PlanFieldCount; ++index) {
        texts[index] = m_fields[index]->text().toStdString();
    }
    texts = FillFromMainWindow(std::move(texts), m_main_window);
    for (std::size_t index = 0; index < PlanFieldCount; ++index) {
        m_fields[index]->setText(QString::fromStdString(texts[index]));
    }
}

void PlanWindow::OnSaveCardClicked() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Сохранить карточку"),
        QDir::home().filePath(QStringLiteral("карточка-мультифида.pdf")),
        QStringLiteral("PDF (*.pdf)"));
    if (!path.isEmpty()) {
        SaveCard(path);
    }
}

void PlanWindow::OnCopyClicked() {
    if (!m_input || !m_plan) {
        return;
    }
    // The very table `tarvex-calc plan` prints for the same input.
    QGuiApplication::clipboard()->setText(QString::fromStdString(PlanText(*m_input, *m_plan)));
    ShowStatus(QStringLiteral("Результат скопирован."), false);
}

// Every change of a field: nothing of an earlier input stays on screen beside the new one.
void PlanWindow::Recompute() {
    PlanFormTexts texts;
    for (std::size_t index = 0; index < PlanFieldCount; ++index) {
        texts[index] = m_fields[index]->text().toStdString();
    }
    PlanFormReading reading = ReadPlanForm(texts);
    ShowFieldErrors(reading.errors);
    m_input = std::move(reading.input);
    m_plan.reset();
    QString status;
    if (!m_input) {
        status = QStringLiteral("Исправьте отмеченные поля.");
    } else {
        std::variant<planning::Plan, planning::PlanRefusal> made = planning::MakePlan(*m_input);
        if (auto* plan = std::get_if<planning::Plan>(&made)) {
            m_plan = std::move(*plan);
        } else {
            status = QString::fromStdString(RefusalText(std::get<planning::PlanRefusal>(made)));
        }
    }
    ShowResults(status);
}

void PlanWindow::ShowFieldErrors(const std::vector<PlanFieldError>& errors) {
    for (std::size_t index = 0; index < PlanFieldCount; ++index) {
        const auto error = std::find_if(errors.begin(), errors.end(), [&](const auto& e) {
            return static_cast<std::size_t>(e.field) == index;
        });
        const bool wrong = error != errors.end();
        m_errors[index]->setText(wrong ? QString::fromStdString(error->message) : QString());
        if (m_errors[index]->isHidden() != wrong) {
            continue;
        }
        m_errors[index]->setVisible(wrong);
        QPalette colours = m_fields[index]->palette();
        colours.setColor(QPalette::Base,
                         wrong ? ErrorFieldColour : palette().color(QPalette::Base));
        m_fields[index]->setPalette(colours);
    }
}

void PlanWindow::ShowStatus(const QString& text, bool error) {
    QPalette colours = m_status->palette();
    colours.setColor(QPalette::WindowText,
                     error ? ErrorColour : palette().color(QPalette::WindowText));
    m_status->setPalette(colours);
    m_status->setText(text);
    m_status->setVisible(!text.isEmpty());
}

void PlanWindow::ShowResults(const QString& status) {
    ShowStatus(status, true);
    const std::pair<std::size_t, std::size_t> shown =
        m_plan ? std::pair(m_plan->feeds.size(), m_plan->warnings.size()) : m_shown;
    ShowTable();
    // The declination, and once for every figure above: where they are seen from and where a
    // rotation counts from.
    m_declination->setText(
        m_plan ? QString::fromStdString(DeclinationLine(m_plan->declination_deg) + ". " +
                                        ViewpointText() + " " + RotationZeroText())
               : QString());
    m_declination->setVisible(m_plan.has_value());
    m_warnings->setText(m_plan ? WarningsHtml(*m_plan) : QString());
    m_warnings->setVisible(m_plan && !m_plan->warnings.empty());
    m_drawing->SetPlan(m_plan, m_plan ? MainWindowFeed2(*m_input) : std::nullopt);
    m_save->setEnabled(m_plan.has_value());
    m_copy->setEnabled(m_plan.has_value());
    // More feeds widen the table and warnings lengthen it: the window grows with them up to the
    // screen, and shrinks back.
    if (shown != m_shown) {
        m_shown = shown;
        FitToScreen();
    }
}

}  // namespace tarvex

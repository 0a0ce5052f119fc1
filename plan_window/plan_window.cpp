#include "plan_window/plan_window.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
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
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringListModel>
#include <QVBoxLayout>
#include <algorithm>

#include "names/places.h"
#include "names/satellites.h"
#include "plan_text/dish_text.h"
#include "plan_text/plan_text.h"
#include "plan_text/problem_text.h"
#include "plan_window/installation_card.h"
#include "plan_window/job_file.h"
#include "plan_window/plan_report.h"
#include "planning/today.h"
#include "ui/notifier.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

struct PlanFieldSpec {
    const char* name;         // object name
    const char* caption;      // with its keyboard mnemonic
    const char* placeholder;  // what may be typed, worded as an example: grey digits alone
                              // would pass for a value typed
};

// In the order of PlanField.
const PlanFieldSpec PlanFieldSpecs[] = {
    {"SiteLongitude", "&Долгота места", "например 35:27.69 или 35.4615; восток +"},
    {"SiteLatitude", "&Широта места", "например 32:48.5 или 32.8083; север +"},
    {"Satellite1", "Спутник &1 (антенна наведена)", "например 13 или 13:00; восток +"},
    {"Satellite2", "Спутник &2", "например 19.2 или 19:12"},
    {"Satellite3", "Спутник &3", "необязательно"},
    {"Satellite4", "Спутник &4", "необязательно"},
    {"FocalLength", nullptr, "например 600"},
    {"Diameter", nullptr, "выберите или введите"},
    {"Date", "Д&ата (магнитное склонение)", "ГГГГ-ММ-ДД"},
    {"Depth", nullptr, "например 79"},
    {"Width", nullptr, "выберите или введите"},
    {"Height", nullptr, "например 883"},
    {"FeedDistance", nullptr, "например 560"},
    {"RimLow", nullptr, "например 460"},
    {"RimHigh", nullptr, "например 834"},
    {"FOverD", nullptr, "например 0.4"},
    {"Frequency", "&Частота, ГГц", "по умолчанию 11.7 (Ku)"},
    {"LnbWidth", "Ш&ирина конвертора, мм", "по умолчанию 60, у раструба"},
};
static_assert(std::size(PlanFieldSpecs) == PlanFieldCount);

// The usual dishes' sizes, offered for the diameter and the width.
constexpr int UsualSizesMm[] = {600, 700, 800, 900, 1000, 1200, 1500, 1800};

// The way of measuring each field belongs to, for the form's rows shown.
bool Shows(const DishWayFields& fields, PlanField field) {
    return std::find(fields.required.begin(), fields.required.end(), field) !=
               fields.required.end() ||
           std::find(fields.optional.begin(), fields.optional.end(), field) !=
               fields.optional.end();
}

bool IsDishField(PlanField field) {
    return field != PlanField::Date && field >= PlanField::FocalLength &&
           field <= PlanField::RimHigh;
}

const QColor ErrorColour(198, 40, 40);
const QColor ErrorFieldColour(253, 232, 232);
const QColor WarningColour(176, 80, 0);

// A field's message line, red, under it. Its line is kept while it is empty: a message coming
// and going would move every field below it, and a click aimed at one would land on another.
QLabel* MessageLabel(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, ErrorColour);
    label->setPalette(colours);
    label->setMinimumHeight(label->fontMetrics().lineSpacing());
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    label->hide();
    return label;
}

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
    auto* save_job = new QPushButton(QStringLiteral("Сохранить задание…"));
    save_job->setObjectName(QStringLiteral("SaveJob"));
    connect(save_job, &QPushButton::clicked, this, &PlanWindow::OnSaveJobClicked);
    auto* open_job = new QPushButton(QStringLiteral("Открыть задание…"));
    open_job->setObjectName(QStringLiteral("OpenJob"));
    connect(open_job, &QPushButton::clicked, this, &PlanWindow::OnOpenJobClicked);
    auto* input_buttons = new QHBoxLayout;
    input_buttons->addWidget(take);
    input_buttons->addWidget(save_job);
    input_buttons->addWidget(open_job);
    input_buttons->addStretch();
    auto* input_column = new QVBoxLayout(inputs);
    input_column->addLayout(form);
    input_column->addLayout(input_buttons);
    input_column->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(inputs);
    left->addWidget(CreateDish());

    // Everything scrolls inside the window where the screen is too small for it, so that the
    // window itself never outgrows the screen.
    m_content = new QWidget;
    auto* top = new QHBoxLayout;
    top->addLayout(left);
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
    Field(PlanField::Date).setText(QString::fromStdString(DateText(planning::LocalToday())));
    OnDishTypeChanged();
    FitToScreen();
}

void PlanWindow::CreateFields(QFormLayout& form) {
    form.setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_place = new QLineEdit;
    m_place->setObjectName(QStringLiteral("Place"));
    m_place->setPlaceholderText(QStringLiteral("например Екатеринбург, Yekaterinburg"));
    m_place_error = MessageLabel(QStringLiteral("PlaceError"));
    auto* credit = new QLabel(QStringLiteral("Города: GeoNames (geonames.org), CC BY 4.0"));
    QPalette quiet = credit->palette();
    quiet.setColor(QPalette::WindowText, quiet.color(QPalette::PlaceholderText));
    credit->setPalette(quiet);
    auto* place_cell = new QVBoxLayout;
    place_cell->setSpacing(1);
    place_cell->addWidget(m_place);
    place_cell->addWidget(m_place_error);
    place_cell->addWidget(credit);
    auto* place_caption = new QLabel(QStringLiteral("&Место"));
    place_caption->setBuddy(m_place);
    form.addRow(place_caption, place_cell);
    AddPlaceCompletion();
    for (const PlanField field :
         {PlanField::SiteLongitude, PlanField::SiteLatitude, PlanField::Satellite1,
          PlanField::Satellite2, PlanField::Satellite3, PlanField::Satellite4, PlanField::Date}) {
        const bool satellite = field >= PlanField::Satellite1 && field <= PlanField::Satellite4;
        auto* combo = satellite ? new QComboBox : nullptr;
        CreateField(field, form, combo);
        if (combo != nullptr) {
            AddSatelliteCompletion(*combo);
        }
    }
    // The job's own texts: on the card and in the job's file, no part of the plan.
    const auto text_field = [&form](const char* name, const char* caption) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromUtf8(name));
        edit->setMaxLength(static_cast<int>(MaxJobTextBytes / 4));
        auto* label = new QLabel(QString::fromUtf8(caption));
        label->setBuddy(edit);
        form.addRow(label, edit);
        return edit;
    };
    m_customer = text_field("Customer", "Зака&зчик");
    m_note = text_field("Note", "За&метка");
    for (const PlanField field : {PlanField::SiteLongitude, PlanField::SiteLatitude}) {
        connect(&Field(field), &QLineEdit::textChanged, this,
                [this, field](const QString& text) { OnSiteChanged(field, text); });
    }
    for (const PlanField field : {PlanField::SiteLongitude, PlanField::SiteLatitude}) {
        connect(&Field(field), &QLineEdit::textEdited, this, &PlanWindow::OnSiteEdited);
    }
}

// A field of the form with its message under it; `combo`, where given, holds the field as its
// editable text.
void PlanWindow::CreateField(PlanField field, QFormLayout& form, QComboBox* combo) {
    const auto index = static_cast<std::size_t>(field);
    const PlanFieldSpec& design = PlanFieldSpecs[index];
    QWidget* widget = nullptr;
    QLineEdit* edit = nullptr;
    if (combo != nullptr) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setObjectName(QString::fromUtf8(design.name));
        combo->setMinimumWidth(180);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(18);
        combo->setCurrentIndex(-1);
        edit = combo->lineEdit();
        widget = combo;
    } else {
        edit = new QLineEdit;
        edit->setMinimumWidth(180);
        widget = edit;
    }
    edit->setObjectName(QString::fromUtf8(design.name));
    edit->setPlaceholderText(QString::fromUtf8(design.placeholder));
    QLabel* error = MessageLabel(QString::fromUtf8(design.name) + QStringLiteral("Error"));
    auto* cell = new QVBoxLayout;
    cell->setSpacing(1);
    cell->addWidget(widget);
    const bool dish = IsDishField(field);
    const planning::DishMeasure measure = [&] {
        for (int m = 0; m <= static_cast<int>(planning::DishMeasure::FOverD); ++m) {
            if (FieldOf(static_cast<planning::DishMeasure>(m)) == field) {
                return static_cast<planning::DishMeasure>(m);
            }
        }
        return planning::DishMeasure::FocalLength;
    }();
    if (dish) {
        // Where to put the tape, quietly under the field.
        auto* hint = new QLabel(QString::fromStdString(DishMeasureHint(measure)));
        hint->setWordWrap(true);
        QFont small = hint->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        hint->setFont(small);
        QPalette quiet = hint->palette();
        quiet.setColor(QPalette::WindowText, quiet.color(QPalette::PlaceholderText));
        hint->setPalette(quiet);
        cell->addWidget(hint);
    }
    cell->addWidget(error);
    auto* caption = new QLabel(dish ? QString::fromStdString(DishMeasureCaption(measure))
                                    : QString::fromUtf8(design.caption));
    caption->setBuddy(widget);
    form.addRow(caption, cell);
    connect(edit, &QLineEdit::textChanged, this, &PlanWindow::Recompute);
    m_fields[index] = edit;
    m_errors[index] = error;
    m_cells_of_fields[index] = cell;
}

QWidget* PlanWindow::CreateDish() {
    auto* box = new QGroupBox(QStringLiteral("Антенна"));
    m_dish_form = new QFormLayout;
    m_dish_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_dish_type = new QComboBox;
    m_dish_type->setObjectName(QStringLiteral("DishType"));
    for (const planning::DishType type :
         {planning::DishType::PrimeFocus, planning::DishType::Offset}) {
        m_dish_type->addItem(QString::fromStdString(DishTypeText(type)), static_cast<int>(type));
    }
    m_dish_way = new QComboBox;
    m_dish_way->setObjectName(QStringLiteral("DishWay"));
    auto* type_caption = new QLabel(QStringLiteral("&Тип"));
    type_caption->setBuddy(m_dish_type);
    m_dish_form->addRow(type_caption, m_dish_type);
    auto* way_caption = new QLabel(QStringLiteral("&Что измерено"));
    way_caption->setBuddy(m_dish_way);
    m_dish_form->addRow(way_caption, m_dish_way);
    for (const PlanField field : {PlanField::FocalLength, PlanField::Diameter, PlanField::FOverD,
                                  PlanField::Width, PlanField::Height, PlanField::Depth,
                                  PlanField::FeedDistance, PlanField::RimLow, PlanField::RimHigh}) {
        QComboBox* sizes = nullptr;
        if (field == PlanField::Diameter || field == PlanField::Width) {
            sizes = new QComboBox;
            for (const int size : UsualSizesMm) {
                sizes->addItem(QString::number(size));
            }
        }
        CreateField(field, *m_dish_form, sizes);
    }
    // Whatever the way of measuring: the band the optics work at, the LNB's widest part.
    CreateField(PlanField::Frequency, *m_dish_form);
    CreateField(PlanField::LnbWidth, *m_dish_form);
    m_sketch = new DishSketch;
    m_sketch->setObjectName(QStringLiteral("DishSketch"));
    auto* column = new QVBoxLayout(box);
    column->addLayout(m_dish_form);
    column->addWidget(m_sketch, 0, Qt::AlignHCenter);
    connect(m_dish_type, &QComboBox::currentIndexChanged, this, &PlanWindow::OnDishTypeChanged);
    connect(m_dish_way, &QComboBox::currentIndexChanged, this, &PlanWindow::OnDishWayChanged);
    return box;
}

// The ways of measuring the chosen type; the first one chosen.
void PlanWindow::OnDishTypeChanged() {
    const auto type = static_cast<planning::DishType>(m_dish_type->currentData().toInt());
    const QSignalBlocker quiet(m_dish_way);
    m_dish_way->clear();
    for (std::size_t way = 0; way < std::size(planning::DishWays); ++way) {
        if (planning::DishWays[way].type == type) {
            m_dish_way->addItem(QString::fromStdString(DishWayText(planning::DishWays[way])),
                                static_cast<int>(way));
        }
    }
    m_sketch->SetType(type);
    OnDishWayChanged();
}

void PlanWindow::OnDishWayChanged() {
    const DishWayFields fields = FieldsOfWay(DishWay());
    for (std::size_t index = 0; index < PlanFieldCount; ++index) {
        const auto field = static_cast<PlanField>(index);
        if (IsDishField(field)) {
            m_dish_form->setRowVisible(m_cells_of_fields[index], Shows(fields, field));
        }
    }
    Recompute();
}

DishWayIndex PlanWindow::DishWay() const {
    return m_dish_way->count() > 0 ? static_cast<DishWayIndex>(m_dish_way->currentData().toInt())
                                   : 0;
}

void PlanWindow::SetDishWay(DishWayIndex way) {
    if (way >= std::size(planning::DishWays)) {
        return;
    }
    m_dish_type->setCurrentIndex(
        m_dish_type->findData(static_cast<int>(planning::DishWays[way].type)));
    m_dish_way->setCurrentIndex(m_dish_way->findData(static_cast<int>(way)));
}

// The list follows what is typed: a position's beginning or part of a name ("36", "amu").
void PlanWindow::AddSatelliteCompletion(QComboBox& combo) {
    for (const names::SatellitePosition& position : names::SatellitePositions()) {
        combo.addItem(QString::fromStdString(names::SatelliteEntry(position)));
    }
    combo.setCurrentIndex(-1);
    combo.setMaxVisibleItems(15);
    auto* model = new QStringListModel(&combo);
    auto* completer = new QCompleter(model, &combo);
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer->setMaxVisibleItems(12);
    QLineEdit* edit = combo.lineEdit();
    edit->setCompleter(completer);
    connect(edit, &QLineEdit::textEdited, this, [model, completer](const QString& text) {
        QStringList entries;
        if (!text.trimmed().isEmpty()) {
            for (const names::SatellitePosition& position :
                 names::FindSatellites(text.toStdString())) {
                entries << QString::fromStdString(names::SatelliteEntry(position));
            }
        }
        model->setStringList(entries);
        if (!entries.isEmpty() && !(entries.size() == 1 && entries.front() == text)) {
            completer->complete();
        }
    });
}

// Towns as typed, most populous first; choosing one fills the site.
void PlanWindow::AddPlaceCompletion() {
    auto* model = new QStringListModel(m_place);
    auto* completer = new QCompleter(model, m_place);
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer->setMaxVisibleItems(12);
    m_place->setCompleter(completer);
    // A town's entry names its region and country: wider than the field.
    completer->popup()->setMinimumWidth(m_place->fontMetrics().horizontalAdvance(QStringLiteral(
                                            "Санкт-Петербург, Ленинградская область, Россия")) +
                                        40);
    connect(m_place, &QLineEdit::textEdited, this, [model, completer](const QString& text) {
        QStringList entries;
        for (const names::Place& place : names::FindPlaces(text.trimmed().toStdString(), 20)) {
            entries << QString::fromStdString(names::PlaceEntry(place));
        }
        model->setStringList(entries);
        if (!entries.isEmpty()) {
            completer->complete();
        }
    });
    connect(completer, qOverload<const QString&>(&QCompleter::activated), this,
            &PlanWindow::ChoosePlace);
    connect(m_place, &QLineEdit::textEdited, this, [this] { ShowPlaceError(QString()); });
    connect(m_place, &QLineEdit::returnPressed, this, [this] {
        if (!m_place->text().trimmed().isEmpty()) {
            ChoosePlace(m_place->text().trimmed());
        }
    });
}

bool PlanWindow::ChoosePlace(const QString& entry) {
    const std::vector<names::Place> found = names::FindPlaces(entry.toStdString(), 1);
    if (found.empty()) {
        // The site stays as it was, typed or another town's: no town's name goes with it.
        m_place_name.clear();
        ShowPlaceError(QStringLiteral("Город не найден"));
        return false;
    }
    ShowPlaceError(QString());
    const QString name = QString::fromStdString(names::PlaceEntry(found.front()));
    m_filling = true;
    m_place->setText(name);
    Field(PlanField::SiteLongitude)
        .setText(QString::fromStdString(ShortText(found.front().longitude_deg)));
    Field(PlanField::SiteLatitude)
        .setText(QString::fromStdString(ShortText(found.front().latitude_deg)));
    m_filling = false;
    m_place_name = name;
    return true;
}

// A site pasted into the longitude field, or the latitude field, fills both fields.
void PlanWindow::OnSiteChanged(PlanField field, const QString& text) {
    const QString before =
        std::exchange(m_site_before[field == PlanField::SiteLongitude ? 0 : 1], text);
    if (m_filling) {
        return;
    }
    if (const std::optional<SiteTexts> site =
            PastedSite(before.toStdString(), text.toStdString())) {
        m_filling = true;
        Field(PlanField::SiteLongitude).setText(QString::fromStdString(site->longitude));
        Field(PlanField::SiteLatitude).setText(QString::fromStdString(site->latitude));
        m_filling = false;
        m_site_before = {Field(PlanField::SiteLongitude).text(),
                         Field(PlanField::SiteLatitude).text()};
        OnSiteEdited();
    }
}

void PlanWindow::ShowPlaceError(const QString& text) {
    m_place_error->setText(text);
    m_place_error->setVisible(!text.isEmpty());
}

// A site typed by hand is no longer the town chosen, nor the town not found: its name leaves
// the field and the card.
void PlanWindow::OnSiteEdited() {
    m_place_name.clear();
    m_place->clear();
    ShowPlaceError(QString());
}

QWidget* PlanWindow::CreateDrawing() {
    auto* box = new QGroupBox(QStringLiteral("Конверторы, вид сзади на антенну, мм"));
    m_drawing = new FeedLayoutWidget;
    m_drawing->setObjectName(QStringLiteral("Drawing"));
    m_legend = new QLabel;
    m_legend->setWordWrap(true);
    auto* column = new QVBoxLayout(box);
    column->addWidget(m_drawing, 1);
    column->addWidget(m_legend);
    return box;
}

QWidget* PlanWindow::CreateResults() {
    auto* box = new QGroupBox(QStringLiteral("Результат"));
    m_status = WrappingLabel("Status", box);
    m_results = CreateResultsTable(box);
    m_warnings = WrappingLabel("Warnings", box);
    m_warnings->setTextFormat(Qt::RichText);
    m_focus = new QPushButton(box);
    m_focus->setObjectName(QStringLiteral("FocusAdvice"));
    m_focus->hide();
    connect(m_focus, &QPushButton::clicked, this, &PlanWindow::OnFocusClicked);
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
    auto* phone = new QPushButton(QStringLiteral("Страница для теле&фона…"));
    phone->setObjectName(QStringLiteral("PhonePage"));
    phone->setToolTip(QStringLiteral(
        "Сохранить страницу расчёта для телефона с нынешними данными: она работает без сети"));
    connect(phone, &QPushButton::clicked, this, &PlanWindow::OnPhonePageClicked);
    m_dish_figures = WrappingLabel("DishFigures", box);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addWidget(m_copy);
    buttons->addWidget(phone);
    buttons->addStretch();
    auto* column = new QVBoxLayout(box);
    column->addWidget(m_status);
    column->addWidget(m_results);
    column->addWidget(m_dish_figures);
    column->addWidget(m_declination);
    column->addWidget(m_warnings);
    column->addWidget(m_focus, 0, Qt::AlignLeft);
    column->addWidget(m_explanation);
    column->addLayout(buttons);
    return box;
}

namespace {

// The results table: the feeds' rows, then the sun's.
std::vector<ReportRow> ResultRows(const planning::Plan& plan,
                                  const std::vector<std::optional<planning::SunTime>>& sun) {
    std::vector<ReportRow> rows = FeedTable(plan);
    rows.push_back(SunRow(plan, sun));
    return rows;
}

}  // namespace

// Plain labels made once: typing changes only the texts that differ, which keeps a keystroke's
// relayout well within a frame (a rich-text table is laid out anew on every change).
QWidget* PlanWindow::CreateResultsTable(QWidget* parent) {
    auto* table = new QWidget(parent);
    table->setObjectName(QStringLiteral("Results"));
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    // Every row a plan may have: a plan without the optics hides their rows, and the rows after
    // them move up, captions with them.
    planning::Plan every_row;
    every_row.optics = planning::OpticsFigures{};
    const std::vector<ReportRow> rows = ResultRows(every_row, {});
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
    const std::vector<ReportRow> rows = ResultRows(m_plan ? *m_plan : planning::Plan{}, m_sun);
    const std::size_t feeds = m_plan ? m_plan->feeds.size() : 0;
    // The rotation's words in two lines where there is room, in three for three or four feeds:
    // four side by side within a screen 1024 pixels wide.
    const int width = m_cells.front()->fontMetrics().horizontalAdvance(
        feeds <= 2 ? QStringLiteral("12.3° против часовой стрелки, если")
                   : QStringLiteral("12.3° против часовой"));
    const std::size_t row_count = m_cells.size() / (MaxFeeds + 1);
    for (std::size_t row = 0; row < row_count; ++row) {
        const bool row_shown = row <= rows.size();
        for (std::size_t column = 0; column <= MaxFeeds; ++column) {
            QLabel* cell = m_cells[row * (MaxFeeds + 1) + column];
            if (column > 0 && cell->minimumWidth() != width) {
                cell->setMinimumWidth(width);
            }
            const bool shown = row_shown && m_plan && column <= feeds;
            if (row > 0 && column == 0 && shown &&
                cell->text().toStdString() != rows[row - 1].caption) {
                cell->setText(QString::fromStdString(rows[row - 1].caption));
            }
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
    WaitForOptics();  // the card carries the optics' figures
    if (!m_input || !m_plan) {
        return false;
    }
    const QString error =
        SaveInstallationCard(path, *m_input, *m_plan, m_place_name.toStdString(), Notes());
    if (!error.isEmpty()) {
        CurrentNotifier().ShowError(error);
        return false;
    }
    ShowStatus(QStringLiteral("Карточка сохранена: %1").arg(QDir::toNativeSeparators(path)), false);
    return true;
}

PlanFormTexts PlanWindow::Texts() const {
    PlanFormTexts texts;
    for (std::size_t index = 0; index < PlanFieldCount; ++index) {
        texts[index] = m_fields[index]->text().toStdString();
    }
    return texts;
}

void PlanWindow::OnTakeFromMainWindowClicked() {
    // The main window's F is a prime-focus dish's, typed as such.
    if (planning::DishWays[DishWay()].type == planning::DishType::PrimeFocus) {
        SetDishWay(0);
    }
    const PlanFormTexts texts = FillFromMainWindow(Texts(), m_main_window, DishWay());
    m_filling = true;
    for (std::size_t index = 0; index < PlanFieldCount; ++index) {
        m_fields[index]->setText(QString::fromStdString(texts[index]));
    }
    m_filling = false;
    OnSiteEdited();
}

bool PlanWindow::SavePhonePage(const QString& source, const QString& path) {
    QFile page(source);
    if (!page.open(QIODevice::ReadOnly)) {
        CurrentNotifier().ShowError(
            QStringLiteral("Не удалось прочитать страницу для телефона %1: %2")
                .arg(QDir::toNativeSeparators(source), page.errorString()));
        return false;
    }
    const QByteArray html = page.readAll();
    const std::string copy = PageWithDefaults(std::string_view(html.constData(), html.size()),
                                              PhonePageQuery(Texts(), DishWay(), Notes()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(copy.data(), static_cast<qint64>(copy.size())) !=
            static_cast<qint64>(copy.size()) ||
        !file.commit()) {
        CurrentNotifier().ShowError(
            QStringLiteral("Не удалось сохранить страницу для телефона %1: %2")
                .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    ShowStatus(
        QStringLiteral("Страница для телефона сохранена: %1").arg(QDir::toNativeSeparators(path)),
        false);
    return true;
}

// The page built beside the program, or installed with it (PREFIX/lib/tarvex/tarvex ->
// PREFIX/share/tarvex/tarvex.html), or installed system-wide.
void PlanWindow::OnPhonePageClicked() {
    const QString folder = QFile::decodeName(ApplicationFolder().c_str());
    const QStringList candidates = {
        folder + QStringLiteral("/web/tarvex.html"),
        QDir::cleanPath(folder + QStringLiteral("/../../share/tarvex/tarvex.html")),
        QStringLiteral("/usr/share/tarvex/tarvex.html")};
    const auto found = std::find_if(candidates.begin(), candidates.end(),
                                    [](const QString& path) { return QFile::exists(path); });
    if (found == candidates.end()) {
        CurrentNotifier().ShowError(
            QStringLiteral("Страница для телефона не найдена: её нет ни в %1, ни в %2, ни в %3. "
                           "Соберите её (make web) или установите пакет tarvex.")
                .arg(QDir::toNativeSeparators(candidates[0]),
                     QDir::toNativeSeparators(candidates[1]), candidates[2]));
        return;
    }
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить страницу для телефона"),
                                     QDir::home().filePath(QStringLiteral("tarvex.html")),
                                     QStringLiteral("Страница HTML (*.html *.htm)"));
    if (!path.isEmpty()) {
        SavePhonePage(*found, path);
    }
}

void PlanWindow::OnSaveCardClicked() {
    if (!m_input) {
        return;
    }
    // The town's name without its region and country.
    const QString place = m_place_name.section(QLatin1Char(','), 0, 0);
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Сохранить карточку"),
        QDir::home().filePath(QString::fromStdString(CardFileName(place.toStdString(), *m_input))),
        QStringLiteral("PDF (*.pdf)"));
    if (!path.isEmpty()) {
        SaveCard(path);
    }
}

JobNotes PlanWindow::Notes() const {
    return {m_customer->text().toStdString(), m_note->text().toStdString()};
}

bool PlanWindow::SaveJob(const QString& path) {
    const std::string json = JobJson({Texts(), DishWay(), Notes()});
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(json.data(), static_cast<qint64>(json.size())) !=
            static_cast<qint64>(json.size()) ||
        !file.commit()) {
        CurrentNotifier().ShowError(QStringLiteral("Не удалось сохранить задание %1: %2")
                                        .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    ShowStatus(QStringLiteral("Задание сохранено: %1").arg(QDir::toNativeSeparators(path)), false);
    return true;
}

bool PlanWindow::OpenJob(const QString& path) {
    QFile file(path);
    // A job is one line; a file much longer than the longest job is no job.
    constexpr qint64 MaxJobFileBytes = 64 * 1024;
    if (!file.open(QIODevice::ReadOnly)) {
        CurrentNotifier().ShowError(QStringLiteral("Не удалось открыть задание %1: %2")
                                        .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    const QByteArray bytes = file.read(MaxJobFileBytes + 1);
    const auto job = bytes.size() > MaxJobFileBytes
                         ? std::variant<Job, planning::InputProblem>(planning::InputProblem{
                               planning::InputProblemKind::TooLong, {}, 0, {}, {}, {}})
                         : ReadJob(std::string_view(bytes.constData(), bytes.size()));
    if (const auto* problem = std::get_if<planning::InputProblem>(&job)) {
        CurrentNotifier().ShowError(QStringLiteral("Файл %1 — не задание Tarvex: %2")
                                        .arg(QDir::toNativeSeparators(path),
                                             QString::fromStdString(JobProblemText(*problem))));
        return false;
    }
    const Job& read = std::get<Job>(job);
    m_filling = true;
    m_place->clear();
    m_place_name.clear();
    SetDishWay(read.way);
    for (std::size_t index = 0; index < PlanFieldCount; ++index) {
        m_fields[index]->setText(QString::fromStdString(read.texts[index]));
    }
    m_customer->setText(QString::fromStdString(read.notes.customer));
    m_note->setText(QString::fromStdString(read.notes.note));
    m_filling = false;
    Recompute();
    ShowStatus(QStringLiteral("Задание открыто: %1").arg(QDir::toNativeSeparators(path)), false);
    return true;
}

void PlanWindow::OnSaveJobClicked() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Сохранить задание"),
        QDir::home().filePath(QStringLiteral("задание.json")), QStringLiteral("Задание (*.json)"));
    if (!path.isEmpty()) {
        SaveJob(path);
    }
}

void PlanWindow::OnOpenJobClicked() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Открыть задание"), QDir::homePath(),
                                     QStringLiteral("Задание (*.json)"));
    if (!path.isEmpty()) {
        OpenJob(path);
    }
}

void PlanWindow::OnCopyClicked() {
    WaitForOptics();
    if (!m_input || !m_plan) {
        return;
    }
    // The very table `tarvex-calc plan` prints for the same input.
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(PlanText(*m_input, *m_plan, m_sun, m_place_name.toStdString())));
    ShowStatus(QStringLiteral("Результат скопирован."), false);
}

// Every change of a field: nothing of an earlier input stays on screen beside the new one.
void PlanWindow::Recompute() {
    if (m_dish_way == nullptr || m_dish_figures == nullptr) {
        return;  // still being made
    }
    PlanFormReading reading = ReadPlanForm(Texts(), DishWay());
    m_input = std::move(reading.input);
    m_plan.reset();
    ++m_generation;  // what the optics are working on is for an input no longer shown
    m_refining = false;
    QString status;
    if (!m_input) {
        status = QStringLiteral("Исправьте отмеченные поля.");
    } else {
        // The formula's plan at once; the optics' after it, without making typing wait.
        planning::PlanInput formula = *m_input;
        formula.optics = false;
        std::variant<planning::Plan, planning::PlanRefusal> made = planning::MakePlan(formula);
        if (auto* plan = std::get_if<planning::Plan>(&made)) {
            m_plan = std::move(*plan);
            m_sun = planning::SunTimes(*m_input, *m_plan, planning::MachineClock());
            if (m_input->optics) {
                StartOptics(*m_input);
            }
        } else {
            const auto& refusal = std::get<planning::PlanRefusal>(made);
            // Measurements that make no dish are explained at the field they name.
            if (const std::optional<PlanField> field = DishRefusalField(refusal)) {
                reading.errors.push_back({*field, planning::RefusalProblem(refusal)});
                status = QStringLiteral("Исправьте отмеченные поля.");
            } else {
                status = QString::fromStdString(RefusalText(refusal));
            }
        }
    }
    ShowFieldErrors(reading.errors);
    ShowResults(status);
}

// The advised satellite first, the others in their order: the dish is then aimed at it.
void PlanWindow::OnFocusClicked() {
    if (!m_plan || m_plan->best_focus <= 1) {
        return;
    }
    const auto first = static_cast<std::size_t>(PlanField::Satellite1);
    PlanFormTexts texts = Texts();
    const auto best = texts.begin() + static_cast<std::ptrdiff_t>(first) + m_plan->best_focus - 1;
    std::rotate(texts.begin() + static_cast<std::ptrdiff_t>(first), best, best + 1);
    m_filling = true;
    for (std::size_t index = first; index < first + planning::MaxFeeds; ++index) {
        const QSignalBlocker quiet(m_fields[index]);
        m_fields[index]->setText(QString::fromStdString(texts[index]));
    }
    m_filling = false;
    Recompute();
}

void PlanWindow::StartOptics(const planning::PlanInput& input) {
    m_refining = true;
    m_optics.clear();  // a set-up not yet begun is already stale
    const int generation = m_generation;
    m_optics.start([this, generation, input] {
        if (generation != m_generation) {
            return;
        }
        std::variant<planning::Plan, planning::PlanRefusal> made = planning::MakePlan(input);
        // The window waits for this task before it is destroyed, so it is there to receive.
        QMetaObject::invokeMethod(
            this,
            [this, generation, made = std::move(made)]() mutable {
                OnOpticsArrived(generation, std::move(made));
            },
            Qt::QueuedConnection);
    });
}

void PlanWindow::OnOpticsArrived(int generation,
                                 std::variant<planning::Plan, planning::PlanRefusal> made) {
    if (generation != m_generation || !m_refining) {
        return;
    }
    m_refining = false;
    // The formula's plan was made of the same input: the optics refuse nothing it took.
    if (auto* plan = std::get_if<planning::Plan>(&made)) {
        m_plan = std::move(*plan);
    }
    ShowResults(QString());
}

void PlanWindow::WaitForOptics() {
    m_optics.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

PlanWindow::~PlanWindow() {
    ++m_generation;
    m_optics.clear();
    m_optics.waitForDone();
}

void PlanWindow::ShowFieldErrors(const std::vector<PlanFieldError>& errors) {
    for (std::size_t index = 0; index < PlanFieldCount; ++index) {
        const auto error = std::find_if(errors.begin(), errors.end(), [&](const auto& e) {
            return static_cast<std::size_t>(e.field) == index;
        });
        const bool wrong = error != errors.end();
        m_errors[index]->setText(wrong ? QString::fromStdString(ProblemInRussian(error->problem))
                                       : QString());
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
    if (status.isEmpty() && m_refining) {
        ShowStatus(QStringLiteral("Числа по формуле; уточняются по физической оптике…"), false);
    } else {
        ShowStatus(status, true);
    }
    const std::pair<std::size_t, std::size_t> shown =
        m_plan ? std::pair(m_plan->feeds.size(), m_plan->warnings.size()) : m_shown;
    ShowTable();
    // The declination, and once for every figure above: where they are seen from and where a
    // rotation counts from.
    m_declination->setText(m_plan
                               ? QString::fromStdString(DeclinationLine(m_plan->declination_deg) +
                                                        ". " + ViewpointText() + " " +
                                                        RotationZeroText() + " " + SunHintText())
                               : QString());
    m_declination->setVisible(m_plan.has_value());
    m_dish_figures->setText(m_plan ? QString::fromStdString(DishLines(*m_plan)).trimmed()
                                   : QString());
    m_dish_figures->setVisible(m_plan.has_value());
    m_warnings->setText(m_plan ? WarningsHtml(*m_plan) : QString());
    m_warnings->setVisible(m_plan && !m_plan->warnings.empty());
    const bool advised =
        m_plan && std::any_of(m_plan->warnings.begin(), m_plan->warnings.end(),
                              [](const planning::PlanWarning& warning) {
                                  return warning.kind == planning::WarningKind::BetterFocus;
                              });
    if (advised) {
        m_focus->setText(QStringLiteral("Навести антенну на %1")
                             .arg(QString::fromStdString(SatelliteText(
                                 m_plan->feeds.at(static_cast<std::size_t>(m_plan->best_focus - 1))
                                     .satellite_deg))));
    }
    m_focus->setVisible(advised);
    const std::optional<FeedPosition> marker = m_plan ? MainWindowFeed2(*m_input) : std::nullopt;
    m_drawing->SetPlan(m_plan, marker);
    // The main window's feed 2 is drawn only where its model applies: a prime-focus dish of F.
    QString legend = QStringLiteral(
                         "<span style='color:%1'>●</span> конверторы по точному расчёту, черта — "
                         "поворот, точка на ней — разъём")
                         .arg(FeedColour.name());
    if (m_plan && m_plan->optics) {
        legend += QStringLiteral(
                      "; штриховка — оценка: <span style='color:%1'>▨</span> слабее, "
                      "<span style='color:%2'>▦</span> только для сильного спутника, "
                      "<span style='color:%3'>▩</span> нужна вторая антенна")
                      .arg(LookOf(planning::BeamVerdict::Weaker).screen.name(),
                           LookOf(planning::BeamVerdict::StrongOnly).screen.name(),
                           LookOf(planning::BeamVerdict::SecondDish).screen.name());
    }
    if (marker) {
        legend += QStringLiteral("; <span style='color:%1'>◌</span> конвертор 2 по главному окну")
                      .arg(MarkerColour.name());
    }
    if (m_legend->text() != legend) {
        m_legend->setText(legend);
    }
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

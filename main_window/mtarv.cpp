#include "main_window/mtarv.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>
#include <string>
#include <vector>

#include "assets/design_pictures.h"
#include "direction/flin1.h"
#include "direction/results_writer.h"
#include "illustrations/fris123.h"
#include "ui/handler_boundary.h"
#include "ui/notifier.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

// The design's fonts; W is the window's own font, which a control without a font of its own
// inherits.
enum class Font { A, B, C, D, E, W };

QFont DesignFont(Font font) {
    switch (font) {
        case Font::A:
            return SansSerifFont(8.25, false);
        case Font::B:
            return SansSerifFont(8.25, true);
        case Font::C:
            return SansSerifFont(9.75, false);
        case Font::D:
            return SansSerifFont(12, true);
        case Font::E:
            return SerifFont(12, true);
        case Font::W:
            break;
    }
    return SansSerifFont(9.75, true);
}

// One control of the design: position and size in twips, caption or default text, tab index.
struct ControlSpec {
    const char* name;
    const char* text;
    int left;
    int top;
    int width;
    int height;
    int tab;
    Font font;
};

// Label7 names both offsets; its run of blanks sets the second caption above HorizontalOffset.
const std::string OffsetCaptions = std::string(SpecOf(FieldId::VerticalOffset).caption) +
                                   "        " + SpecOf(FieldId::HorizontalOffset).caption;

// The captions rely on their runs of blanks to break lines where the design wants them.
const ControlSpec Labels[] = {
    {"T1", "     РАССЧЕТ МУЛЬТИФИДА", 1680, 240, 3615, 255, 0, Font::E},
    {"T2", "     ПО КООРДИНАТАМ СПУТНИКОВ", 1680, 600, 3615, 255, 1, Font::B},
    {"T3", " Ваши  координаты           места  (пример: г.Тверия ИЗРАИЛЬ)", 240, 1320, 2055, 735, 2,
     Font::C},
    {"Label1", " долгота(градусы)            долгота(минуты)", 2400, 1080, 3735, 255, 3, Font::A},
    {"T4", "   широта(градусы)              широта(минуты)", 2280, 1560, 3495, 255, 6, Font::A},
    {"Label6", "ФОКУСНОЕ РАССТОЯНИЕ АНТЕНЫ", 360, 2280, 3495, 255, 30, Font::B},
    {"T5", "     Координаты            TV-спутника  (1)     установленного", 240, 2640, 1815, 735,
     9, Font::C},
    {"T6", " долгота(градусы)             долгота(минуты)", 2400, 2760, 3615, 255, 12, Font::A},
    {"Label2", "     Координаты            TV-спутника (2)  устанавливаемого", 240, 3480, 2175, 735,
     24, Font::W},
    {"Label3", "долгота(градусы)              долгота(минуты)", 2400, 3480, 3375, 375, 25, Font::A},
    {"T7", "      РЕЗУЛЬТАТ", 2040, 4440, 2175, 375, 13, Font::D},
    {"T8", SpecOf(FieldId::Elevation1).caption, 240, 4920, 1695, 255, 16, Font::A},
    {"T9", SpecOf(FieldId::Azimuth1).caption, 3240, 4920, 1575, 375, 17, Font::A},
    {"Label4", SpecOf(FieldId::Elevation2).caption, 240, 5400, 1695, 375, 28, Font::A},
    {"Label5", SpecOf(FieldId::Azimuth2).caption, 3240, 5400, 1575, 375, 29, Font::A},
    {"Label7", OffsetCaptions.c_str(), 240, 5760, 6255, 255, 32, Font::B},
    {"Label8", SpecOf(FieldId::Rotation).caption, 2280, 6600, 1815, 255, 36, Font::B},
};

// A field's control takes its design name and default text from the calculation's table.
constexpr ControlSpec FieldControl(FieldId field, int left, int top, int width, int height, int tab,
                                   Font font) {
    return {
        SpecOf(field).design_name, SpecOf(field).default_text, left, top, width, height, tab, font};
}

// In the order of FieldId.
constexpr ControlSpec FieldControls[] = {
    FieldControl(FieldId::SiteLongitudeDegrees, 2640, 1320, 855, 285, 4, Font::A),
    FieldControl(FieldId::SiteLongitudeMinutes, 4440, 1320, 975, 285, 5, Font::A),
    FieldControl(FieldId::SiteLatitudeDegrees, 2640, 1800, 855, 285, 7, Font::A),
    FieldControl(FieldId::SiteLatitudeMinutes, 4440, 1800, 975, 285, 8, Font::A),
    FieldControl(FieldId::Satellite1Degrees, 2640, 3000, 855, 285, 10, Font::A),
    FieldControl(FieldId::Satellite1Minutes, 4440, 3000, 975, 285, 11, Font::A),
    FieldControl(FieldId::Elevation1, 1920, 4800, 1215, 360, 14, Font::W),
    FieldControl(FieldId::Azimuth1, 4800, 4800, 1215, 330, 15, Font::W),
    FieldControl(FieldId::Satellite2Degrees, 2640, 3720, 855, 285, 22, Font::A),
    FieldControl(FieldId::Satellite2Minutes, 4440, 3720, 975, 285, 23, Font::A),
    FieldControl(FieldId::Elevation2, 1920, 5280, 1215, 375, 26, Font::W),
    FieldControl(FieldId::Azimuth2, 4800, 5280, 1215, 375, 27, Font::W),
    FieldControl(FieldId::FocalLength, 4440, 2280, 975, 285, 31, Font::B),
    FieldControl(FieldId::VerticalOffset, 480, 6120, 2175, 375, 33, Font::B),
    FieldControl(FieldId::HorizontalOffset, 3720, 6120, 2295, 375, 34, Font::B),
    FieldControl(FieldId::Rotation, 2760, 6120, 855, 375, 35, Font::W),
};

enum class Button { Gprog, RISYNOK, cmdExit, NAPR, UTOCHNIT };

const ControlSpec Buttons[] = {
    {"Gprog", "START", 720, 120, 855, 375, 18, Font::A},
    {"RISYNOK", "Рисунок", 720, 720, 855, 375, 19, Font::A},
    {"cmdExit", "EXIT", 5400, 360, 615, 495, 20, Font::A},
    {"NAPR", "НАПРАВЛЕНИЕ", 480, 4440, 1395, 315, 21, Font::A},
    // Tarvex's own: the precise plan, beside the calculation's results.
    {"UTOCHNIT", "УТОЧНИТЬ", 4800, 4440, 1395, 315, 37, Font::A},
};

// Line1 to Line7 in twips, widths in pixels.
struct LineSpec {
    int x1;
    int y1;
    int x2;
    int y2;
    int width;
};

const LineSpec Lines[] = {
    {1800, 960, 5160, 960, 1},  {1800, 120, 5160, 120, 1},  {1800, 960, 1800, 120, 1},
    {5160, 120, 5160, 960, 1},  {240, 4320, 6360, 4320, 5}, {2280, 2040, 2280, 1200, 1},
    {480, 5760, 6360, 5760, 1},
};

// The two fixed pictures of the feed, under Text14 and Text15.
struct PictureSpec {
    const char* name;
    QImage (*picture)();
    int left;
    int top;
};

const PictureSpec Pictures[] = {
    {"Image3", &Image3Picture, 1200, 6600},
    {"Image2", &Image2Picture, 4440, 6600},
};

// The client area of the design.
constexpr int DesignWidth = 6675;
constexpr int DesignHeight = 6930;

template <typename Control>
Control* CreateControl(QWidget& window, const ControlSpec& design) {
    auto* control = new Control(QString::fromUtf8(design.text), &window);
    control->setObjectName(QString::fromUtf8(design.name));
    control->setGeometry(TwipsRect(design.left, design.top, design.width, design.height));
    if (design.font != Font::W) {
        control->setFont(DesignFont(design.font));
    }
    return control;
}

}  // namespace

MTARV::MTARV() {
    setWindowTitle(QStringLiteral("RASCHET"));
    PressFocusedButtonsOnReturn();
    WheelTurnsFocusedInputsOnly();
    setFont(DesignFont(Font::W));
    resize(TwipsToPixels(DesignWidth), TwipsToPixels(DesignHeight));
    // Windowless controls first: the text fields and buttons lie above the labels they overlap.
    CreateLabels();
    CreatePictures();
    CreateFields();
    CreateButtons();
    Field(FieldId::SiteLongitudeDegrees).setFocus();
    Load();
}

MTARV::~MTARV() {
    delete m_direction_window.data();
    delete m_illustrations_window.data();
}

void MTARV::CreateLabels() {
    for (const ControlSpec& design : Labels) {
        auto* label = CreateControl<QLabel>(*this, design);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
}

void MTARV::CreatePictures() {
    for (const PictureSpec& design : Pictures) {
        const QImage picture = design.picture();
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromUtf8(design.name));
        label->setPixmap(QPixmap::fromImage(picture));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(
            QRect(QPoint(TwipsToPixels(design.left), TwipsToPixels(design.top)), picture.size()));
    }
}

void MTARV::CreateFields() {
    for (std::size_t index = 0; index < m_fields.size(); ++index) {
        m_fields[index] = CreateControl<QLineEdit>(*this, FieldControls[index]);
    }
    connect(&Field(FieldId::Satellite1Degrees), &QLineEdit::textChanged, this,
            &MTARV::OnText5Changed);
    connect(&Field(FieldId::Elevation1), &QLineEdit::textChanged, this, &MTARV::OnText7Changed);
}

void MTARV::CreateButtons() {
    std::vector<std::pair<int, QWidget*>> focus_order;
    for (std::size_t index = 0; index < m_fields.size(); ++index) {
        focus_order.emplace_back(FieldControls[index].tab, m_fields[index]);
    }
    void (MTARV::*const clicks[])() = {&MTARV::OnGprogClicked, &MTARV::OnRISYNOKClicked,
                                       &MTARV::OnCmdExitClicked, &MTARV::OnNAPRClicked,
                                       &MTARV::OnUTOCHNITClicked};
    for (std::size_t index = 0; index < std::size(Buttons); ++index) {
        auto* button = CreateControl<QPushButton>(*this, Buttons[index]);
        // Enter and Escape belong to the focused control: there is no default or cancel button.
        button->setAutoDefault(false);
        button->setDefault(false);
        connect(button, &QPushButton::clicked, this, clicks[index]);
        focus_order.emplace_back(Buttons[index].tab, button);
    }
    std::sort(focus_order.begin(), focus_order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t index = 1; index < focus_order.size(); ++index) {
        setTabOrder(focus_order[index - 1].second, focus_order[index].second);
    }
}

void MTARV::Load() {
    m_app_folder = ResultsFolder();
    RunHandler([this] { m_illustrations_window = new FRIS123([this] { BringToFront(); }); });
    RunHandler([this] { m_direction_window = new FLIN1([this] { BringToFront(); }); });
}

QLineEdit& MTARV::Field(FieldId field) const {
    return *m_fields[static_cast<std::size_t>(field)];
}

FLIN1* MTARV::DirectionWindow() const {
    return m_direction_window;
}

FRIS123* MTARV::IllustrationsWindow() const {
    return m_illustrations_window;
}

std::string MTARV::FieldText(FieldId field) const {
    return Field(field).text().toStdString();
}

// A text set by the program is shown from its beginning, as a typed one is not: a result longer
// than its field shows its leading digits.
void MTARV::SetFieldText(FieldId field, const std::string& text) {
    QLineEdit& edit = Field(field);
    edit.setText(QString::fromStdString(text));
    edit.setCursorPosition(0);
}

void MTARV::ShowMessage(const std::string& message) {
    CurrentNotifier().ShowMessage(QString::fromStdString(message));
}

// A failed write keeps its error box; the direction window then refuses to draw the previous
// calculation's azimuth as if it were this one's.
void MTARV::WriteResultsFile(double alfa1, double beta1) {
    m_results_file_outdated = true;
    if (m_direction_window) {
        m_direction_window->SetResultsFileOutdated(true);
    }
    tarvex::WriteResultsFile(m_app_folder, alfa1, beta1);
    m_results_file_outdated = false;
    if (m_direction_window) {
        m_direction_window->SetResultsFileOutdated(false);
    }
}

void MTARV::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QColor color = palette().color(QPalette::WindowText);
    for (const LineSpec& line : Lines) {
        const Qt::PenCapStyle cap = line.width > 1 ? Qt::RoundCap : Qt::SquareCap;
        painter.setPen(QPen(color, line.width, Qt::SolidLine, cap));
        // Through the centres of the end pixels, so a thick line lies evenly about its axis.
        const QPointF centre(0.5, 0.5);
        painter.drawLine(QPointF(TwipsToPixels(line.x1), TwipsToPixels(line.y1)) + centre,
                         QPointF(TwipsToPixels(line.x2), TwipsToPixels(line.y2)) + centre);
    }
}

void MTARV::closeEvent(QCloseEvent* event) {
    event->accept();
    EndProgram();
}

void MTARV::OnGprogClicked() {
    RunHandler([this] { m_calculation.Run(*this); });
}

void MTARV::OnNAPRClicked() {
    RunHandler([this] {
        if (m_navigation_flag != 0) {
            ShowDirectionWindow();
        }
    });
}

void MTARV::OnRISYNOKClicked() {
    RunHandler([this] {
        if (m_navigation_flag != 0) {
            ShowIllustrationsWindow();
        }
    });
}

void MTARV::OnCmdExitClicked() {
    EndProgram();
}

// Unlike the navigation buttons it always acts: the plan needs no START first.
void MTARV::OnUTOCHNITClicked() {
    RunHandler([this] { emit PlanRequested(); });
}

void MTARV::OnText5Changed() {
    m_navigation_flag = 1;
}

void MTARV::OnText7Changed() {
    m_navigation_flag = 2;
}

// Shown without an owner, so each window can lie in front of the other; a window discarded
// through its frame is loaded again, which runs its load step again. A window closed inside
// the direction window's yield lives on until control returns to the event loop (the direction
// window until its drawing returns), and is discarded all the same.
void MTARV::ShowDirectionWindow() {
    if (!m_direction_window || m_direction_window->Discarded()) {
        m_direction_window = new FLIN1([this] { BringToFront(); });
        m_direction_window->SetResultsFileOutdated(m_results_file_outdated);
    }
    ShowInFront(*m_direction_window);
}

void MTARV::ShowIllustrationsWindow() {
    if (!m_illustrations_window || m_illustrations_window->Discarded()) {
        m_illustrations_window = new FRIS123([this] { BringToFront(); });
    }
    ShowInFront(*m_illustrations_window);
}

// What the exit commands of the other two windows do: the main window is never hidden, so
// showing it only brings it forward.
void MTARV::BringToFront() {
    ShowInFront(*this);
}

void MTARV::EndProgram() {
    if (m_ending) {
        return;
    }
    m_ending = true;
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this) {
            windows.emplace_back(window);
        }
    }
    for (const QPointer<QWidget>& window : windows) {
        if (window) {
            window->close();
        }
    }
    close();
    QCoreApplication::exit(0);
}

}  // namespace tarvex

#include "direction/flin1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <utility>

#include "direction/results_file.h"
#include "ui/handler_boundary.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

// The window data sets no font: the platform's default window font.
QFont WindowFont() {
    LoadProgramFonts();
    return SansSerifFont(8.25, false);
}

QSize ClientSize() {
    return QSize(TwipsToPixels(DiagramWidth), TwipsToPixels(DiagramHeight));
}

}  // namespace

FLIN1::FLIN1(std::function<void()> show_main_window)
    : FLIN1(std::move(show_main_window), ResultsFolder()) {}

FLIN1::FLIN1(std::function<void()> show_main_window, std::string app_folder)
    : m_show_main_window(std::move(show_main_window)),
      m_app_folder(std::move(app_folder)),
      m_surface(ClientSize(), palette().color(QPalette::Window), WindowFont(),
                [this] { return YieldToEvents(); }),
      m_diagram([this] { return ReadResults(); }) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("CYRC1"));
    PressFocusedButtonsOnReturn();
    setFont(WindowFont());
    setFixedSize(ClientSize());
    CreateControls();
}

void FLIN1::CreateControls() {
    m_start = new QPushButton(QStringLiteral("START"), this);
    m_start->setObjectName(QStringLiteral("START"));
    m_start->setGeometry(TwipsRect(120, 120, 735, 375));

    m_exit = new QPushButton(QStringLiteral("EXIT"), this);
    m_exit->setObjectName(QStringLiteral("CMDEXIT"));
    m_exit->setGeometry(TwipsRect(120, 2280, 615, 375));

    m_pozia = new QLineEdit(QStringLiteral("-20"), this);
    m_pozia->setObjectName(QStringLiteral("POZIA"));
    m_pozia->setGeometry(TwipsRect(120, 1680, 615, 375));

    // The runs of blanks put each word on a line of its own within the label's width.
    m_label1 = new QLabel(QStringLiteral(" сдвиг      осей        на        угол"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(TwipsRect(120, 720, 615, 855));
    m_label1->setTextFormat(Qt::PlainText);
    m_label1->setWordWrap(true);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    setTabOrder(m_start, m_exit);
    setTabOrder(m_exit, m_pozia);
    m_start->setFocus();

    connect(m_start, &QPushButton::clicked, this, &FLIN1::OnSTARTClicked);
    connect(m_exit, &QPushButton::clicked, this, &FLIN1::OnCMDEXITClicked);
}

void FLIN1::OnSTARTClicked() {
    if (m_discarded) {
        return;
    }
    ++m_start_depth;
    RunHandler([this] {
        // False when the window was discarded during the yield; it then stays as it was.
        static_cast<void>(m_diagram.Run(m_surface, m_pozia->text().toStdString()));
    });
    --m_start_depth;
    if (!m_discarded) {
        update();
    }
    if (m_start_depth == 0 && m_delete_when_idle) {
        deleteLater();
    }
}

ResultsFields FLIN1::ReadResults() const {
    if (m_results_file_outdated) {
        throw RuntimeError(
            ErrorKind::ResultsFileOutdated,
            "The last results could not be written to the results file in " + m_app_folder);
    }
    return ReadResultsFile(m_app_folder);
}

void FLIN1::OnCMDEXITClicked() {
    RunHandler([this] {
        if (m_show_main_window) {
            m_show_main_window();
        }
    });
}

// Shows what is drawn so far, then lets the pending events be handled: a repaint, a further
// START, EXIT, closing the window. Closing discards the window, and the drawing stops.
bool FLIN1::YieldToEvents() {
    const QPointer<FLIN1> alive(this);
    update();
    QCoreApplication::processEvents();
    return !alive.isNull() && !alive->m_discarded;
}

// A window closed while START runs (during its yield, or while a nested START shows an error)
// is deleted only once every START has returned, never under a running one.
bool FLIN1::event(QEvent* event) {
    if (event->type() == QEvent::DeferredDelete && m_start_depth > 0) {
        m_delete_when_idle = true;
        return true;
    }
    return QWidget::event(event);
}

void FLIN1::closeEvent(QCloseEvent* event) {
    m_discarded = true;
    QWidget::closeEvent(event);
}

void FLIN1::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_surface.Image());
}

}  // namespace tarvex

// Pictures of the program's windows for the README: each window as the offscreen platform draws
// it (pixel for pixel what an X server shows), written as PNG files into the folder given on the
// command line. Run it from the program's folder: the windows read and write their files there.
//
//   tarvex_screenshots screenshots   ->  screenshots/main_window.png, ...

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <functional>

#include "app/plan_window_opener.h"
#include "direction/flin1.h"
#include "illustrations/fris123.h"
#include "main_window/mtarv.h"
#include "plan_window/plan_window.h"
#include "ui/notifier.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

// A message box would wait for a click that never comes: messages go to the error stream, and
// any of them fails the run.
class PrintingNotifier : public Notifier {
  public:
    void ShowMessage(const QString& text) override { Print("message", text); }
    void ShowError(const QString& text) override { Print("error", text); }
    bool Failed() const { return m_failed; }

  private:
    void Print(const char* kind, const QString& text) {
        std::fprintf(stderr, "%s: %s\n", kind, qPrintable(text));
        m_failed = true;
    }
    bool m_failed = false;
};

class Photographer {
  public:
    explicit Photographer(const QDir& folder) : m_folder(folder) {}

    void Save(QWidget& window, const char* name) {
        QCoreApplication::processEvents();
        const QString path = m_folder.filePath(QString::fromUtf8(name));
        if (window.grab().save(path)) {
            std::printf("%s\n", qPrintable(path));
        } else {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            m_failed = true;
        }
    }
    // Page `page` of the plan's installation card as poppler draws it (poppler-utils).
    void SaveCardPage(PlanWindow& plan, int page, const char* name) {
        const QString card = m_folder.filePath(QStringLiteral("card.pdf"));
        const QString path = m_folder.filePath(QString::fromUtf8(name));
        const QString number = QString::number(page);
        QString stem = path;
        stem.chop(4);  // pdftoppm adds ".png"
        if (!plan.SaveCard(card) || QProcess::execute(QStringLiteral("pdftoppm"),
                                                      {"-r", "100", "-png", "-singlefile", "-f",
                                                       number, "-l", number, card, stem}) != 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            m_failed = true;
            return;
        }
        std::printf("%s\n", qPrintable(path));
    }
    bool Failed() const { return m_failed; }

  private:
    QDir m_folder;
    bool m_failed = false;
};

void ClickButton(QWidget& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(QString::fromUtf8(name));
    if (button == nullptr) {
        qFatal("%s has no button %s", qPrintable(window.windowTitle()), name);
    }
    button->click();
}

// The satellites and dish of the worked example, on the default site.
void TypeExample(MTARV& window) {
    window.Field(FieldId::Satellite1Degrees).setText(QStringLiteral("13"));
    window.Field(FieldId::Satellite2Degrees).setText(QStringLiteral("19"));
    window.Field(FieldId::Satellite2Minutes).setText(QStringLiteral("12"));
    window.Field(FieldId::FocalLength).setText(QStringLiteral("600"));
}

void PhotographMainWindow(MTARV& window, Photographer& photographer) {
    photographer.Save(window, "main_window.png");
    TypeExample(window);
    ClickButton(window, "Gprog");
    photographer.Save(window, "main_window_example.png");
}

// After the main window's START: the results file holds the example's azimuth.
void PhotographDirectionWindow(MTARV& window, Photographer& photographer) {
    ClickButton(window, "NAPR");
    FLIN1& direction = *window.DirectionWindow();
    ClickButton(direction, "START");
    photographer.Save(direction, "direction_window.png");
}

void PhotographIllustrationsWindow(MTARV& window, Photographer& photographer) {
    ClickButton(window, "RISYNOK");
    FRIS123& illustrations = *window.IllustrationsWindow();
    ClickButton(illustrations, "RISYNOK");
    photographer.Save(illustrations, "illustrations_window_1.png");
    // The second one in a window the user has enlarged to the picture box, to show it whole.
    ClickButton(illustrations, "RISYNOK");
    illustrations.resize(illustrations.findChild<QWidget*>(QStringLiteral("Picture1"))->size());
    photographer.Save(illustrations, "illustrations_window_2.png");
}

// The worked example taken from the main window, on a fixed day so that the picture does not
// change with the date.
void PhotographPlanWindow(MTARV& window, Photographer& photographer) {
    ClickButton(window, "UTOCHNIT");
    for (QWidget* shown : QApplication::topLevelWidgets()) {
        if (auto* plan = qobject_cast<PlanWindow*>(shown)) {
            plan->Field(PlanField::Date).setText(QStringLiteral("2026-12-07"));
            // The usual multifeed dish: an offset one, measured with a tape and a straightedge.
            plan->SetDishWay(3);
            plan->Field(PlanField::Width).setText(QStringLiteral("800"));
            plan->Field(PlanField::Height).setText(QStringLiteral("883"));
            plan->Field(PlanField::Depth).setText(QStringLiteral("79"));
            // The optics' figures, not the formula's shown while they are worked out.
            while (plan->Refining()) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            }
            photographer.Save(*plan, "plan_window.png");
            photographer.SaveCardPage(*plan, 2, "card_page.png");
            return;
        }
    }
    qFatal("УТОЧНИТЬ showed no plan window");
}

}  // namespace
}  // namespace tarvex

int main(int argc, char* argv[]) {
    // A screen larger than the plan window's comfortable size, so that it is shown whole.
    QTemporaryDir config_folder;
    const QString config = config_folder.filePath(QStringLiteral("screen.json"));
    QFile screen(config);
    if (!screen.open(QIODevice::WriteOnly) ||
        screen.write(R"({"screens": [{"name": "Screen", "x": 0, "y": 0, "width": 1280,
                      "height": 1024, "logicalDpi": 96, "logicalBase": 96, "dpr": 1}]})") < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(config));
        return 1;
    }
    screen.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setCursorFlashTime(0);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    tarvex::PrintingNotifier notifier;
    tarvex::ScopedNotifier scoped_notifier(notifier);
    tarvex::LoadProgramFonts();
    tarvex::LoadQtTranslation();

    tarvex::MTARV window;
    tarvex::ConnectPlanWindow(window);
    tarvex::ShowInFront(window);
    window.Field(tarvex::FieldId::SiteLongitudeDegrees).setFocus();
    tarvex::Photographer photographer(folder);
    tarvex::PhotographMainWindow(window, photographer);
    tarvex::PhotographDirectionWindow(window, photographer);
    tarvex::PhotographIllustrationsWindow(window, photographer);
    tarvex::PhotographPlanWindow(window, photographer);
    return notifier.Failed() || photographer.Failed() ? 1 : 0;
}

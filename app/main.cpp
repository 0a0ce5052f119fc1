#include <QApplication>
#include <QLineEdit>

#include "app/plan_window_opener.h"
#include "main_window/calculation_command.h"
#include "main_window/mtarv.h"
#include "ui/window_support.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The program ends only through the main window (EXIT or its frame), never because its last
    // visible window closed while the direction window still waits hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    tarvex::LoadProgramFonts();
    tarvex::LoadQtTranslation();

    tarvex::MTARV main_window;
    tarvex::ConnectPlanWindow(main_window);
    // After the load step, so that the main window lies in front of the illustrations window.
    tarvex::ShowInFront(main_window);
    main_window.Field(tarvex::FieldId::SiteLongitudeDegrees).setFocus();
    return QApplication::exec();
}

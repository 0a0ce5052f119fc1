#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <string>

#include "main_window/calculation_command.h"

class QCloseEvent;
class QLineEdit;
class QPaintEvent;

namespace tarvex {

class FLIN1;
class FRIS123;

// The main window, caption "RASCHET": the inputs and results of the calculation, START, the two
// navigation buttons and EXIT. Its controls sit at their design positions and carry their design
// names as object names ("Text1", "Gprog", "NAPR", "RISYNOK", "cmdExit", "T1", "Label7",
// "Image3", ...).
//
// The program ends only here: EXIT or closing the window's frame closes every window, hidden
// ones included, and leaves the event loop.
class MTARV : public QWidget, public CalculationView {
    Q_OBJECT

  public:
    // The load step: AppFolder becomes the results folder (ResultsFolder), the illustrations window
    // is loaded (it shows itself) and the direction window is loaded hidden. The caller shows this
    // window afterwards, so that it ends up in front.
    MTARV();
    ~MTARV() override;

    // 0 at creation; 1 after every change of Text5, 2 after every change of Text7.
    std::int16_t NavigationFlag() const { return m_navigation_flag; }

    // The folder the results file is written to (no trailing separator).
    const std::string& AppFolder() const { return m_app_folder; }
    void SetAppFolder(std::string folder) { m_app_folder = std::move(folder); }

    QLineEdit& Field(FieldId field) const;

    // The two other windows while they are loaded, null once they have been discarded.
    FLIN1* DirectionWindow() const;
    FRIS123* IllustrationsWindow() const;

    // What START's calculation command reads and writes.
    std::string FieldText(FieldId field) const override;
    void SetFieldText(FieldId field, const std::string& text) override;
    void ShowMessage(const std::string& message) override;
    void WriteResultsFile(double alfa1, double beta1) override;

  signals:
    // УТОЧНИТЬ was pressed: the program opens the plan window (app/plan_window_opener.h).
    void PlanRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateLabels();
    void CreatePictures();
    void CreateFields();
    void CreateButtons();
    void Load();

    void OnGprogClicked();
    void OnNAPRClicked();
    void OnRISYNOKClicked();
    void OnCmdExitClicked();
    void OnUTOCHNITClicked();
    void OnText5Changed();
    void OnText7Changed();

    void ShowDirectionWindow();
    void ShowIllustrationsWindow();
    void BringToFront();
    void EndProgram();

    std::array<QLineEdit*, FieldCount> m_fields{};
    std::int16_t m_navigation_flag = 0;
    std::string m_app_folder;
    CalculationCommand m_calculation;
    QPointer<FLIN1> m_direction_window;
    QPointer<FRIS123> m_illustrations_window;
    bool m_ending = false;
    // The last START computed results that the file did not receive.
    bool m_results_file_outdated = false;
};

}  // namespace tarvex

#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "direction/diagram.h"
#include "direction/image_surface.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvex {

// The direction window: START draws the compass diagram of satellite 1 from the results file,
// EXIT brings the main window forward. Closing the frame discards the window
// (Qt::WA_DeleteOnClose); the main window creates it anew.
class FLIN1 : public QWidget {
  public:
    // The load step: the window's own copy of the results folder (ResultsFolder).
    // `show_main_window` is what EXIT calls.
    explicit FLIN1(std::function<void()> show_main_window);
    // The same with the folder given, where the results file is looked for.
    FLIN1(std::function<void()> show_main_window, std::string app_folder);

    const std::string& AppFolder() const { return m_app_folder; }
    // Set while the main window's latest results did not reach the file: START then draws the
    // compass and says so instead of drawing the older file's azimuth.
    void SetResultsFileOutdated(bool outdated) { m_results_file_outdated = outdated; }
    // True once the window has been closed. Closed during a START, it lives on until that START
    // returns, but is never to be shown again: the main window loads a new one instead.
    bool Discarded() const { return m_discarded; }
    // What START has drawn, as the window shows it behind its controls.
    const QImage& Drawing() const { return m_surface.Image(); }

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void CreateControls();
    void OnSTARTClicked();
    void OnCMDEXITClicked();
    ResultsFields ReadResults() const;
    bool YieldToEvents();

    std::function<void()> m_show_main_window;
    std::string m_app_folder;
    QPushButton* m_start = nullptr;
    QPushButton* m_exit = nullptr;
    QLineEdit* m_pozia = nullptr;
    QLabel* m_label1 = nullptr;
    ImageSurface m_surface;
    DiagramCommand m_diagram;
    // START may run inside its own yield; the window is not deleted while any START runs.
    int m_start_depth = 0;
    bool m_discarded = false;
    bool m_delete_when_idle = false;
    bool m_results_file_outdated = false;
};

}  // namespace tarvex

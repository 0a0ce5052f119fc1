#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "main_window/calculation_command.h"
#include "plan_window/feed_layout.h"
#include "plan_window/plan_form.h"
#include "planning/plan.h"

class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvex {

// The drawing of the plan window: the feeds to scale, fitted to the widget as it is resized.
class FeedLayoutWidget : public QWidget {
    Q_OBJECT

  public:
    explicit FeedLayoutWidget(QWidget* parent = nullptr);

    // Nothing is drawn but the background without a plan.
    void SetPlan(const std::optional<planning::Plan>& plan,
                 const std::optional<FeedPosition>& marker);

    // Where the plan is drawn in the widget now; none without a plan.
    std::optional<FeedLayoutView> View() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<planning::Plan> m_plan;
    std::optional<FeedPosition> m_marker;
};

// "Точный расчёт мультифида": the precise plan of two to four feeds, computed as the user types,
// with its drawing, the installation card and the results as text. Its inputs come from the main
// window when it opens and on "Взять из главного окна". Object names: the fields are named after
// PlanField ("SiteLongitude", ..., "Date"), each with its message label "<field>Error"; "Results",
// "Warnings", "Status", "Drawing"; buttons "TakeFromMainWindow", "SaveCard", "Copy".
class PlanWindow : public QWidget {
    Q_OBJECT

  public:
    // `main_window` must outlive this window.
    explicit PlanWindow(const CalculationView& main_window);

    // Shows the window in front; a window that was not shown first takes the main window's
    // fields.
    void Open();

    QLineEdit& Field(PlanField field) const;

    // The plan shown now: none while a field cannot be read or the input is refused.
    const std::optional<planning::Plan>& CurrentPlan() const { return m_plan; }

    // Writes the installation card; a failure is shown through the notifier. True on success.
    bool SaveCard(const QString& path);

  private:
    void CreateFields(QFormLayout& form);
    QWidget* CreateResults();
    QWidget* CreateResultsTable(QWidget* parent);
    void ShowTable();
    QWidget* CreateDrawing();
    void OnTakeFromMainWindowClicked();
    void OnSaveCardClicked();
    void OnCopyClicked();
    void Recompute();
    void ShowFieldErrors(const std::vector<PlanFieldError>& errors);
    void ShowResults(const QString& status);
    void ShowStatus(const QString& text, bool error);

    const CalculationView& m_main_window;
    std::array<QLineEdit*, PlanFieldCount> m_fields{};
    std::array<QLabel*, PlanFieldCount> m_errors{};
    QWidget* m_results = nullptr;
    std::vector<QLabel*> m_cells;  // the results table, row by row, captions first
    QLabel* m_warnings = nullptr;
    QLabel* m_status = nullptr;
    FeedLayoutWidget* m_drawing = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_copy = nullptr;
    std::optional<planning::PlanInput> m_input;
    std::optional<planning::Plan> m_plan;
};

}  // namespace tarvex

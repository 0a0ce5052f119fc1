#pragma once

#include <QThreadPool>
#include <QWidget>
#include <array>
#include <atomic>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "main_window/calculation_command.h"
#include "plan_window/dish_sketch.h"
#include "plan_window/feed_layout_widget.h"
#include "plan_window/plan_form.h"
#include "planning/plan.h"
#include "planning/plan_sun.h"

class QComboBox;
class QCompleter;
class QFormLayout;
class QLabel;
class QStringListModel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace tarvex {

// "Точный расчёт мультифида": the precise plan of two to four feeds, computed as the user types,
// with its drawing, the installation card and the results as text. Its inputs come from the main
// window when it opens and on "Взять из главного окна". Object names: the fields are named after
// PlanField ("SiteLongitude", ..., "Date", "Depth", ..., "RimHigh"), each with its message label
// "<field>Error" (the satellites and the dish's size are editable combo boxes of that name);
// "Place" with "PlaceError", "DishType", "DishWay", "DishSketch", "DishFigures", "Results", "Warnings",
// "Declination", "Explanation", "Status", "Drawing", "Scroll"; buttons "TakeFromMainWindow",
// "SaveCard", "Copy", "PhonePage", "FocusAdvice".
class PlanWindow : public QWidget {
    Q_OBJECT

  public:
    // `main_window` must outlive this window.
    explicit PlanWindow(const CalculationView& main_window);
    // Waits for the optics still being worked out: their answer is for this window.
    ~PlanWindow() override;

    // Shows the window in front; a window that was not shown first takes the main window's
    // fields.
    void Open();

    QLineEdit& Field(PlanField field) const;

    // The plan shown now: none while a field cannot be read or the input is refused. At once the
    // formula's plan, while the optics are worked out in a worker thread (Refining); then theirs.
    const std::optional<planning::Plan>& CurrentPlan() const { return m_plan; }
    bool Refining() const { return m_refining; }

    // Writes the installation card; a failure is shown through the notifier. True on success.
    bool SaveCard(const QString& path);

    // The way of measuring the dish shown (an index into planning::DishWays), and choosing one.
    DishWayIndex DishWay() const;
    void SetDishWay(DishWayIndex way);

    // Chooses a town as its entry in the place field's list: its coordinates fill the site, its
    // name goes on the card. False where the text names no town: that is said under the field,
    // the site stays and no town's name goes on the card.
    bool ChoosePlace(const QString& entry);

    // The place named on the card: the town chosen, until the site is typed otherwise.
    const QString& PlaceName() const { return m_place_name; }

    // Writes a copy of the phone page at `source` to `path` with the window's inputs as its
    // defaults; a failure is shown through the notifier. True on success.
    bool SavePhonePage(const QString& source, const QString& path);

    // The job (the form, the customer and the note) written to `path` as one JSON line, the file
    // replaced only once written whole; and read back into the form. A file that cannot be read
    // as a job is refused with the reason, naming the file, and the form stays as it was. False
    // on any failure, after saying why.
    bool SaveJob(const QString& path);
    bool OpenJob(const QString& path);

  private:
    void CreateFields(QFormLayout& form);
    QWidget* CreateDish();
    void CreateField(PlanField field, QFormLayout& form, QComboBox* combo = nullptr);
    void AddSatelliteCompletion(QComboBox& combo);
    void AddPlaceCompletion();
    void OnDishTypeChanged();
    void OnDishWayChanged();
    void OnSiteChanged(PlanField field, const QString& text);
    void OnSiteEdited();
    void ShowPlaceError(const QString& text);
    void OnPhonePageClicked();
    void OnSaveJobClicked();
    void OnOpenJobClicked();
    JobNotes Notes() const;
    PlanFormTexts Texts() const;
    QWidget* CreateResults();
    QWidget* CreateResultsTable(QWidget* parent);
    void ShowTable();
    QWidget* CreateDrawing();
    void OnTakeFromMainWindowClicked();
    void OnSaveCardClicked();
    void OnCopyClicked();
    void Recompute();
    void OnFocusClicked();
    void StartOptics(const planning::PlanInput& input);
    void OnOpticsArrived(int generation, std::variant<planning::Plan, planning::PlanRefusal> made);
    void WaitForOptics();
    void ShowFieldErrors(const std::vector<PlanFieldError>& errors);
    void ShowResults(const QString& status);
    void ShowStatus(const QString& text, bool error);
    void FitToScreen();

    const CalculationView& m_main_window;
    QWidget* m_content = nullptr;  // everything, inside the scroll area
    QScrollArea* m_scroll = nullptr;
    std::optional<QSize> m_fitted;                // the size FitToScreen gave last
    std::pair<std::size_t, std::size_t> m_shown;  // feeds and warnings the window was fitted to
    std::array<QLineEdit*, PlanFieldCount> m_fields{};
    std::array<QLabel*, PlanFieldCount> m_errors{};
    std::array<QLayout*, PlanFieldCount> m_cells_of_fields{};  // field, hint and error
    QFormLayout* m_dish_form = nullptr;
    QComboBox* m_dish_type = nullptr;
    QComboBox* m_dish_way = nullptr;
    DishSketch* m_sketch = nullptr;
    QLineEdit* m_place = nullptr;
    QLabel* m_place_error = nullptr;
    QString m_place_name;
    QLineEdit* m_customer = nullptr;
    QLineEdit* m_note = nullptr;
    std::array<QString, 2> m_site_before;  // the longitude's and latitude's texts before a change
    bool m_filling = false;                // the window itself is setting the fields' texts
    QLabel* m_dish_figures = nullptr;
    QWidget* m_results = nullptr;
    std::vector<QLabel*> m_cells;  // the results table, row by row, captions first
    QLabel* m_warnings = nullptr;
    QLabel* m_declination = nullptr;
    QLabel* m_explanation = nullptr;
    QLabel* m_status = nullptr;
    FeedLayoutWidget* m_drawing = nullptr;
    QLabel* m_legend = nullptr;  // of the drawing
    QPushButton* m_save = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_focus = nullptr;  // the focus advice's: its satellite first
    std::optional<planning::PlanInput> m_input;
    std::optional<planning::Plan> m_plan;
    std::vector<std::optional<planning::SunTime>> m_sun;  // of m_plan, by the machine's clock
    // The optics in one worker thread; an answer for an input since changed is dropped.
    QThreadPool m_optics;
    std::atomic<int> m_generation = 0;
    bool m_refining = false;
};

}  // namespace tarvex

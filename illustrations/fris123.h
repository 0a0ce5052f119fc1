#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

class QCloseEvent;
class QPushButton;

namespace tarvex {

class PictureBox;

// The illustrations window "RIS123": each press of its picture button shows the next of the
// eight bitmaps kept beside the executable; its exit button discards the window and brings the
// main window forward. Closing it from its frame discards it as well (Qt::WA_DeleteOnClose), so
// the owner holds it through a QPointer and creates it anew to show it again.
class FRIS123 : public QWidget {
    Q_OBJECT

  public:
    // The load step: PictureFolder from the executable's folder, PictureStep 0, an empty picture
    // box, then hidden and shown again, so the window is visible from now on.
    // `show_main_window` is what the exit button calls after discarding the window.
    explicit FRIS123(std::function<void()> show_main_window);

    // The same with the pictures taken from `reported_folder`, given as the platform would report
    // the executable's folder (a trailing separator is dropped as the load step does). For tests.
    FRIS123(std::function<void()> show_main_window, std::string reported_folder);

    // The folder the pictures are read from; never ends in a separator.
    const std::string& PictureFolder() const { return m_picture_folder; }
    // Which bitmap of the cycle the next press shows: 0 to 7.
    std::int16_t PictureStep() const { return m_picture_step; }
    // The bitmap shown; a null image before the first press.
    const QImage& Picture() const;
    // True once the window has been closed. It is deleted when control returns to the event
    // loop; until then the main window loads a new one rather than showing this one again.
    bool Discarded() const { return m_discarded; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    FRIS123(std::function<void()> show_main_window, std::function<std::string()> reported_folder);

    void CreateControls();
    void Load();
    void OnRISYNOKClicked();
    void OnCmd1Clicked();
    void ShowNextPicture();

    std::function<void()> m_show_main_window;
    std::function<std::string()> m_reported_folder;
    std::string m_picture_folder;
    std::int16_t m_picture_step = 0;
    PictureBox* m_picture1 = nullptr;
    QPushButton* m_cmd1 = nullptr;
    QPushButton* m_RISYNOK = nullptr;
    bool m_discarded = false;
};

}  // namespace tarvex

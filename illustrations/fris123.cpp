#include "illustrations/fris123.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPushButton>
#include <array>
#include <filesystem>
#include <string_view>
#include <utility>

#include "conversions/runtime_error.h"
#include "files/app_folder.h"
#include "illustrations/bitmap_file.h"
#include "illustrations/picture_box.h"
#include "ui/handler_boundary.h"
#include "ui/window_support.h"

namespace tarvex {
namespace {

struct PictureCycleRow {
    std::string_view file_name;
    std::int16_t next_step;
};

// "\5k.BMP" comes after "\YGOLP.BMP", not after "\4k.BMP".
constexpr std::array<PictureCycleRow, 8> PictureCycle{{
    {"\\GDS001.BMP", 1},
    {"\\1k.BMP", 2},
    {"\\2k.BMP", 3},
    {"\\3k.BMP", 4},
    {"\\4k.BMP", 5},
    {"\\TRANS002.BMP", 6},
    {"\\YGOLP.BMP", 7},
    {"\\5k.BMP", 0},
}};

std::string ExecutableFolderAsReported() {
    return ApplicationFolder();
}

// The file of the cycle in `folder`, whatever the letter case of its name there.
std::filesystem::path FindPicture(const std::string& folder, std::string_view file_name) {
    if (auto found = FindFileIgnoringCase(folder, file_name)) {
        return *found;
    }
    const std::filesystem::path path = PathInFolder(folder, file_name);
    if (const std::optional<std::string> what = NonFileAt(path)) {
        throw RuntimeError(ErrorKind::NotAFile,
                           "Not a picture file: " + path.string() + " (" + *what + ")");
    }
    throw RuntimeError(ErrorKind::Picture, "File not found: " + path.string());
}

}  // namespace

FRIS123::FRIS123(std::function<void()> show_main_window)
    : FRIS123(std::move(show_main_window),
              std::function<std::string()>(ExecutableFolderAsReported)) {}

FRIS123::FRIS123(std::function<void()> show_main_window, std::string reported_folder)
    : FRIS123(
          std::move(show_main_window),
          std::function<std::string()>([folder = std::move(reported_folder)] { return folder; })) {}

FRIS123::FRIS123(std::function<void()> show_main_window,
                 std::function<std::string()> reported_folder)
    : m_show_main_window(std::move(show_main_window)),
      m_reported_folder(std::move(reported_folder)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("RIS123"));
    PressFocusedButtonsOnReturn();
    LoadProgramFonts();
    setFont(SansSerifFont(8.25, false));
    CreateControls();
    // Client area at a fixed place on the screen, not where the system would put it.
    setGeometry(TwipsRect(1860, 1530, 6360, 4995));
    Load();
}

const QImage& FRIS123::Picture() const {
    return m_picture1->Picture();
}

void FRIS123::CreateControls() {
    // The box is larger than the client area: its right and bottom strips show only when the
    // window is enlarged.
    m_picture1 = new PictureBox(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setGeometry(TwipsRect(0, 0, 8775, 5935));

    // The buttons lie on the picture box and count from its inner corner.
    const QPoint box_origin = m_picture1->InnerOrigin();
    m_cmd1 = new QPushButton(QStringLiteral("ВЫХОД"), m_picture1);
    m_cmd1->setObjectName(QStringLiteral("cmd1"));
    m_cmd1->setGeometry(TwipsRect(240, 120, 975, 375).translated(box_origin));
    // A Latin capital P, then the Cyrillic letters И and С.
    m_RISYNOK = new QPushButton(QStringLiteral("P\u0418\u0421.1,2,3"), m_picture1);
    m_RISYNOK->setObjectName(QStringLiteral("RISYNOK"));
    m_RISYNOK->setGeometry(TwipsRect(240, 720, 975, 375).translated(box_origin));
    setTabOrder(m_cmd1, m_RISYNOK);

    connect(m_cmd1, &QPushButton::clicked, this, &FRIS123::OnCmd1Clicked);
    connect(m_RISYNOK, &QPushButton::clicked, this, &FRIS123::OnRISYNOKClicked);
}

void FRIS123::Load() {
    m_picture_folder = AppFolderFrom(m_reported_folder());
    m_picture_step = 0;
    hide();
    ShowInFront(*this);
}

void FRIS123::OnRISYNOKClicked() {
    RunHandler([this] { ShowNextPicture(); });
}

// A picture that cannot be read leaves the box as it was, and the next press goes on to the next
// picture: one bad file must not hide all those after it.
void FRIS123::ShowNextPicture() {
    const PictureCycleRow& row = PictureCycle.at(static_cast<std::size_t>(m_picture_step));
    m_picture_step = row.next_step;
    m_picture1->SetPicture(ReadBitmapFile(FindPicture(m_picture_folder, row.file_name)));
}

void FRIS123::closeEvent(QCloseEvent* event) {
    m_discarded = true;
    QWidget::closeEvent(event);
}

void FRIS123::OnCmd1Clicked() {
    RunHandler([this] {
        // close() only schedules the deletion (Qt::WA_DeleteOnClose), so the callback is still
        // ours to call afterwards.
        const std::function<void()> show_main_window = m_show_main_window;
        close();
        if (show_main_window) {
            show_main_window();
        }
    });
}

}  // namespace tarvex

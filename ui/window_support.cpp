#include "ui/window_support.h"

#include <unistd.h>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTranslator>
#include <QWidget>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "files/app_folder.h"

namespace tarvex {
namespace {

// Debian's fonts-wine: "MS Sans Serif" with Cyrillic, as bitmap strikes whose cells are 13, 16
// and 20 pixels high. Windows picks a bitmap size by its em, the cell without the internal
// leading: 11, 13 and 16 pixels, which are 8.25, 9.75 and 12 points at 96 dots per inch.
const char* const SansSerifFamily = "MS Sans Serif";
const struct {
    int em;
    int cell;
} SansSerifStrikes[] = {{11, 13}, {13, 16}, {16, 20}};
// Where the bitmap font is missing: a scalable sans of about the same width.
const char* const FallbackSansFamily = "Liberation Sans";
const char* const SerifFamily = "Times New Roman";
// Its metric twin, which the font configuration gives for it where it is missing.
const char* const FallbackSerifFamily = "Liberation Serif";

int PointsToPixels(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

// The bitmap font at the cell height of the strike for `points`, if it is loaded. Bitmap glyphs
// do not scale: on a high-density screen Qt would draw them at their own size, with the advances
// scaled, so the text would fall apart there; the scalable sans scales with everything else.
std::optional<QFont> BitmapSansSerifFont(double points, bool bold) {
    if (qGuiApp == nullptr || qGuiApp->devicePixelRatio() != 1.0) {
        return std::nullopt;
    }
    const int em = PointsToPixels(points);
    for (const auto& strike : SansSerifStrikes) {
        if (strike.em != em) {
            continue;
        }
        QFont font(SansSerifFamily);
        font.setPixelSize(strike.cell);
        font.setBold(bold);
        const QFontInfo info(font);
        if (info.family() == SansSerifFamily && info.pixelSize() == strike.cell) {
            return font;
        }
    }
    return std::nullopt;
}

// A family the font database lacks sends Qt through the font configuration's substitutions and
// fallbacks for every style and script it is drawn in, the dearest single step of the start-up;
// the twin is what those would find.
QString SerifFamilyName() {
    static const QString family = QFontDatabase::families().contains(SerifFamily)
                                      ? QString::fromUtf8(SerifFamily)
                                      : QString::fromUtf8(FallbackSerifFamily);
    return family;
}

class ReturnPressesButton : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button == nullptr || !button->isEnabled() || key->isAutoRepeat() ||
            (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            return false;
        }
        button->click();
        return true;
    }
};

// An input a turn of the wheel changes (a scroll bar only scrolls).
bool TurnsWithTheWheel(const QObject* object) {
    return qobject_cast<const QComboBox*>(object) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(object) != nullptr ||
           (qobject_cast<const QAbstractSlider*>(object) != nullptr &&
            qobject_cast<const QScrollBar*>(object) == nullptr);
}

// A window taller than the screen scrolls under the wheel; an input that happens to lie under
// the pointer must not change with it, nor quietly take the focus.
class WheelPassesUnfocusedInputs : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() != QEvent::Wheel && event->type() != QEvent::Polish) ||
            !TurnsWithTheWheel(watched)) {
            return false;
        }
        auto* input = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Polish) {
            if (input->focusPolicy() == Qt::WheelFocus) {
                input->setFocusPolicy(Qt::StrongFocus);
            }
            return false;
        }
        const QWidget* focused = QApplication::focusWidget();
        if (focused != nullptr && (focused == input || input->isAncestorOf(focused))) {
            return false;
        }
        // Refused unseen: Qt offers the wheel to the parents in turn, up to the scroll area.
        event->ignore();
        return true;
    }
};

// Writable for this user, and nameable through Qt, which writes the results file.
bool MayCreateFilesIn(const std::string& folder) {
    const std::string existing = folder.empty() ? "/" : folder;
    return ::access(existing.c_str(), W_OK | X_OK) == 0 &&
           QFile::encodeName(QFile::decodeName(existing.c_str())).toStdString() == existing;
}

}  // namespace

int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

std::string ApplicationFolder() {
    // Qt reports the folder as text, which loses the bytes of a name that is not UTF-8.
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return AppFolderFrom(
            QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    }
    return AppFolderFrom(executable.parent_path().native());
}

const std::string& ResultsFolder() {
    static const std::string folder = [] {
        const std::string program_folder = ApplicationFolder();
        return ResultsFolderFor(program_folder, MayCreateFilesIn(program_folder),
                                std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    }();
    return folder;
}

std::vector<QByteArray> ReadBuiltFaces(const QString& folder) {
    // A face is a few dozen kilobytes: a file far larger is none of ours and is not read.
    constexpr qint64 MaxFaceBytes = 4 * 1024 * 1024;
    std::vector<QByteArray> faces;
    const auto read = [&faces](QFile& file) {
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        if (file.size() > MaxFaceBytes) {
            qWarning("tarvex: %s is too large for a font face and is not loaded",
                     qPrintable(file.fileName()));
        } else {
            faces.push_back(file.read(MaxFaceBytes));
        }
        return true;
    };
    // Named rather than listed: matching a pattern against the folder costs more than reading
    // them.
    for (int strike = 1;; ++strike) {
        const QString name = QStringLiteral("%1/sans_serif_%2").arg(folder).arg(strike);
        QFile regular(name + QStringLiteral(".ttf"));
        if (!read(regular)) {
            return faces;
        }
        QFile bold(name + QStringLiteral("_bold.ttf"));
        read(bold);
    }
}

void LoadProgramFonts() {
    static const bool loaded = [] {
        bool any = false;
        for (const QByteArray& face :
             ReadBuiltFaces(QFile::decodeName(ApplicationFolder().c_str()))) {
            any = QFontDatabase::addApplicationFontFromData(face) >= 0 || any;
        }
        return any;
    }();
    (void)loaded;
}

QFont SansSerifFont(double points, bool bold) {
    if (std::optional<QFont> font = BitmapSansSerifFont(points, bold)) {
        return *font;
    }
    QFont font(FallbackSansFamily);
    font.setPixelSize(PointsToPixels(points));
    font.setBold(bold);
    return font;
}

QFont SerifFont(double points, bool bold) {
    QFont font(SerifFamilyName());
    font.setPixelSize(PointsToPixels(points));
    font.setBold(bold);
    return font;
}

void PressFocusedButtonsOnReturn() {
    if (qApp == nullptr) {
        return;
    }
    static ReturnPressesButton* const filter = [] {
        auto* created = new ReturnPressesButton(qApp);
        qApp->installEventFilter(created);
        return created;
    }();
    (void)filter;
}

void WheelTurnsFocusedInputsOnly() {
    if (qApp == nullptr) {
        return;
    }
    static WheelPassesUnfocusedInputs* const filter = [] {
        auto* created = new WheelPassesUnfocusedInputs(qApp);
        qApp->installEventFilter(created);
        return created;
    }();
    (void)filter;
}

bool LoadQtTranslation() {
    static QTranslator* const translator = [] {
        auto* loaded = new QTranslator(QCoreApplication::instance());
        if (!loaded->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            delete loaded;
            return static_cast<QTranslator*>(nullptr);
        }
        QCoreApplication::installTranslator(loaded);
        return loaded;
    }();
    return translator != nullptr;
}

void ShowInFront(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace tarvex

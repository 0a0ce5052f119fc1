#include "ui/window_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QWidget>
#include <cmath>
#include <optional>
#include <vector>

#include "conversions/app_folder.h"

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

// The faces of the bitmap sans that the build makes beside the program (tools/make_fonts.cpp): a
// regular and a bold one per strike, numbered from 1; none where fonts-wine was missing. Named
// rather than listed: matching a pattern against the folder costs more than reading them.
std::vector<QByteArray> ReadBuiltFaces(const QString& folder) {
    std::vector<QByteArray> faces;
    for (int strike = 1;; ++strike) {
        const QString name = QStringLiteral("%1/sans_serif_%2").arg(folder).arg(strike);
        QFile regular(name + QStringLiteral(".ttf"));
        if (!regular.open(QIODevice::ReadOnly)) {
            return faces;
        }
        faces.push_back(regular.readAll());
        QFile bold(name + QStringLiteral("_bold.ttf"));
        if (bold.open(QIODevice::ReadOnly)) {
            faces.push_back(bold.readAll());
        }
    }
}

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

}  // namespace

int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

std::string ApplicationFolder() {
    return AppFolderFrom(QCoreApplication::applicationDirPath().toStdString());
}

void LoadProgramFonts() {
    static const bool loaded = [] {
        bool any = false;
        for (const QByteArray& face : ReadBuiltFaces(QString::fromStdString(ApplicationFolder()))) {
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

void ShowInFront(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace tarvex

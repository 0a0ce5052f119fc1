#include "ui/window_support.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QWidget>
#include <cmath>

#include "conversions/app_folder.h"

namespace tarvex {
namespace {

// Debian's fonts-wine: the Cyrillic (code page 1251) strikes of MS Sans Serif.
const char* const SansSerifFile = "/usr/share/wine/fonts/sserifer.fon";
const char* const SansSerifFamily = "MS Sans Serif";
const char* const SerifFamily = "Times New Roman";

int PointsToPixels(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
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
    static const bool loaded = QFontDatabase::addApplicationFont(SansSerifFile) >= 0;
    (void)loaded;
}

QFont SansSerifFont(double points, bool bold) {
    QFont font(SansSerifFamily);
    font.setPixelSize(PointsToPixels(points));
    font.setBold(bold);
    if (QFontInfo(font).family() != SansSerifFamily) {
        font = QFont(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(PointsToPixels(points));
        font.setBold(bold);
    }
    return font;
}

QFont SerifFont(double points, bool bold) {
    QFont font(SerifFamily);
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

#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

class QWidget;

namespace tarvex {

// Design coordinates are twips: 15 to a pixel at 96 dots per inch (Qt scales logical pixels on
// high-density screens by itself).
inline constexpr int TwipsPerPixel = 15;
int TwipsToPixels(int twips);
QRect TwipsRect(int left, int top, int width, int height);

// The executable's folder by the program's rule (no trailing separator), in the file system's own
// bytes, which need not be UTF-8.
std::string ApplicationFolder();

// The folder of the results file, decided once for the program's whole run (ResultsFolderFor):
// the executable's folder when the program may create files there, else the user's data folder.
const std::string& ResultsFolder();

// The faces of the bitmap sans that the build makes beside the program (tools/make_fonts.cpp), in
// `folder`: sans_serif_<strike>.ttf and sans_serif_<strike>_bold.ttf for strikes numbered from 1,
// up to the first strike missing. A file over 4 MiB is no face of ours: it is left out with a
// warning naming it.
//   {sans_serif_1.ttf, sans_serif_1_bold.ttf, sans_serif_3.ttf} -> the first two
std::vector<QByteArray> ReadBuiltFaces(const QString& folder);

// Loads the program's fonts once, before the first window: the faces of the "MS Sans Serif" bitmap
// font (Cyrillic) that the build makes from fonts-wine, which the system's font configuration
// hides, in its three sizes and with a bold face drawn as Windows draws bold bitmap fonts. Where
// they are missing nothing is loaded, and SansSerifFont gives the scalable sans.
void LoadProgramFonts();

// "MS Sans Serif" at 8.25, 9.75 or 12 points (the bitmap strikes of 13, 16 and 20 pixels), or a
// scalable sans (Liberation Sans) where it is missing or the screen scales pixels (bitmap glyphs
// keep their size there).
QFont SansSerifFont(double points, bool bold);
// "Times New Roman" (served by Liberation Serif) at the given points.
QFont SerifFont(double points, bool bold);

// From the first call on, Return and Enter press the focused button of every window, as Space does
// (there is still no default button: elsewhere they belong to the focused control).
void PressFocusedButtonsOnReturn();

// From the first call on, the mouse wheel turns no combo box, spin box or slider of any window
// unless it has the keyboard focus: over one that has not, the wheel scrolls what holds it, as
// over a label. Such inputs no longer take the focus from the wheel either (Qt::StrongFocus).
void WheelTurnsFocusedInputsOnly();

// Installs Qt's own Russian translation (Debian's qt6-translations-l10n), once, so that Qt's
// dialogs (a file dialog's buttons and captions) speak the program's language whatever the process
// locale. False where the translation is not installed: those dialogs then stay in English.
bool LoadQtTranslation();

// Shows a window without a modal wait and brings it to the front.
void ShowInFront(QWidget& window);

}  // namespace tarvex

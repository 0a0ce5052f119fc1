#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <string>

class QWidget;

namespace tarvex {

// Design coordinates are twips: 15 to a pixel at 96 dots per inch (Qt scales logical pixels on
// high-density screens by itself).
inline constexpr int TwipsPerPixel = 15;
int TwipsToPixels(int twips);
QRect TwipsRect(int left, int top, int width, int height);

// The executable's folder by the program's rule (no trailing separator), as UTF-8.
std::string ApplicationFolder();

// Loads the bundled fonts once: the "MS Sans Serif" bitmap font (Cyrillic) from fonts-wine, which
// the system's font configuration hides.
void LoadProgramFonts();

// "MS Sans Serif" at 8.25, 9.75 or 12 points, or a scalable sans where it is missing.
QFont SansSerifFont(double points, bool bold);
// "Times New Roman" (served by Liberation Serif) at the given points.
QFont SerifFont(double points, bool bold);

// Shows a window without a modal wait and brings it to the front.
void ShowInFront(QWidget& window);

}  // namespace tarvex

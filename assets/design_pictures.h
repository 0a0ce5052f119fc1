#pragma once

#include <QImage>

// The two fixed pictures of the main window's design: a small satellite feed (LNB), gold-rimmed
// horn on the left, grey body on the right. Drawn in assets/design/*.svg and built into the
// program, so they never depend on files beside the executable.

namespace tarvex {

// 45 x 30 pixels, 24-bit (QImage::Format_RGB888): red arrow pointing down on the horn, black plus
// on the body. Shown under the vertical offset.
QImage Image3Picture();

// 45 x 30 pixels, 24-bit: red arrow pointing up on the horn, black minus on the body. Shown under
// the horizontal offset.
QImage Image2Picture();

}  // namespace tarvex

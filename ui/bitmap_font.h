#pragma once

#include <QByteArray>
#include <vector>

// TrueType fonts that hold only bitmap strikes (EBLC/EBDT tables), such as the "MS Sans Serif" of
// Debian's fonts-wine. Qt's font database registers only the first strike of such a file and
// never synthesises bold for bitmap glyphs; these functions give it one file per strike and a
// bold face of each.

namespace tarvex {

// One font file per strike, in the order of the strikes: each is the whole font with only that
// strike left in EBLC. Empty when `font` is not a TrueType font with bitmap strikes.
//   Wine's ms_sans_serif.ttf -> three fonts, of 13, 16 and 20 pixels
std::vector<QByteArray> SplitBitmapStrikes(const QByteArray& font);

// The first strike of `font` made bold the way Windows draws bitmap fonts in bold: each glyph is
// overstruck one pixel to the right, so it becomes one pixel wider and advances one pixel further.
// The result is the "Bold" style of the same family (weight 700). Empty when `font` is malformed
// or uses a bitmap format other than 1 bit per pixel in index formats 1 to 3 and image formats
// 1, 2 and 5 to 7.
//   "l" (1 x 9, advance 3) -> 2 x 9, advance 4;  a space (0 x 0, advance 3) -> advance 4
QByteArray EmboldenBitmapFont(const QByteArray& font);

}  // namespace tarvex

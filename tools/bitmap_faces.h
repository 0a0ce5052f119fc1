#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The faces the windows draw their sans with, made from a TrueType font that holds only bitmap
// strikes (EBLC/EBDT), such as the "MS Sans Serif" of Debian's fonts-wine. Qt's font database
// registers only the first strike of such a file and never synthesises bold for bitmap glyphs, so
// each strike becomes a font of its own, with a bold face beside it. FreeType reads the source
// font; only the writing of the new faces is done here. Free of Qt: a build step, never linked
// into the program.

namespace tarvex {

using FontBytes = std::vector<std::uint8_t>;

struct BitmapFace {
    std::string file_name;
    FontBytes data;
};

// Strike by strike, the strike alone as a font (every other table as in `font`), then the same
// made bold the way Windows draws bitmap fonts in bold: each glyph is overstruck one pixel to the
// right, so it becomes one pixel wider and advances one pixel further; the face is the "Bold"
// style of the same family, weight 700. Every face allows installable embedding (fsType 0), as
// the source's licence does. `stem` begins the file names.
//   Wine's ms_sans_serif.ttf, "sans_serif" -> sans_serif_1.ttf (13 pixels), sans_serif_1_bold.ttf,
//       sans_serif_2.ttf (16 pixels), sans_serif_2_bold.ttf, sans_serif_3.ttf (20 pixels),
//       sans_serif_3_bold.ttf
//   bold: "l" (1 x 9, advance 3) -> 2 x 9, advance 4;  a space (0 x 0, advance 3) -> advance 4
// Fails, returning nothing, where FreeType cannot open `font`, where it has no bitmap strikes or
// one that is not of 1 bit per pixel, or where a bold glyph would not fit the tables' byte-sized
// metrics.
std::vector<BitmapFace> MakeBitmapFaces(const FontBytes& font, const std::string& stem);

}  // namespace tarvex

#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// The faces of the bitmap sans the windows draw with, made from Debian's fonts-wine file: one
// font per strike and a bold one of each (see bitmap_font.h). Making them takes longer than the
// rest of the start-up, so the build makes them once, into files beside the program, and the
// program makes them itself only where those files are missing.

namespace tarvex {

// Set by the build (TARVEX_BITMAP_SANS_SOURCE): /usr/share/wine/fonts/ms_sans_serif.ttf.
inline constexpr const char* BitmapSansSourceFile = TARVEX_BITMAP_SANS_SOURCE;

struct FontFace {
    QString file_name;  // "sans_serif_1.ttf", "sans_serif_1_bold.ttf", ... by strike
    QByteArray data;
};

// Every face made from the fonts-wine file's content; empty when it is not such a font.
std::vector<FontFace> MakeProgramFonts(const QByteArray& bitmap_sans);

// The faces the build left in `folder`, in the order of their names; empty when there are none.
// A file larger than 4 MiB is no face of ours: it is left out with a warning naming it.
std::vector<QByteArray> ReadPrebuiltFonts(const QString& folder);

}  // namespace tarvex

// Build step: makes the program's bitmap sans faces from the fonts-wine file into a folder.
//   tarvex_make_fonts /usr/share/wine/fonts/ms_sans_serif.ttf build/
// Exits 0 having written them, 1 when the source cannot be read or is no such font.

#include <QDir>
#include <QFile>
#include <cstdio>

#include "ui/program_fonts.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tarvex_make_fonts <ms_sans_serif.ttf> <folder>\n");
        return 2;
    }
    QFile source(QFile::decodeName(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const std::vector<tarvex::FontFace> faces = tarvex::MakeProgramFonts(source.readAll());
    if (faces.empty()) {
        std::fprintf(stderr, "%s holds no bitmap strikes\n", argv[1]);
        return 1;
    }
    const QDir folder(QFile::decodeName(argv[2]));
    for (const tarvex::FontFace& face : faces) {
        QFile file(folder.filePath(face.file_name));
        if (!file.open(QIODevice::WriteOnly) || file.write(face.data) != face.data.size() ||
            !file.flush()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}

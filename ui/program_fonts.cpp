#include "ui/program_fonts.h"

#include <QDir>
#include <QFile>

#include "ui/bitmap_font.h"

namespace tarvex {
namespace {

const char* const FacePattern = "sans_serif_*.ttf";

}  // namespace

std::vector<FontFace> MakeProgramFonts(const QByteArray& bitmap_sans) {
    std::vector<FontFace> faces;
    int number = 0;
    for (const QByteArray& strike : SplitBitmapStrikes(bitmap_sans)) {
        const QString name = QStringLiteral("sans_serif_%1").arg(++number);
        faces.push_back({name + QStringLiteral(".ttf"), strike});
        QByteArray bold = EmboldenBitmapFont(strike);
        if (!bold.isEmpty()) {
            faces.push_back({name + QStringLiteral("_bold.ttf"), std::move(bold)});
        }
    }
    return faces;
}

std::vector<QByteArray> ReadPrebuiltFonts(const QString& folder) {
    std::vector<QByteArray> faces;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QString::fromUtf8(FacePattern)},
                                             QDir::Files | QDir::Readable, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            faces.push_back(file.readAll());
        }
    }
    return faces;
}

}  // namespace tarvex

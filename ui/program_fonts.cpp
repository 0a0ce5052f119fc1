#include "ui/program_fonts.h"

#include <QDir>
#include <QFile>

#include "ui/bitmap_font.h"

namespace tarvex {
namespace {

const char* const FacePattern = "sans_serif_*.ttf";
// The faces are a few dozen kilobytes; anything far larger is not one of them.
constexpr qint64 MaxFaceBytes = 4 * 1024 * 1024;

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
        if (file.size() > MaxFaceBytes) {
            qWarning("tarvex: %s is too large for a font face and is not loaded",
                     qPrintable(file.fileName()));
        } else if (file.open(QIODevice::ReadOnly)) {
            faces.push_back(file.read(MaxFaceBytes));
        }
    }
    return faces;
}

}  // namespace tarvex

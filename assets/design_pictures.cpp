#include "assets/design_pictures.h"

#include <QImageReader>
#include <QString>

namespace tarvex {
namespace {

QImage BuiltInPicture(const char* name) {
    // Qt's own BMP reader, without guessing: a guess asks every image format plug-in, loading
    // each with its libraries, which costs more than the rest of the start-up's drawing.
    QImageReader reader(QStringLiteral(":/design/%1.bmp").arg(QLatin1String(name)), "BMP");
    reader.setAutoDetectImageFormat(false);
    return reader.read().convertToFormat(QImage::Format_RGB888);
}

}  // namespace

QImage Image3Picture() {
    return BuiltInPicture("Image3");
}

QImage Image2Picture() {
    return BuiltInPicture("Image2");
}

}  // namespace tarvex

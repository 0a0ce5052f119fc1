#include "assets/design_pictures.h"

#include <QString>

namespace tarvex {
namespace {

QImage BuiltInPicture(const char* name) {
    return QImage(QStringLiteral(":/design/%1.bmp").arg(QLatin1String(name)))
        .convertToFormat(QImage::Format_RGB888);
}

}  // namespace

QImage Image3Picture() {
    return BuiltInPicture("Image3");
}

QImage Image2Picture() {
    return BuiltInPicture("Image2");
}

}  // namespace tarvex

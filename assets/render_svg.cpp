// Build-time tool: renders one of the program's SVG drawings into the Windows bitmap the program
// reads (24 bits per pixel, as the picture box expects), or into a PNG for looking at it.
//
//   tarvex_render_svg <drawing.svg> <picture.BMP|picture.png>
//
// The picture takes the drawing's own width and height; the drawing is laid on white.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <cstdio>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "tarvex_render_svg: %s\n", qPrintable(message));
    return 1;
}

QImage Render(QSvgRenderer& renderer) {
    QImage image(renderer.defaultSize(), QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter);
    painter.end();
    return image;
}

// The bit count of a written bitmap, read back from its information header.
int BitmapBitCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray header = file.read(30);
    if (header.size() < 30 || !header.startsWith("BM")) {
        return -1;
    }
    return qFromLittleEndian<quint16>(header.constData() + 28);
}

// The offscreen platform complains about a missing runtime folder that this tool never uses;
// every other message goes through.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("XDG_RUNTIME_DIR"))) {
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

bool IsBitmapName(const QString& path) {
    return QFileInfo(path).suffix().compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Text in the drawings needs the font database, but no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 3) {
        return Fail(QStringLiteral("usage: tarvex_render_svg <drawing.svg> <picture.BMP|.png>"));
    }
    const QString& source = arguments.at(1);
    const QString& target = arguments.at(2);

    QSvgRenderer renderer(source);
    if (!renderer.isValid() || renderer.defaultSize().isEmpty()) {
        return Fail(QStringLiteral("cannot read the drawing %1").arg(source));
    }
    const QImage image = Render(renderer);
    const bool bitmap = IsBitmapName(target);
    if (!image.save(target, bitmap ? "BMP" : nullptr)) {
        return Fail(QStringLiteral("cannot write %1").arg(target));
    }
    if (bitmap && BitmapBitCount(target) != 24) {
        QFile::remove(target);
        return Fail(QStringLiteral("%1 was not written with 24 bits per pixel").arg(target));
    }
    return 0;
}

// The start-up baseline: a bare Qt program showing one window with as many labels, fields and
// buttons as the main window (seventeen captions and two pictures, sixteen fields, four buttons),
// each with a text, in a window of the main window's size. No fonts of its own, no other windows.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace {

constexpr int LabelCount = 19;
constexpr int FieldCount = 16;
constexpr int ButtonCount = 4;

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(445, 462);
    for (int index = 0; index < LabelCount; ++index) {
        auto* label = new QLabel(QStringLiteral("Label %1").arg(index), &window);
        label->setGeometry(8, 8 + index * 22, 140, 20);
    }
    for (int index = 0; index < FieldCount; ++index) {
        auto* field = new QLineEdit(QStringLiteral("%1").arg(index), &window);
        field->setGeometry(160, 8 + index * 26, 120, 22);
    }
    for (int index = 0; index < ButtonCount; ++index) {
        auto* button = new QPushButton(QStringLiteral("Button %1").arg(index), &window);
        button->setGeometry(300, 8 + index * 32, 120, 28);
    }
    window.show();
    return QApplication::exec();
}

// A user's first START, played inside the unchanged packaged program. The program has no hook of
// its own, so this is a Qt generic plugin, loaded the way Qt loads any such plugin
// (QT_PLUGIN_PATH=<folder holding generic/>, QT_QPA_GENERIC_PLUGINS=tarvexstartdriver). Once the
// windows are up it types the worked example into the main window, presses START, opens the
// direction window and presses its START. The program then ends with status 0 when the main
// window shows the example's results, the direction window drew its compass and no message box
// appeared; else with 1, each fault on standard error. A run that hangs ends with 3.

#include <QApplication>
#include <QGenericPlugin>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstdio>

#include "tests/support/worked_example.h"

namespace tarvex {
namespace {

// The shown window holding a control of that name ("Gprog": the main window).
QWidget* WindowWith(const QString& control) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->findChild<QWidget*>(control) != nullptr) {
            return window;
        }
    }
    return nullptr;
}

class StartDriver : public QObject {
  public:
    StartDriver() {
        QTimer::singleShot(0, this, &StartDriver::Run);
        // A message box waits for the user: note it and close it, so that the run goes on.
        auto* boxes = new QTimer(this);
        connect(boxes, &QTimer::timeout, this, &StartDriver::CloseMessageBox);
        boxes->start(50);
        QTimer::singleShot(30'000, this, [] { QCoreApplication::exit(3); });
    }

  private:
    void Fail(const QString& what) {
        std::fprintf(stderr, "%s\n", qPrintable(what));
        m_failed = true;
    }

    void CloseMessageBox() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            Fail("message box: " + box->text());
            box->done(QMessageBox::Ok);
        }
    }

    void Run() { QCoreApplication::exit(RunStarts() && !m_failed ? 0 : 1); }

    // False when a window or control is missing; other faults go through Fail.
    bool RunStarts() {
        QWidget* main_window = WindowWith("Gprog");
        if (main_window == nullptr) {
            Fail("no main window");
            return false;
        }
        for (const auto& [field, text] : ExampleTyped) {
            auto* edit = main_window->findChild<QLineEdit*>(SpecOf(field).design_name);
            edit->selectAll();
            QTest::keyClicks(edit, text);
        }
        QTest::mouseClick(main_window->findChild<QPushButton*>("Gprog"), Qt::LeftButton);
        for (const auto& [field, text] : ExampleResults) {
            const QString shown =
                main_window->findChild<QLineEdit*>(SpecOf(field).design_name)->text();
            if (shown != QString::fromUtf8(text)) {
                Fail(QString("%1 shows '%2'").arg(SpecOf(field).design_name, shown));
            }
        }
        QTest::mouseClick(main_window->findChild<QPushButton*>("NAPR"), Qt::LeftButton);
        QWidget* direction = WindowWith("POZIA");
        if (direction == nullptr) {
            Fail("no direction window");
            return false;
        }
        const QImage blank = direction->grab().toImage();
        QTest::mouseClick(direction->findChild<QPushButton*>("START"), Qt::LeftButton);
        if (direction->grab().toImage() == blank) {
            Fail("the direction window drew nothing");
        }
        return true;
    }

    bool m_failed = false;
};

}  // namespace

class StartDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "start_driver.json")

  public:
    // Qt keeps the object and deletes it with the application.
    QObject* create(const QString& /*key*/, const QString& /*parameters*/) override {
        return new StartDriver;
    }
};

}  // namespace tarvex

#include "start_driver.moc"

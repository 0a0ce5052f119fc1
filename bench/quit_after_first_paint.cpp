// Linked into a program beside its own main(): as soon as the application object exists, an
// event filter waits for the first paint of the window whose class is
// TARVEX_FIRST_PAINTED_WINDOW and ends the event loop once that paint is done. The program's own
// start-up code runs unchanged. A window that is never painted ends the program with status 3
// instead of leaving the benchmark waiting.

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>
#include <cstring>

namespace {

class QuitAfterFirstPaint : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow() &&
            std::strcmp(watched->metaObject()->className(), TARVEX_FIRST_PAINTED_WINDOW) == 0) {
            QCoreApplication::instance()->removeEventFilter(this);
            // Queued: the paint itself and the flush of the backing store run first.
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        }
        return false;
    }
};

void InstallQuitAfterFirstPaint() {
    QCoreApplication* application = QCoreApplication::instance();
    application->installEventFilter(new QuitAfterFirstPaint(application));
    QTimer::singleShot(30'000, application, [] { QCoreApplication::exit(3); });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallQuitAfterFirstPaint)

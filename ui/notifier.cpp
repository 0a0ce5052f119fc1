#include "ui/notifier.h"

#include <QApplication>
#include <QMessageBox>

namespace tarvex {
namespace {

class MessageBoxNotifier : public Notifier {
  public:
    void ShowMessage(const QString& text) override {
        QMessageBox::information(QApplication::activeWindow(), ApplicationTitle, text);
    }
    void ShowError(const QString& text) override {
        QMessageBox::critical(QApplication::activeWindow(), ApplicationTitle, text);
    }
};

MessageBoxNotifier g_message_boxes;
Notifier* g_current = &g_message_boxes;

}  // namespace

Notifier& CurrentNotifier() {
    return *g_current;
}

ScopedNotifier::ScopedNotifier(Notifier& notifier) : m_previous(g_current) {
    g_current = &notifier;
}

ScopedNotifier::~ScopedNotifier() {
    g_current = m_previous;
}

}  // namespace tarvex

#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "ui/notifier.h"

namespace tarvex {

// Stands in for the message boxes, which would wait for a click: keeps every text, and lets a
// test act where the error box would run its own event loop.
class RecordingNotifier : public Notifier {
  public:
    void ShowMessage(const QString& text) override { messages << text; }
    void ShowError(const QString& text) override {
        errors << text;
        if (on_error) {
            on_error();
        }
    }

    QStringList messages;
    QStringList errors;
    std::function<void()> on_error;
};

}  // namespace tarvex

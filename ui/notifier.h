#pragma once

#include <QString>

namespace tarvex {

// Every message box of the program goes through the current notifier, so that tests can answer
// them without a modal wait.
class Notifier {
  public:
    virtual ~Notifier() = default;
    // A modal box with an OK button, captioned with the application's title.
    virtual void ShowMessage(const QString& text) = 0;
    // The same with an error icon, for run-time errors.
    virtual void ShowError(const QString& text) = 0;
};

// The notifier in use: modal QMessageBoxes unless a test has installed its own.
Notifier& CurrentNotifier();

// Installs `notifier` for the lifetime of this object, then restores the previous one.
class ScopedNotifier {
  public:
    explicit ScopedNotifier(Notifier& notifier);
    ~ScopedNotifier();
    ScopedNotifier(const ScopedNotifier&) = delete;
    ScopedNotifier& operator=(const ScopedNotifier&) = delete;

  private:
    Notifier* m_previous;
};

// The application's title, the caption of every message box.
inline const char* const ApplicationTitle = "Tarvex";

}  // namespace tarvex

#pragma once

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "main_window/mtarv.h"
#include "tests/support/worked_example.h"

namespace tarvex {

template <typename Control = QPushButton>
Control& Find(const QWidget& window, const QString& name) {
    auto* control = window.findChild<Control*>(name);
    if (control == nullptr) {
        qFatal("no control %s in %s", qPrintable(name), qPrintable(window.windowTitle()));
    }
    return *control;
}

inline void Click(const QWidget& window, const QString& button) {
    QTest::mouseClick(&Find(window, button), Qt::LeftButton);
}

inline bool Shown(const QWidget* window) {
    return window != nullptr && window->isVisible();
}

// Replaces a field's text as a user does: everything selected, then typed over.
inline void TypeInto(QLineEdit& field, const QString& text) {
    field.selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(&field, Qt::Key_Delete);
    }
    QTest::keyClicks(&field, text);
}

inline void TypeExample(const MTARV& window) {
    for (const FieldSpec& field : Fields) {
        if (field.option != nullptr) {
            TypeInto(window.Field(field.id), QString::fromUtf8(ExampleText(field.id)));
        }
    }
}

inline void ExpectExampleResults(const MTARV& window, const QString& results_path) {
    for (const auto& [field, text] : ExampleResults) {
        QCOMPARE(window.Field(field).text(), QString::fromUtf8(text));
    }
    QFile file(results_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toStdString(), ExampleResultsLine);
}

// Runs the application's event loop with `action` as its first event; a program that does not
// end within ten seconds fails with 99. Afterwards no window may be left shown.
template <typename Action>
int RunProgram(QObject* context, Action action) {
    QTimer::singleShot(0, context, action);
    QTimer timeout;
    QObject::connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    timeout.start(10000);
    const int status = QCoreApplication::exec();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            qWarning("still shown: %s", qPrintable(window->windowTitle()));
            return -1;
        }
    }
    return status;
}

}  // namespace tarvex

#pragma once

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "main_window/mtarv.h"

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

struct FieldText {
    FieldId field;
    const char* text;
};

// The worked example: the site (the window's default one), the satellites and the dish, and
// what START shows and writes for them.
inline const FieldText ExampleInputs[] = {
    {FieldId::Text1, "35"},   {FieldId::Text2, "27.69"}, {FieldId::Text3, "32"},
    {FieldId::Text4, "48.5"}, {FieldId::Text5, "13"},    {FieldId::Text6, ""},
    {FieldId::Text9, "19"},   {FieldId::Text10, "12"},   {FieldId::Text13, "600"}};
inline const FieldText ExampleResults[] = {{FieldId::Text8, " 217.344291652777"},
                                           {FieldId::Text16, " + 23.5"},
                                           {FieldId::Text12, " 208.2955"},
                                           {FieldId::Text14, " 33.2649мм-->НИЖЕ"},
                                           {FieldId::Text15, " 94.3645мм-->СПРАВА"},
                                           {FieldId::Text7, " 44.8168471212995"},
                                           {FieldId::Text11, " 47.99485"}};

inline void TypeExample(const MTARV& window) {
    for (const auto& [field, text] : ExampleInputs) {
        TypeInto(window.Field(field), QString::fromUtf8(text));
    }
}

inline void ExpectExampleResults(const MTARV& window, const QString& results_path) {
    for (const auto& [field, text] : ExampleResults) {
        QCOMPARE(window.Field(field).text(), QString::fromUtf8(text));
    }
    QFile file(results_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("217.344291652777,44.8168471212995\r\n"));
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

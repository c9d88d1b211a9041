#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Acts on the next modal dialog once it is up (call before the action that
// opens it: the dialog's own event loop runs the check).
inline void alAparecer(std::function<void(QWidget*)> accion) {
    auto* t = new QTimer;
    t->setInterval(10);
    QObject::connect(t, &QTimer::timeout, [t, accion] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            t->stop();
            t->deleteLater();
            accion(w);
        }
    });
    t->start();
}

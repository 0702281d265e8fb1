#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Acts on the next shown widget of type T that `find` returns (the active modal dialog, the
// open popup menu) from inside its exec(), so a test can answer what would otherwise block.
// Fails the test if none appears within 5 seconds.
template <typename T> void OnNextShown(QWidget* (*find)(), std::function<void(T*)> act) {
    auto* poll = new QTimer;
    auto* waited = new QElapsedTimer;
    waited->start();
    QObject::connect(poll, &QTimer::timeout, [poll, waited, find, act] {
        T* widget = qobject_cast<T*>(find());
        const bool found = widget && widget->isVisible();
        if (!found && waited->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        delete waited;
        if (found)
            act(widget);
        else
            ADD_FAILURE() << "no widget of the expected type appeared";
    });
    poll->start(5);
}

template <typename T> void OnNextModal(std::function<void(T*)> act) {
    OnNextShown<T>(&QApplication::activeModalWidget, std::move(act));
}

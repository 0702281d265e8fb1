#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Acts on the next modal dialog of type T from inside its exec(), once it is shown, so a test can
// answer a dialog that would otherwise block. Fails the test if none appears within 5 seconds.
template <typename T> void OnNextModal(std::function<void(T*)> act) {
    auto* poll = new QTimer;
    auto* waited = new QElapsedTimer;
    waited->start();
    QObject::connect(poll, &QTimer::timeout, [poll, waited, act] {
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        const bool found = dialog && dialog->isVisible();
        if (!found && waited->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        delete waited;
        if (found)
            act(dialog);
        else
            ADD_FAILURE() << "no modal dialog of the expected type appeared";
    });
    poll->start(5);
}

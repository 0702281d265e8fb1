#pragma once

#include "view/IFrameServices.h"

#include <QWidget>

// A main frame for view tests: a plain top-level widget that holds the view, and records what
// the view asks of its frame.
class FakeFrame : public IFrameServices {
public:
    bool IsFullScreen() const override { return fullScreen; }
    void ToggleFullScreen() override { fullScreen = !fullScreen; }
    void SetDocumentTitle(const QString& title) override { documentTitle = title; }
    void SetPlaybackActive(bool active) override { playbackActive = active; }
    void PostClose() override { ++closeRequests; }
    QWidget* FrameWindow() override { return &window; }

    QWidget window;
    bool fullScreen = false;
    QString documentTitle = QStringLiteral("(unset)");
    bool playbackActive = false;
    int closeRequests = 0;
};

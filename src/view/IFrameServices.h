#pragma once

#include <QString>

class QWidget;

// What the view asks of its main frame.
class IFrameServices {
public:
    virtual ~IFrameServices() = default;
    virtual bool IsFullScreen() const = 0;
    virtual void ToggleFullScreen() = 0;
    // The caption becomes "<title> - Ravolo", or "Ravolo" for an empty title.
    virtual void SetDocumentTitle(const QString& title) = 0;
    // Mirrors the view's playing flag for the close, session and screen-saver guards.
    virtual void SetPlaybackActive(bool active) = 0;
    // Posts a close request to the main window (handled after the current event).
    virtual void PostClose() = 0;
    // The top-level window that owns the pad and the dialogs.
    virtual QWidget* FrameWindow() = 0;
};

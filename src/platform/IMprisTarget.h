#pragma once

#include <QString>

// What the desktop's media controls may reach of the program. Requests arrive as the media keys
// they stand for, so each goes through the key's own command handler and guard: a remote request
// can do nothing a key could not.
class IMprisTarget {
public:
    virtual ~IMprisTarget() = default;

    // One of Qt::Key_MediaTogglePlayPause, Key_MediaStop, Key_MediaNext, Key_MediaPrevious.
    virtual void PerformMediaKey(int qtKey) = 0;
    // "Playing", "Paused" or "Stopped" (no file playing).
    virtual QString PlaybackStatus() const = 0;
    // The playing file's name, empty when none plays.
    virtual QString PlayingTitle() const = 0;
    virtual void Raise() = 0;
};

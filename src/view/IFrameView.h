#pragma once

// What the main frame asks of its view.
class IFrameView {
public:
    virtual ~IFrameView() = default;
    // A file plays, or its stop still waits for MPlayer's position answer.
    virtual bool HasPlaybackToFinish() const = 0;
    // While playing: stop with the position stored and close once the stop completes; while a
    // stop waits: close once it completes.
    virtual void StopForShutdown() = 0;
    virtual void SaveViewState() = 0;
};

#pragma once

// What the main frame asks of its view.
class IFrameView {
public:
    virtual ~IFrameView() = default;
    virtual bool IsPlaying() const = 0;
    // While playing: stop with the position stored and close once the stop completes.
    virtual void StopForShutdown() = 0;
    virtual void SaveViewState() = 0;
};

#pragma once

#include "app/CMainFrame.h"
#include "view/IFrameView.h"

// A view that stops like the real one: the playing flag drops at once, and the close is posted
// when MPlayer's position answer comes (CompleteStop).
class FakeView : public IFrameView {
public:
    explicit FakeView(CMainFrame& frame) : m_Frame(frame) {}
    bool HasPlaybackToFinish() const override { return playing || stopWaits; }
    void StopForShutdown() override {
        ++stopsForShutdown;
        playing = false;
        if (clearsPlaybackFlag)
            m_Frame.SetPlaybackActive(false);
    }
    void SaveViewState() override { ++viewStateSaves; }
    void CompleteStop() { m_Frame.PostClose(); }

    bool playing = false;
    bool stopWaits = false; // a stop the user asked for still waits for the position
    bool clearsPlaybackFlag = true;
    int stopsForShutdown = 0;
    int viewStateSaves = 0;

private:
    CMainFrame& m_Frame;
};

#pragma once

// What a playback session asks of the view around it.
class IPlaybackHost {
public:
    virtual ~IPlaybackHost() = default;
    virtual void HideLists() = 0;
    virtual void ShowListScreen() = 0;
    // Repaints the whole view in the colour key (and the logo for an audio file).
    virtual void RepaintView() = 0;
    // Continuous mode after the end of a file: the folder screen with the next file started.
    virtual void PlayNextInFolder() = 0;
    // Writes the resume list and the current folder now, so a crash loses nothing.
    virtual void SaveResumeState() = 0;
    // MPlayer died: start it again, with the wait dialog.
    virtual void RestartPlayer() = 0;
};

#pragma once

// The view's handlers of the menu, key, pad and button commands, one per row of the command
// table. Each gets the command id; the table has already decided that it runs.
class ICommandHandlers {
public:
    virtual ~ICommandHandlers() = default;
    virtual void OnFullScreen(int id) = 0;
    virtual void OnPlayerPath(int id) = 0;
    virtual void OnPlay(int id) = 0;
    virtual void OnStop(int id) = 0;
    virtual void OnSettings(int id) = 0;
    virtual void OnFolderUp(int id) = 0;
    virtual void OnFolderTop(int id) = 0;
    virtual void OnResumeDelete(int id) = 0;
    virtual void OnSwitchScreenCarry(int id) = 0;
    virtual void OnSwitchScreen(int id) = 0;
    virtual void OnExit(int id) = 0;
    virtual void OnContinuousMode(int id) = 0;
    virtual void OnSkipBack(int id) = 0;
    virtual void OnAbout(int id) = 0;
    virtual void OnTransport(int id) = 0;
};

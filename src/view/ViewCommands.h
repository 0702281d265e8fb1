#pragma once

#include "view/ICommandHandlers.h"
#include "view/InputMap.h"

#include <QStringList>
#include <functional>
#include <memory>

class CMPlayerEngine;
class FolderScreen;
class IFrameServices;
class IFrameView;
class IPlaybackHost;
class IViewShell;
class PlaybackSession;
class PlayerSupervisor;
class QMenu;
class QWidget;
class ResumeScreen;
class Transport;
class WriteFailureNotice;
struct ViewServices;
struct ViewSettings;
struct ViewState;

// Runs the menu, key, pad and button commands through the command table, with their handlers,
// and what comes from outside the window: the desktop's media controls and handed-over paths.
class ViewCommands : private ICommandHandlers {
public:
    struct Parts {
        ViewSettings& settings;
        ViewState& state;
        const ViewServices& services;
        IFrameServices& frame;
        CMPlayerEngine& engine;
        WriteFailureNotice& writes;
        PlaybackSession& session;
        Transport& transport;
        FolderScreen& folder;
        ResumeScreen& resume;
        PlayerSupervisor& supervisor;
        IViewShell& shell;
        IPlaybackHost& host;
        IFrameView& frameView;
        QWidget& view; // gets the pad sizes tried in the settings dialog
    };
    explicit ViewCommands(const Parts& parts) : m_Parts(parts) {}

    void OnCommand(int id);
    void Perform(const InputAction& action);
    // A command that waited for a stop runs once the session is idle again.
    void RunWaitingCommand();
    void PlaySelectedItem();
    // The menu of the screen shown, its items checked and greyed for now.
    std::unique_ptr<QMenu> BuildMenu(QWidget* parent);

    // The desktop's media controls arrive as the media keys they stand for.
    void PerformMediaKey(int qtKey);
    void OpenPaths(const QStringList& paths);
    // A handed-over file, once MPlayer is ready and no dialog waits.
    void PlayPendingFile();

    // The user asked for full screen (Ctrl+F, Alt+Enter), as against a full screen of the desktop.
    bool IsUserFullScreen() const { return m_bFullScreen; }

private:
    void RunCommand(int id);
    void ApplySettingsDialog();
    // ICommandHandlers
    void OnFullScreen(int id) override;
    void OnPlayerPath(int id) override;
    void OnPlay(int id) override;
    void OnStop(int id) override;
    void OnSettings(int id) override;
    void OnFolderUp(int id) override;
    void OnFolderTop(int id) override;
    void OnResumeDelete(int id) override;
    void OnSwitchScreenCarry(int id) override;
    void OnSwitchScreen(int id) override;
    void OnExit(int id) override;
    void OnContinuousMode(int id) override;
    void OnSkipBack(int id) override;
    void OnAbout(int id) override;
    void OnTransport(int id) override;

    Parts m_Parts;
    // A command given while a stop waits for MPlayer's answer; it runs once the stop has ended.
    std::function<void()> m_WaitingCommand;
    bool m_bFullScreen = false; // the user's own full-screen choice
};

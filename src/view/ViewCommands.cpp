#include "view/ViewCommands.h"

#include "dialogs/CAboutDlg.h"
#include "dialogs/CSettingDlg.h"
#include "engine/CMPlayerEngine.h"
#include "platform/IBeeper.h"
#include "resources/CommandIds.h"
#include "settings/ProgramVersion.h"
#include "settings/SettingsStore.h"
#include "settings/ViewSettings.h"
#include "view/CommandTable.h"
#include "view/FolderScreen.h"
#include "view/IFrameServices.h"
#include "view/IFrameView.h"
#include "view/IPlaybackHost.h"
#include "view/IViewShell.h"
#include "view/PathParts.h"
#include "view/PlaybackSession.h"
#include "view/PlayerSupervisor.h"
#include "view/ResumeScreen.h"
#include "view/Transport.h"
#include "view/ViewMenus.h"
#include "view/ViewServices.h"
#include "view/ViewState.h"
#include "view/WriteFailureNotice.h"

#include <QApplication>
#include <QFileInfo>
#include <utility>

namespace {

// A modal dialog waits on the person, and its answer is for the state it was asked in: nothing
// from outside (the desktop's media controls, a handed-over path) acts behind it.
bool HeldByDialog() {
    return QApplication::activeModalWidget() != nullptr;
}

} // namespace

void ViewCommands::OnCommand(int id) {
    const QString folderBefore = m_Parts.settings.m_strCurrentFolder;
    RunCommand(id);
    // Kept on disk as it changes, so that a killed program reopens the folder it showed.
    if (m_Parts.settings.m_strCurrentFolder != folderBefore)
        m_Parts.frameView.SaveViewState();
}

void ViewCommands::RunCommand(int id) {
    const CommandRow* row = CommandTable::Find(id);
    if (row == nullptr)
        return;
    switch (row->In(m_Parts.session.State())) {
    case Gate::Runs:
        (static_cast<ICommandHandlers&>(*this).*(row->handler))(id);
        break;
    case Gate::Waits:
        // One waits at a time: the last one asked for is what the user wants.
        m_WaitingCommand = [this, id] { OnCommand(id); };
        break;
    case Gate::Refused:
        break;
    }
}

void ViewCommands::RunWaitingCommand() {
    if (!m_WaitingCommand || m_Parts.session.State() != SessionState::Idle)
        return;
    const std::function<void()> command = std::exchange(m_WaitingCommand, nullptr);
    // A stop to close ends with the window; nothing else is started.
    if (!m_Parts.session.IsClosing())
        command();
}

void ViewCommands::Perform(const InputAction& action) {
    IFrameServices& frame = m_Parts.frame;
    switch (action.action) {
    case ViewAction::None:
        break;
    case ViewAction::Command:
        OnCommand(action.command);
        break;
    case ViewAction::SpeedStepDown:
        if (m_Parts.session.IsPlaying())
            m_Parts.transport.SpeedStepDown();
        break;
    case ViewAction::SpeedStepUp:
        if (m_Parts.session.IsPlaying())
            m_Parts.transport.SpeedStepUp();
        break;
    case ViewAction::LeaveFullScreenIfNotUser:
        if (frame.IsFullScreen() && !m_bFullScreen)
            frame.ToggleFullScreen();
        break;
    case ViewAction::AltEnter:
        if (!frame.IsFullScreen()) {
            frame.ToggleFullScreen();
            m_bFullScreen = true;
        } else {
            m_bFullScreen = false;
        }
        break;
    case ViewAction::PostKeyToList:
        m_Parts.shell.PostKeyToList(action.key);
        break;
    case ViewAction::HidePad:
        m_Parts.shell.HidePad();
        break;
    case ViewAction::StopForShutdown:
        if (m_Parts.session.IsPlaying())
            m_Parts.frameView.StopForShutdown();
        else
            frame.PostClose();
        break;
    }
}

// ---- the desktop's media controls and the command line -------------------------------------

void ViewCommands::PerformMediaKey(int qtKey) {
    if (HeldByDialog())
        return;
    const ViewState& state = m_Parts.state;
    Perform(InputMap::KeyActionFor(
                qtKey, Qt::NoModifier, false,
                InputMap::ScreenFor(m_Parts.session.IsPlaying(), state.m_bResumeScreen))
                .action);
}

void ViewCommands::OpenPaths(const QStringList& paths) {
    ViewState& state = m_Parts.state;
    // Like a key, a hand-over never interrupts a playing file, nor acts behind a dialog, and
    // waits for a stop to end.
    if (paths.isEmpty() || m_Parts.session.IsPlaying() || HeldByDialog())
        return;
    if (m_Parts.session.Stopping()) {
        m_WaitingCommand = [this, paths] { OpenPaths(paths); };
        return;
    }
    const QFileInfo target(paths.first());
    const QString path = target.absoluteFilePath();
    const bool folder = target.isDir();
    state.m_bResumeScreen = false;
    state.m_CurrentItem = MediaItem();
    m_Parts.settings.m_strCurrentFolder = folder ? path : PathParts::FolderOf(path);
    if (!folder)
        state.m_CurrentItem.path = path;
    m_Parts.host.ShowListScreen();
    if (folder)
        return;
    m_Parts.supervisor.HoldPendingPlay(path);
    PlayPendingFile();
}

void ViewCommands::PlayPendingFile() {
    if (HeldByDialog())
        return;
    const QString file = m_Parts.supervisor.TakeReadyPendingPlay();
    if (file.isEmpty())
        return;
    // Only the file itself, listed as media on the folder screen, is played.
    const MediaItem* selected = m_Parts.folder.SelectedItem();
    if (m_Parts.session.State() == SessionState::Idle && !m_Parts.state.m_bResumeScreen &&
        selected != nullptr && selected->path == file)
        PlaySelectedItem();
}

void ViewCommands::PlaySelectedItem() {
    if (m_Parts.state.m_bResumeScreen)
        m_Parts.resume.PlaySelected(m_Parts.session, m_Parts.services.beeper);
    else
        m_Parts.folder.PlaySelected(m_Parts.session, m_Parts.services.beeper);
}

std::unique_ptr<QMenu> ViewCommands::BuildMenu(QWidget* parent) {
    const ViewState& state = m_Parts.state;
    const int menuId = m_Parts.session.IsPlaying() ? IDR_MENU_PLAYBACK
                       : state.m_bResumeScreen     ? IDR_MENU_RESUME
                                                   : IDR_MENU_FOLDER;
    std::unique_ptr<QMenu> menu = ViewMenus::Build(menuId, parent);
    ViewMenus::MenuState rules;
    rules.resumeScreen = state.m_bResumeScreen;
    rules.fullScreen = m_Parts.frame.IsFullScreen();
    rules.continuousMode = m_Parts.settings.m_bContinuousMode;
    rules.atDriveLevel = m_Parts.folder.AtDriveLevel();
    rules.level = m_Parts.transport.SpeedMode();
    rules.selected =
        state.m_bResumeScreen ? m_Parts.resume.SelectedEntry() : m_Parts.folder.SelectedItem();
    ViewMenus::ApplyRules(*menu, rules);
    return menu;
}

void ViewCommands::ApplySettingsDialog() {
    ViewSettings& settings = m_Parts.settings;
    CSettingDlg dlg(m_Parts.services.prompter, &m_Parts.view, m_Parts.frame.FrameWindow());
    dlg.values = settings;
    const int rememberedPadSize = settings.m_nPadSize;
    if (dlg.exec() == QDialog::Accepted) {
        // The folder and the continuous mode are not the dialog's: keep what they are now.
        dlg.values.m_strCurrentFolder = settings.m_strCurrentFolder;
        dlg.values.m_bContinuousMode = settings.m_bContinuousMode;
        settings = dlg.values;
        m_Parts.engine.SetPrepCycleTime(settings.mplayerPrepCycleTime);
        m_Parts.writes.Report(m_Parts.services.settings.WriteDialogSettings(settings));
        m_Parts.shell.LayoutLists();
        // A list screen must not come up over a file that started meanwhile.
        if (!m_Parts.session.IsPlaying())
            m_Parts.host.ShowListScreen();
    } else {
        settings.m_nPadSize = rememberedPadSize;
    }
    m_Parts.shell.ResizePad();
}

// ---- command handlers (which runs when: CommandTable.cpp) ---------------------------------

void ViewCommands::OnFullScreen(int) {
    m_Parts.frame.ToggleFullScreen();
    m_bFullScreen = m_Parts.frame.IsFullScreen();
}

void ViewCommands::OnPlayerPath(int) {
    m_Parts.supervisor.ChoosePlayerPath();
}

void ViewCommands::OnPlay(int) {
    PlaySelectedItem();
}

void ViewCommands::OnStop(int id) {
    m_Parts.session.StopPlayback(id == ID_STOP_REGISTER ? StopReason::Register
                                                        : StopReason::Restore);
}

void ViewCommands::OnSettings(int) {
    ApplySettingsDialog();
}

void ViewCommands::OnFolderUp(int) {
    if (!m_Parts.state.m_bResumeScreen)
        m_Parts.folder.GoUpFolder();
}

void ViewCommands::OnFolderTop(int) {
    if (!m_Parts.state.m_bResumeScreen)
        m_Parts.folder.GoTopFolder();
}

void ViewCommands::OnResumeDelete(int) {
    const ViewState& state = m_Parts.state;
    // On the folder screen only a file with a stored position has an entry to delete.
    const MediaItem* selected = state.m_bResumeScreen ? m_Parts.resume.SelectedEntry()
                                                      : m_Parts.folder.SelectedResumedFile();
    if (selected == nullptr ||
        !m_Parts.resume.DeleteEntry(selected->path, m_Parts.services.prompter, m_Parts.session))
        return;
    m_Parts.host.SaveResumeState();
    m_Parts.host.ShowListScreen();
}

void ViewCommands::OnSwitchScreenCarry(int id) {
    if (m_Parts.state.m_bResumeScreen)
        m_Parts.resume.CarrySelection();
    else
        m_Parts.folder.CarrySelection();
    OnSwitchScreen(id);
}

void ViewCommands::OnSwitchScreen(int) {
    m_Parts.state.m_bResumeScreen = !m_Parts.state.m_bResumeScreen;
    m_Parts.host.ShowListScreen();
}

void ViewCommands::OnExit(int) {
    m_Parts.frame.PostClose();
}

void ViewCommands::OnContinuousMode(int) {
    m_Parts.settings.m_bContinuousMode = !m_Parts.settings.m_bContinuousMode;
}

void ViewCommands::OnSkipBack(int id) {
    if (m_Parts.session.IsPlaying())
        OnTransport(id);
    else
        OnFolderUp(id);
}

void ViewCommands::OnAbout(int) {
    CAboutDlg(ProgramVersion::FromBuild(), m_Parts.frame.FrameWindow()).exec();
}

void ViewCommands::OnTransport(int id) {
    Transport& transport = m_Parts.transport;
    const ViewSettings& settings = m_Parts.settings;
    switch (id) {
    case ID_SEEK_START:
        transport.SeekToStart();
        break;
    case ID_PAUSE:
        transport.TogglePause();
        break;
    case ID_FRAME_STEP:
        transport.FrameStep();
        break;
    case ID_SKIP_FORWARD:
        transport.SkipForward(settings.m_nSkipForwardSec);
        break;
    case ID_SKIP_BACK:
        transport.SkipBack(settings.m_nSkipBackSec);
        break;
    case ID_SWITCH_AUDIO:
        transport.SwitchAudio();
        break;
    case ID_SWITCH_SUBTITLE:
        transport.SelectSubtitle();
        break;
    default:
        transport.SelectLevel(Transport::LevelForCommand(id));
        break;
    }
}

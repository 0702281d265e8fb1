#include "view/CRavoloView.h"

#include "controls/CControlDlg.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CSettingDlg.h"
#include "dialogs/CWaitDlg.h"
#include "engine/PlayerLocator.h"
#include "platform/IBeeper.h"
#include "platform/IClock.h"
#include "platform/IPrompter.h"
#include "platform/RegularFile.h"
#include "resources/CommandIds.h"
#include "settings/ProgramVersion.h"
#include "settings/SettingsStore.h"
#include "view/CommandTable.h"
#include "view/IFrameServices.h"
#include "view/PathParts.h"
#include "view/TitleGeometry.h"
#include "view/ViewColors.h"
#include "view/ViewMenus.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QTimerEvent>
#include <utility>

namespace {

constexpr int kCellHeights[6] = {12, 16, 23, 34, 48, 70}; // fonts for lines of 17 .. 80 pixels
constexpr int kIconSizes[5] = {20, 28, 40, 56, 80};
// MPlayer deaths in a row before it was ever ready, after which it is not started again.
constexpr int kMaxEarlyDeaths = 3;

QString JapaneseFamily() {
    for (const char* family : {"Noto Sans CJK JP", "Noto Sans JP", "IPAGothic", "VL Gothic"})
        if (QFontDatabase::hasFamily(QString::fromLatin1(family)))
            return QString::fromLatin1(family);
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

const QString kButtonImage = QStringLiteral(":/artwork/buttons.png");
const QString kAudioBitmap = QStringLiteral(":/artwork/logo.png");

// Decoded when first painted, which comes after the window has been shown.
const QImage& LoadedOnce(QImage& image, const QString& path) {
    if (image.isNull())
        image.load(path);
    return image;
}

bool IsExistingFolder(const QString& path) {
    return QFileInfo(path).isDir();
}

// Size steps outside 0..4 (a hand-edited profile) look like step 0.
int NormalizedStep(int index) {
    return index >= 0 && index <= 4 ? index : 0;
}

} // namespace

CRavoloView::CRavoloView(const ViewServices& services, IFrameServices& frame, QWidget* parent)
    : QWidget(parent), m_Services(services), m_Frame(frame), m_AnswerPoster(this),
      m_Engine(m_AnswerPoster), m_ListFolder(this), m_ListResume(this),
      m_Folder(m_State, m_ListFolder, services.prompter, *this, [this] { SaveViewState(); }),
      m_Resume(m_State, m_ListResume, *this), m_Transport(m_Engine),
      m_PointerKeeper(services.pointer),
      m_Session({m_State, m_Engine, m_Transport, m_PointerKeeper, services.pointer, services.clock,
                 services.beeper, frame, *this}) {
    // MPlayer draws into this window, so it must be a real X window of its own.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    CreateFonts();
    CreateImages();
    CreateList(m_ListFolder, QStringLiteral("Size"));
    CreateList(m_ListResume, QStringLiteral("Position"));
    connect(&m_ListFolder, &CColorListCtrl::rowActivated, this, [this] { OnCommand(ID_PLAY); });
    connect(&m_ListResume, &CColorListCtrl::rowActivated, this, [this] { OnCommand(ID_PLAY); });
    connect(&m_ListResume, &CColorListCtrl::selectionMoved, this, [this] {
        if (!m_State.m_bPlaying && m_State.m_bResumeScreen)
            update();
    });
    m_ControlPad = new CControlDlg(frame.FrameWindow(), this);
    m_WaitDlg = new CWaitDlg(this);
    m_WaitDlg->messageText = QStringLiteral("MPlayer の準備中");
    m_Engine.SetWorkNotifier([this] { UpdateTickTimer(); });
}

CRavoloView::~CRavoloView() {
    // The timer goes first, so no tick runs against a quit engine.
    m_bTickAllowed = false;
    if (m_nTimerId != 0)
        killTimer(m_nTimerId);
    m_nTimerId = 0;
    SaveViewState();
    m_Engine.Quit();
    delete m_ControlPad.data();
    delete m_WaitDlg;
}

CControlDlg* CRavoloView::ControlPad() {
    return m_ControlPad;
}

void CRavoloView::CreateFonts() {
    const QString family = JapaneseFamily();
    for (int i = 0; i < 6; ++i) {
        m_Fonts[i] = QFont(family);
        m_Fonts[i].setPixelSize(kCellHeights[i]);
        m_Fonts[i].setWeight(QFont::Normal);
        m_Fonts[i].setStyleStrategy(QFont::PreferAntialias);
    }
}

// Only its header is read here; the picture is decoded when an audio file first shows it.
void CRavoloView::CreateImages() {
    if (!QImageReader(kAudioBitmap).canRead())
        m_Services.prompter.ShowMessage(QStringLiteral("LoadBitmap() Error"), MessageIcon::Warning);
}

// Decoded when a size is first shown: most runs show one of the five.
CImageList& CRavoloView::ImageList(int k) {
    if (m_ImageLists[k].Count() == 0)
        m_ImageLists[k].Load(QStringLiteral(":/artwork/icons%1.png").arg(kIconSizes[k]),
                             kIconSizes[k]);
    return m_ImageLists[k];
}

void CRavoloView::CreateList(CColorListCtrl& list, const QString& sizeCaption) {
    list.hide();
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.SetBackgroundColor(ViewColors::kRowBackground);
    list.SetColumnCount(2);
    list.InsertColumn(0, QStringLiteral("File"));
    list.InsertColumn(1, sizeCaption);
}

int CRavoloView::FontSizeIndex() const {
    return m_Frame.IsFullScreen() ? m_State.m_nFontSizeFull : m_State.m_nFontSizeNormal;
}

// ---- start-up ----------------------------------------------------------------------------

void CRavoloView::OnInitialUpdate() {
    m_Frame.SetDocumentTitle(QString());
    SettingsStore& settings = m_Services.settings;
    settings.CheckVersion(ProgramVersion::FromBuild());
    m_State.m_strPlayerPath = settings.LoadPlayerPath();
    if (m_State.m_strPlayerPath.isEmpty()) {
        m_State.m_strPlayerPath = PlayerLocator::Locate(QString());
        if (!m_State.m_strPlayerPath.isEmpty())
            settings.SetPlayerPath(m_State.m_strPlayerPath);
    }
    if (IsRegularFile(m_State.m_strPlayerPath) || !ChoosePlayerPath())
        LaunchPlayer();
    // The start-up's writes, or any that failed before: a profile that cannot be written is
    // worth knowing about before the first resume position is lost. A synced write is dear, so
    // it waits until the window is up; any write before it takes these along.
    QMetaObject::invokeMethod(
        this, [this] { ReportProfileWrite(m_Services.settings.Sync()); }, Qt::QueuedConnection);
    settings.LoadViewSettings(m_State);
    ResizePad();
    m_Engine.SetPrepCycleTime(m_State.mplayerPrepCycleTime);
    m_State.m_ResumeList.Load(settings);
    m_State.m_bResumeScreen = m_State.m_ResumeList.Count() > 0;
    LayoutList(m_ListFolder, width(), height());
    LayoutList(m_ListResume, width(), height());
    ShowListScreen();
    m_bTickAllowed = true;
    StartTickTimer(m_Ticks.Start(m_Services.clock.NowMs()));
}

void CRavoloView::LaunchPlayer() {
    if (m_Engine.Launch(m_State.m_strPlayerPath, static_cast<quint64>(winId())))
        m_WaitDlg->CenterAndShow();
    else
        ReportLaunchFailure();
}

void CRavoloView::ReportLaunchFailure() {
    m_Services.prompter.ShowMessage(QStringLiteral("MPlayer を起動できませんでした。"),
                                    MessageIcon::Warning);
}

bool CRavoloView::ChoosePlayerPath() {
    const QString chosen = m_Services.prompter.ChooseExecutable(
        PlayerLocator::DialogFolder(m_State.m_strPlayerPath), PlayerLocator::kDialogFileName);
    // A file that started meanwhile would die with the MPlayer playing it.
    if (chosen.isEmpty() || m_State.m_bPlaying)
        return false;
    m_State.m_strPlayerPath = chosen;
    ReportProfileWrite(m_Services.settings.SavePlayerPath(chosen));
    m_Engine.Quit();
    m_nEarlyDeaths = 0;
    LaunchPlayer();
    return true;
}

void CRavoloView::RestartPlayer() {
    // One that dies before it is ever ready (a wrong program, a broken installation) would
    // only die again: after a few such deaths the program runs on without MPlayer, as after a
    // failed start, until the user chooses another path.
    m_nEarlyDeaths = m_Engine.GetPrepState() == PrepState::Ready ? 0 : m_nEarlyDeaths + 1;
    m_Engine.Quit();
    // A stale "pause" or "mute 1" would carry over into the next file.
    m_Engine.DiscardQueue();
    if (m_nEarlyDeaths < kMaxEarlyDeaths) {
        LaunchPlayer();
        return;
    }
    m_WaitDlg->hide();
    ReportLaunchFailure();
}

// ---- layout and screens ------------------------------------------------------------------

void CRavoloView::LayoutList(CColorListCtrl& list, int clientWidth, int clientHeight) {
    const int index = FontSizeIndex();
    const SizeStep step = TitleGeometry::SizeStepFor(index);
    const int k = NormalizedStep(index);
    const int selected = list.SelectedRow();
    if (list.font() != m_Fonts[k + 1]) {
        list.scrollToTop();
        list.SetRowFont(m_Fonts[k + 1]);
        list.SetHeaderFont(m_Fonts[k]);
        list.SetStateImageList(&ImageList(k));
    }
    const int usable = clientWidth - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int sizeWidth = TitleGeometry::SizeColumnWidth(usable, index);
    list.setGeometry(0, step.titleHeight, clientWidth, clientHeight - step.titleHeight);
    list.SetColumnWidth(0, usable - sizeWidth - 3);
    list.SetColumnWidth(1, sizeWidth);
    if (selected >= 0)
        list.EnsureVisible(selected);
}

void CRavoloView::ShowListScreen() {
    CColorListCtrl& shown = m_State.m_bResumeScreen ? m_ListResume : m_ListFolder;
    CColorListCtrl& hidden = m_State.m_bResumeScreen ? m_ListFolder : m_ListResume;
    if (m_State.m_bResumeScreen)
        m_Resume.FillResumeList(m_State.m_CurrentItem.path);
    else
        m_Folder.FillFolderList(PathParts::FileNamePart(m_State.m_CurrentItem.path));
    hidden.hide();
    shown.show();
    if (shown.isVisible())
        shown.setFocus();
    update();
    // MPlayer draws straight into this window and may still draw a frame or two until its
    // "stop" has been written; paint over them once it has surely stopped.
    for (int delayMs : {300, 1000})
        QTimer::singleShot(delayMs, this, &CRavoloView::RepaintOverPlayer);
}

void CRavoloView::RepaintOverPlayer() {
    update();
    for (CColorListCtrl* list : {&m_ListFolder, &m_ListResume})
        if (list->isVisible()) {
            list->viewport()->update();
            list->header()->viewport()->update();
        }
}

void CRavoloView::HideLists() {
    m_ListFolder.hide();
    m_ListResume.hide();
    setFocus();
}

void CRavoloView::RepaintView() {
    update();
}

CColorListCtrl& CRavoloView::VisibleList() {
    return m_State.m_bResumeScreen ? m_ListResume : m_ListFolder;
}

void CRavoloView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutList(m_ListFolder, width(), height());
    LayoutList(m_ListResume, width(), height());
    CColorListCtrl& list = VisibleList();
    if (list.isVisible())
        list.setFocus();
}

void CRavoloView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    CColorListCtrl& list = VisibleList();
    if (list.isVisible())
        list.setFocus();
}

// At the end of a session nothing is told: the window is going, and a termination must not
// wait on a message box.
void CRavoloView::SaveViewState() {
    WriteViewState();
}

bool CRavoloView::WriteViewState() {
    return m_Services.settings.SaveViewState(m_State.m_strCurrentFolder, m_State.m_ResumeList,
                                             m_State.m_bContinuousMode);
}

void CRavoloView::SaveResumeState() {
    ReportProfileWrite(WriteViewState());
}

// Once per run of failed writes, not at every one of them.
void CRavoloView::ReportProfileWrite(bool written) {
    if (written || m_bProfileWriteFailed) {
        m_bProfileWriteFailed = !written;
        return;
    }
    m_bProfileWriteFailed = true;
    m_Services.prompter.ShowMessage(QStringLiteral("設定ファイルに書き込めませんでした。\n") +
                                        m_Services.settings.Path(),
                                    MessageIcon::Warning);
}

void CRavoloView::StopForShutdown() {
    if (m_State.m_bPlaying)
        m_Session.StopPlayback(StopReason::Register);
    else if (!m_Session.Stopping())
        return;
    m_State.m_bClosing = true;
}

void CRavoloView::ResizePad() {
    m_ControlPad->SetPadSize(m_State.m_nPadSize);
}

// ---- events and the timer ----------------------------------------------------------------

bool CRavoloView::event(QEvent* event) {
    bool handled = true;
    if (event->type() >= static_cast<QEvent::Type>(WM_MP_BLANKLINE) &&
        event->type() <= static_cast<QEvent::Type>(WM_MP_EXITED))
        OnAppEvent(static_cast<const CAppEvent&>(*event));
    else
        handled = QWidget::event(event);
    // Whatever an event started (an answer, a key, a pointer move) may need the tick.
    UpdateTickTimer();
    return handled;
}

void CRavoloView::OnAppEvent(const CAppEvent& event) {
    switch (event.Number()) {
    case WM_MP_BLANKLINE:
        m_Session.OnBlankLine();
        break;
    case WM_MP_TIMEPOS:
        m_Session.OnTimePos(static_cast<uint32_t>(event.Value()));
        break;
    case WM_MP_LENGTH:
        m_Session.OnLength();
        break;
    case WM_MP_EXITED:
        if (event.Value() == m_Engine.LaunchNumber())
            m_Session.OnPlayerExited();
        break;
    case WM_PAD_COMMAND:
        OnPadCommand(static_cast<int>(event.Value()));
        break;
    case WM_PAD_SIZE:
        m_State.m_nPadSize = static_cast<int>(event.Value());
        ResizePad();
        break;
    }
    RunWaitingCommand();
}

// One shot per tick, set again after it on the schedule's grid: the timer sleeps once nothing
// is left to do and wakes in the phase it would have had. While a tick runs its timer stays set,
// so work queued meanwhile does not start a second one.
void CRavoloView::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_nTimerId)
        return;
    m_Ticks.TickRan();
    OnTimer();
    killTimer(m_nTimerId);
    m_nTimerId = 0;
    if (m_bTickAllowed && NeedsTick())
        StartTickTimer(m_Ticks.Next(m_Services.clock.NowMs()));
    else
        m_bSleptWhilePlaying = m_State.m_bPlaying;
}

// Called after every event of the view and every command queued for MPlayer: wakes the timer
// when a tick has work. Only a tick puts it to sleep.
void CRavoloView::UpdateTickTimer() {
    if (!m_bTickAllowed || m_nTimerId != 0 || !NeedsTick())
        return;
    const TickSchedule::Wakening wake = m_Ticks.Wake(m_Services.clock.NowMs());
    if (m_bSleptWhilePlaying)
        m_Transport.SkipSeekTicks(wake.missed);
    StartTickTimer(wake.delayMs);
}

void CRavoloView::StartTickTimer(uint32_t delayMs) {
    m_nTimerId = startTimer(static_cast<int>(delayMs), Qt::PreciseTimer);
}

bool CRavoloView::NeedsTick() {
    return m_Engine.NeedsTick() ||
           (m_Engine.IsReady() && (m_WaitDlg->isVisible() || !m_strPendingPlay.isEmpty())) ||
           m_Session.NeedsTick(ViewScreenRect());
}

QRect CRavoloView::ViewScreenRect() const {
    return QRect(mapToGlobal(QPoint(0, 0)), size());
}

void CRavoloView::OnTimer() {
    m_Engine.OnTimerTick();
    if (m_WaitDlg->isVisible() && m_Engine.GetPrepState() == PrepState::Ready)
        m_WaitDlg->hide();
    m_Session.OnTimerTick(ViewScreenRect());
    RunWaitingCommand();
    PlayPendingFile();
    const QString mediaState = PlaybackStatus() + PlayingTitle();
    if (mediaState != m_strLastMediaState) {
        m_strLastMediaState = mediaState;
        emit mediaStateChanged();
    }
}

// ---- the desktop's media controls and the command line -------------------------------------

// A modal dialog waits on the person, and its answer is for the state it was asked in: nothing
// from outside (the desktop's media controls, a handed-over path) acts behind it.
bool CRavoloView::HeldByDialog() {
    return QApplication::activeModalWidget() != nullptr;
}

void CRavoloView::PerformMediaKey(int qtKey) {
    if (HeldByDialog())
        return;
    Perform(InputMap::KeyActionFor(qtKey, Qt::NoModifier, false,
                                   InputMap::ScreenFor(m_State.m_bPlaying, m_State.m_bResumeScreen))
                .action);
}

QString CRavoloView::PlaybackStatus() const {
    if (!m_State.m_bPlaying)
        return QStringLiteral("Stopped");
    return m_Transport.SpeedMode() == Transport::kPauseLevel ? QStringLiteral("Paused")
                                                             : QStringLiteral("Playing");
}

QString CRavoloView::PlayingTitle() const {
    return m_State.m_bPlaying ? PathParts::FileNamePart(m_State.m_CurrentItem.path) : QString();
}

void CRavoloView::Raise() {
    QWidget* frame = m_Frame.FrameWindow();
    frame->setWindowState(frame->windowState() & ~Qt::WindowMinimized);
    frame->raise();
    frame->activateWindow();
}

void CRavoloView::OpenPaths(const QStringList& paths) {
    // Like a key, a hand-over never interrupts a playing file, nor acts behind a dialog, and
    // waits for a stop to end.
    if (paths.isEmpty() || m_State.m_bPlaying || HeldByDialog())
        return;
    if (m_Session.Stopping()) {
        m_WaitingCommand = [this, paths] { OpenPaths(paths); };
        return;
    }
    const QFileInfo target(paths.first());
    m_State.m_bResumeScreen = false;
    if (target.isDir()) {
        m_State.m_strCurrentFolder = target.absoluteFilePath();
        m_State.m_CurrentItem = MediaItem();
        ShowListScreen();
        return;
    }
    m_State.m_strCurrentFolder = PathParts::FolderOf(target.absoluteFilePath());
    m_State.m_CurrentItem = MediaItem();
    m_State.m_CurrentItem.path = target.absoluteFilePath();
    ShowListScreen();
    m_strPendingPlay = target.absoluteFilePath();
    PlayPendingFile();
}

void CRavoloView::PlayPendingFile() {
    if (m_strPendingPlay.isEmpty() || !m_Engine.IsReady() || HeldByDialog())
        return;
    const QString file = std::exchange(m_strPendingPlay, QString());
    // Only the file itself, listed as media on the folder screen, is played.
    const MediaItem* selected = m_Folder.SelectedItem();
    if (m_Session.State() == SessionState::Idle && !m_State.m_bResumeScreen &&
        selected != nullptr && selected->path == file)
        PlaySelectedItem();
}

// ---- playing the selected entry -----------------------------------------------------------

void CRavoloView::PlaySelectedItem() {
    if (m_State.m_bResumeScreen)
        PlayResumeEntry();
    else
        PlayFolderItem();
}

void CRavoloView::PlayResumeEntry() {
    const MediaItem* entry = m_Resume.SelectedEntry();
    if (entry == nullptr)
        return;
    if (entry->kind != File) {
        m_Services.beeper.Beep(BEEP_DEFAULT);
        return;
    }
    if (!IsRegularFile(entry->path)) {
        m_Services.beeper.Beep(BEEP_DEFAULT);
        m_Resume.FillResumeList(QString());
        return;
    }
    const MediaItem item = *entry;
    m_State.m_strCurrentFolder = PathParts::FolderOf(item.path);
    if (!m_Session.StartPlayback(item, item.positionSec))
        m_Services.beeper.Beep(BEEP_DEFAULT);
}

void CRavoloView::PlayFolderItem() {
    const MediaItem* selected = m_Folder.SelectedItem();
    if (selected == nullptr)
        return;
    const MediaItem item = *selected;
    if (item.kind == Drive || item.kind == Folder) {
        m_Folder.OpenItem(item);
        return;
    }
    if (item.kind != File)
        return;
    if (!IsRegularFile(item.path)) {
        m_Folder.FillFolderList();
        return;
    }
    const std::optional<uint32_t> seekTo =
        item.positionSec != 0 ? std::optional<uint32_t>(item.positionSec) : std::nullopt;
    if (!m_Session.StartPlayback(item, seekTo))
        m_Services.beeper.Beep(BEEP_DEFAULT);
}

void CRavoloView::PlayNextInFolder() {
    m_State.m_bResumeScreen = false;
    const QString finished = PathParts::FileNamePart(m_State.m_CurrentItem.path);
    m_Folder.FillFolderList(finished);
    HideLists();
    // Only a finished file that is still listed has a next one; otherwise the selection fell
    // back to the first row and would start an unrelated file.
    const int s = m_Folder.SelectedIndex();
    const MediaItem* current = m_Folder.SelectedItem();
    if (current == nullptr || PathParts::FileNamePart(current->path) != finished)
        return;
    if (s >= 0 && s < m_ListFolder.RowCount() - 1) {
        m_ListFolder.SelectRow(s, false);
        m_ListFolder.SelectRow(s + 1, true);
        PlaySelectedItem();
    }
}

// ---- screens -------------------------------------------------------------------------------

void CRavoloView::SwitchScreenCarry() {
    if (m_State.m_bResumeScreen) {
        const MediaItem* entry = m_Resume.SelectedEntry();
        if (entry != nullptr && entry->kind == File) {
            const QString folder = PathParts::FolderOf(entry->path);
            if (IsExistingFolder(folder)) {
                m_State.m_strCurrentFolder = folder;
                m_State.m_CurrentItem = *entry;
            }
        }
    } else {
        const MediaItem* item = m_Folder.SelectedItem();
        if (item != nullptr && item->kind == File && item->positionSec != 0 &&
            IsExistingFolder(PathParts::FolderOf(item->path)))
            m_State.m_CurrentItem = *item;
    }
    m_State.m_bResumeScreen = !m_State.m_bResumeScreen;
    ShowListScreen();
}

void CRavoloView::SwitchScreen() {
    m_State.m_bResumeScreen = !m_State.m_bResumeScreen;
    ShowListScreen();
}

void CRavoloView::DeleteResumeEntry() {
    if (m_State.m_bPlaying)
        return;
    const MediaItem* selected =
        m_State.m_bResumeScreen ? m_Resume.SelectedEntry() : m_Folder.SelectedItem();
    // On the folder screen only a file with a stored position has an entry to delete.
    if (selected == nullptr ||
        (!m_State.m_bResumeScreen && (selected->kind != File || selected->positionSec == 0)))
        return;
    // The list may change while the question waits: the entry is found again by its path
    // afterwards, never by the row it had.
    const QString path = selected->path;
    if (!m_Services.prompter.ConfirmResumeDelete() || m_State.m_bPlaying ||
        !m_State.m_ResumeList.RemoveResumeEntryByPath(path))
        return;
    SaveResumeState();
    ShowListScreen();
}

void CRavoloView::ApplySettingsDialog() {
    CSettingDlg dlg(m_Services.prompter, this, m_Frame.FrameWindow());
    dlg.values = m_State;
    const int rememberedPadSize = m_State.m_nPadSize;
    if (dlg.exec() == QDialog::Accepted) {
        // The folder and the continuous mode are not the dialog's: keep what they are now.
        dlg.values.m_strCurrentFolder = m_State.m_strCurrentFolder;
        dlg.values.m_bContinuousMode = m_State.m_bContinuousMode;
        static_cast<ViewSettings&>(m_State) = dlg.values;
        m_Engine.SetPrepCycleTime(m_State.mplayerPrepCycleTime);
        ReportProfileWrite(m_Services.settings.WriteDialogSettings(m_State));
        LayoutList(m_ListFolder, width(), height());
        LayoutList(m_ListResume, width(), height());
        // A list screen must not come up over a file that started meanwhile.
        if (!m_State.m_bPlaying)
            ShowListScreen();
    } else {
        m_State.m_nPadSize = rememberedPadSize;
    }
    ResizePad();
}

// ---- commands -----------------------------------------------------------------------------

void CRavoloView::OnCommand(int id) {
    const QString folderBefore = m_State.m_strCurrentFolder;
    RunCommand(id);
    // Kept on disk as it changes, so that a killed program reopens the folder it showed.
    if (m_State.m_strCurrentFolder != folderBefore)
        SaveViewState();
}

void CRavoloView::RunCommand(int id) {
    const CommandRow* row = CommandTable::Find(id);
    if (row == nullptr)
        return;
    switch (row->In(m_Session.State())) {
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

void CRavoloView::RunWaitingCommand() {
    if (!m_WaitingCommand || m_Session.State() != SessionState::Idle)
        return;
    const std::function<void()> command = std::exchange(m_WaitingCommand, nullptr);
    // A stop to close ends with the window; nothing else is started.
    if (!m_State.m_bClosing)
        command();
}

// ---- command handlers (which runs when: CommandTable.cpp) ---------------------------------

void CRavoloView::OnFullScreen(int) {
    m_Frame.ToggleFullScreen();
    m_State.m_bFullScreen = m_Frame.IsFullScreen();
}

void CRavoloView::OnPlayerPath(int) {
    ChoosePlayerPath();
}

void CRavoloView::OnPlay(int) {
    PlaySelectedItem();
}

void CRavoloView::OnStop(int id) {
    m_Session.StopPlayback(id == ID_STOP_REGISTER ? StopReason::Register : StopReason::Restore);
}

void CRavoloView::OnSettings(int) {
    ApplySettingsDialog();
}

void CRavoloView::OnFolderUp(int) {
    if (!m_State.m_bResumeScreen)
        m_Folder.GoUpFolder();
}

void CRavoloView::OnFolderTop(int) {
    if (!m_State.m_bResumeScreen)
        m_Folder.GoTopFolder();
}

void CRavoloView::OnResumeDelete(int) {
    DeleteResumeEntry();
}

void CRavoloView::OnSwitchScreenCarry(int) {
    SwitchScreenCarry();
}

void CRavoloView::OnSwitchScreen(int) {
    SwitchScreen();
}

void CRavoloView::OnExit(int) {
    m_Frame.PostClose();
}

void CRavoloView::OnContinuousMode(int) {
    m_State.m_bContinuousMode = !m_State.m_bContinuousMode;
}

void CRavoloView::OnSkipBack(int id) {
    if (m_State.m_bPlaying)
        OnTransport(id);
    else
        OnFolderUp(id);
}

void CRavoloView::OnAbout(int) {
    CAboutDlg(ProgramVersion::FromBuild(), m_Frame.FrameWindow()).exec();
}

void CRavoloView::OnTransport(int id) {
    switch (id) {
    case ID_SEEK_START:
        m_Transport.SeekToStart();
        break;
    case ID_PAUSE:
        m_Transport.TogglePause();
        break;
    case ID_FRAME_STEP:
        m_Transport.FrameStep();
        break;
    case ID_SKIP_FORWARD:
        m_Transport.SkipForward(m_State.m_nSkipForwardSec);
        break;
    case ID_SKIP_BACK:
        m_Transport.SkipBack(m_State.m_nSkipBackSec);
        break;
    case ID_SWITCH_AUDIO:
        m_Transport.SwitchAudio();
        break;
    case ID_SWITCH_SUBTITLE:
        m_Transport.SelectSubtitle();
        break;
    default:
        m_Transport.SelectLevel(Transport::LevelForCommand(id));
        break;
    }
}

void CRavoloView::Perform(const InputAction& action) {
    switch (action.action) {
    case ViewAction::None:
        break;
    case ViewAction::Command:
        OnCommand(action.command);
        break;
    case ViewAction::SpeedStepDown:
        if (m_State.m_bPlaying)
            m_Transport.SpeedStepDown();
        break;
    case ViewAction::SpeedStepUp:
        if (m_State.m_bPlaying)
            m_Transport.SpeedStepUp();
        break;
    case ViewAction::LeaveFullScreenIfNotUser:
        if (m_Frame.IsFullScreen() && !m_State.m_bFullScreen)
            m_Frame.ToggleFullScreen();
        break;
    case ViewAction::AltEnter:
        if (!m_Frame.IsFullScreen()) {
            m_Frame.ToggleFullScreen();
            m_State.m_bFullScreen = true;
        } else {
            m_State.m_bFullScreen = false;
        }
        break;
    case ViewAction::PostKeyToList:
        QCoreApplication::postEvent(&VisibleList(),
                                    new QKeyEvent(QEvent::KeyPress, action.key, Qt::NoModifier));
        break;
    case ViewAction::HidePad:
        m_ControlPad->hide();
        break;
    case ViewAction::StopForShutdown:
        if (m_State.m_bPlaying)
            StopForShutdown();
        else
            m_Frame.PostClose();
        break;
    }
}

void CRavoloView::OnPadCommand(int code) {
    Perform(InputMap::PadActionFor(code, m_State.m_bPlaying, m_State.m_bResumeScreen));
}

// ---- keyboard and mouse -------------------------------------------------------------------

bool CRavoloView::focusNextPrevChild(bool) {
    // Tab switches screens here; it never moves the focus.
    return false;
}

void CRavoloView::keyPressEvent(QKeyEvent* event) {
    const KeyOutcome outcome =
        InputMap::KeyActionFor(event->key(), event->modifiers(), event->isAutoRepeat(),
                               InputMap::ScreenFor(m_State.m_bPlaying, m_State.m_bResumeScreen));
    Perform(outcome.action);
    event->setAccepted(!outcome.defaultProcessing);
}

void CRavoloView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    m_bPressOnButton = false;
    if (!m_State.m_bPlaying) {
        m_State.m_nPressedButton = HitTestTitleButton(p);
        m_bPressOnButton = m_State.m_nPressedButton >= 0;
        if (m_bPressOnButton) {
            repaint(TitleButtonRect(m_State.m_nPressedButton));
            return;
        }
    }
    TogglePad(p);
}

void CRavoloView::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = m_State.m_nPressedButton;
    if (event->button() != Qt::LeftButton || pressed < 0)
        return QWidget::mouseReleaseEvent(event);
    m_State.m_nPressedButton = -1;
    repaint(TitleButtonRect(pressed));
    if (HitTestTitleButton(event->position().toPoint()) != pressed)
        return;
    static constexpr int kButtonCommands[] = {ID_FOLDER_UP, ID_SWITCH_SCREEN,
                                              ID_SWITCH_SCREEN_CARRY, ID_SETTINGS, ID_APP_EXIT};
    OnCommand(kButtonCommands[pressed]);
}

void CRavoloView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    // Its second press arrives only as this event. On a title button a double click is one
    // click, the first, which has acted already; the first press decides, as its action may
    // have taken the button away. Elsewhere it is two clicks: the pad shows, then hides.
    if (!m_bPressOnButton)
        TogglePad(event->position().toPoint());
}

void CRavoloView::TogglePad(QPoint clickPoint) {
    if (m_ControlPad->isVisible()) {
        m_ControlPad->hide();
        return;
    }
    // The pad's own size: m_nPadSize percent of its picture, within the pad's limits.
    const int w = m_ControlPad->width();
    const int h = m_ControlPad->height();
    m_ControlPad->move(mapToGlobal(QPoint(clickPoint.x() - w / 2, clickPoint.y() - h / 10)));
    m_ControlPad->show();
    m_ControlPad->raise();
    m_ControlPad->activateWindow();
}

int CRavoloView::HitTestTitleButton(QPoint p) const {
    return TitleGeometry::HitTestTitleButton(p.x(), p.y(), rect(), m_State.m_bPlaying,
                                             m_Frame.IsFullScreen(), m_State.m_bResumeScreen,
                                             m_State.AtDriveLevel(), FontSizeIndex());
}

QRect CRavoloView::TitleButtonRect(int button) const {
    return TitleGeometry::GetTitleButtonRect(button, rect(), m_Frame.IsFullScreen(),
                                             FontSizeIndex());
}

void CRavoloView::contextMenuEvent(QContextMenuEvent* event) {
    const int menuId = m_State.m_bPlaying        ? IDR_MENU_PLAYBACK
                       : m_State.m_bResumeScreen ? IDR_MENU_RESUME
                                                 : IDR_MENU_FOLDER;
    std::unique_ptr<QMenu> menu = ViewMenus::Build(menuId, this);
    ViewMenus::MenuState state;
    state.resumeScreen = m_State.m_bResumeScreen;
    state.fullScreen = m_Frame.IsFullScreen();
    state.continuousMode = m_State.m_bContinuousMode;
    state.atDriveLevel = m_State.AtDriveLevel();
    state.level = m_Transport.SpeedMode();
    state.selected = m_State.m_bResumeScreen ? m_Resume.SelectedEntry() : m_Folder.SelectedItem();
    ViewMenus::ApplyRules(*menu, state);
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(50, 50))
                                                                     : event->globalPos();
    m_State.m_bMenuOpen = true;
    UpdateTickTimer(); // the pointer is shown on the ticks while the menu is open
    QAction* chosen = menu->exec(at);
    m_State.m_bMenuOpen = false;
    if (chosen != nullptr)
        OnCommand(chosen->data().toInt());
}

// ---- painting -----------------------------------------------------------------------------

void CRavoloView::paintEvent(QPaintEvent*) {
    if (!std::exchange(m_bPainted, true))
        emit firstPainted();
    QPainter painter(this);
    const bool audio = m_State.m_bPlaying && m_State.m_CurrentItem.isAudio;
    TitlePainter::PaintBackground(painter, rect(),
                                  audio ? &LoadedOnce(m_AudioBitmap, kAudioBitmap) : nullptr);
    if (m_State.m_bPlaying)
        return;
    const int k = NormalizedStep(FontSizeIndex());
    TitlePainter::PaintTitle(painter, rect(), TitleContent(), m_Fonts[k + 1], m_Fonts[k],
                             LoadedOnce(m_ButtonImage, kButtonImage));
}

TitlePainter::Title CRavoloView::TitleContent() {
    TitlePainter::Title title;
    if (m_State.m_bResumeScreen) {
        title.line1 = QStringLiteral("Resume (%1/%2)")
                          .arg(m_State.m_ResumeList.Count())
                          .arg(ResumeList::ResumeCapacity);
        const MediaItem* entry = m_Resume.SelectedEntry();
        title.line2 = entry != nullptr ? PathParts::FolderPart(entry->path) : QString();
        title.color = ViewColors::kResumeTitle;
    } else {
        title.line1 = QStringLiteral("Folder (%1)").arg(m_Folder.FileCount());
        title.line2 =
            m_State.AtDriveLevel() ? QStringLiteral("<Drive Select>") : m_State.m_strCurrentFolder;
        title.color = ViewColors::kFolderTitle;
    }
    title.sizeIndex = FontSizeIndex();
    title.fullScreen = m_Frame.IsFullScreen();
    title.skipButton0 =
        !TitleGeometry::HasUpFolderButton(m_State.m_bResumeScreen, m_State.AtDriveLevel());
    title.pressedButton = m_State.m_nPressedButton;
    return title;
}

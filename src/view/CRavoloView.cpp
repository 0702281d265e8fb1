#include "view/CRavoloView.h"

#include "controls/CControlDlg.h"
#include "platform/IClock.h"
#include "resources/CommandIds.h"
#include "settings/ProgramVersion.h"
#include "settings/SettingsStore.h"
#include "view/IFrameServices.h"
#include "view/PathParts.h"
#include "view/TitleGeometry.h"
#include "view/ViewColors.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QTimerEvent>
#include <utility>

CRavoloView::CRavoloView(const ViewServices& services, IFrameServices& frame, QWidget* parent)
    : QWidget(parent), m_Services(services), m_Frame(frame),
      m_Writes(services.prompter, services.settings), m_AnswerPoster(this),
      m_Engine(m_AnswerPoster), m_ListFolder(this), m_ListResume(this),
      m_Resume(m_Settings, m_State, m_ListResume, *this),
      m_Folder(m_Settings, m_State, m_Resume.List(), m_ListFolder, services.prompter, *this,
               [this] { SaveViewState(); }),
      m_Transport(m_Engine), m_PointerKeeper(services.pointer),
      m_Session({m_State, m_Settings, m_Resume.List(), m_Engine, m_Transport, m_PointerKeeper,
                 services.pointer, services.clock, services.beeper, frame, *this}),
      m_Title({m_Settings, m_State, frame, services.prompter, m_Folder, m_Resume, m_Session}),
      m_Supervisor({m_Engine, services.prompter, services.settings, m_Writes, m_Session, *this}),
      m_Commands({m_Settings, m_State, m_Services, frame, m_Engine, m_Writes, m_Session,
                  m_Transport, m_Folder, m_Resume, m_Supervisor, *this, *this, *this, *this}) {
    // MPlayer draws into this window, so it must be a real X window of its own.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_Title.CreateFonts();
    m_Title.CreateImages();
    CreateList(m_ListFolder, QStringLiteral("Size"));
    CreateList(m_ListResume, QStringLiteral("Position"));
    connect(&m_ListFolder, &CColorListCtrl::rowActivated, this, [this] { OnCommand(ID_PLAY); });
    connect(&m_ListResume, &CColorListCtrl::rowActivated, this, [this] { OnCommand(ID_PLAY); });
    connect(&m_ListResume, &CColorListCtrl::selectionMoved, this, [this] {
        if (!m_Session.IsPlaying() && m_State.m_bResumeScreen)
            update();
    });
    m_ControlPad = new CControlDlg(frame.FrameWindow(), this);
    m_Engine.SetWorkNotifier([this] { UpdateTickTimer(); });
}

CRavoloView::~CRavoloView() {
    // The timer goes first, so no tick runs against a quit engine.
    m_TickAllowed = false;
    if (m_nTimerId != 0)
        killTimer(m_nTimerId);
    m_nTimerId = 0;
    SaveViewState();
    m_Engine.Quit();
    delete m_ControlPad.data();
}

CControlDlg* CRavoloView::ControlPad() {
    return m_ControlPad;
}

void CRavoloView::CreateList(CColorListCtrl& list, const QString& sizeCaption) {
    list.hide();
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.SetBackgroundColor(ViewColors::kRowBackground);
    list.SetColumnCount(2);
    list.InsertColumn(0, QStringLiteral("File"));
    list.InsertColumn(1, sizeCaption);
}

// ---- start-up ----------------------------------------------------------------------------

void CRavoloView::OnInitialUpdate() {
    m_Frame.SetDocumentTitle(QString());
    SettingsStore& settings = m_Services.settings;
    settings.CheckVersion(ProgramVersion::FromBuild());
    m_Supervisor.StartPlayer();
    // The start-up's writes, or any that failed before: a profile that cannot be written is
    // worth knowing about before the first resume position is lost. A synced write is dear, so
    // it waits until the window is up; any write before it takes these along.
    QMetaObject::invokeMethod(
        this, [this] { m_Writes.Report(m_Services.settings.Sync()); }, Qt::QueuedConnection);
    settings.LoadViewSettings(m_Settings);
    ResizePad();
    m_Engine.SetPrepCycleTime(m_Settings.mplayerPrepCycleTime);
    m_Resume.List().Load(settings);
    m_State.m_bResumeScreen = m_Resume.List().Count() > 0;
    LayoutLists();
    ShowListScreen();
    m_TickAllowed = true;
    StartTickTimer(m_Ticks.Start(m_Services.clock.NowMs()));
}

// ---- layout and screens ------------------------------------------------------------------

void CRavoloView::LayoutList(CColorListCtrl& list, int clientWidth, int clientHeight) {
    const int index = m_Title.SizeIndex();
    const SizeStep step = TitleGeometry::SizeStepFor(index);
    const int selected = list.SelectedRow();
    if (list.font() != m_Title.RowFont()) {
        list.scrollToTop();
        list.SetRowFont(m_Title.RowFont());
        list.SetHeaderFont(m_Title.HeaderFont());
        list.SetStateImageList(&m_Title.ImageList());
    }
    const int usable = clientWidth - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int sizeWidth = TitleGeometry::SizeColumnWidth(usable, index);
    list.setGeometry(0, step.titleHeight, clientWidth, clientHeight - step.titleHeight);
    list.SetColumnWidth(0, usable - sizeWidth - 3);
    list.SetColumnWidth(1, sizeWidth);
    if (selected >= 0)
        list.EnsureVisible(selected);
}

void CRavoloView::LayoutLists() {
    LayoutList(m_ListFolder, width(), height());
    LayoutList(m_ListResume, width(), height());
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

void CRavoloView::PlayNextInFolder() {
    m_State.m_bResumeScreen = false;
    const QString finished = PathParts::FileNamePart(m_State.m_CurrentItem.path);
    m_Folder.FillFolderList(finished);
    HideLists();
    m_Folder.PlayNextAfter(finished, m_Session, m_Services.beeper);
}

CColorListCtrl& CRavoloView::VisibleList() {
    return m_State.m_bResumeScreen ? m_ListResume : m_ListFolder;
}

void CRavoloView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutLists();
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
    return m_Services.settings.SaveViewState(m_Settings.m_strCurrentFolder, m_Resume.List(),
                                             m_Settings.m_bContinuousMode);
}

void CRavoloView::SaveResumeState() {
    m_Writes.Report(WriteViewState());
}

void CRavoloView::ResizePad() {
    m_ControlPad->SetPadSize(m_Settings.m_nPadSize);
}

void CRavoloView::HidePad() {
    m_ControlPad->hide();
}

void CRavoloView::PostKeyToList(int key) {
    QCoreApplication::postEvent(&VisibleList(),
                                new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
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
        m_Commands.Perform(InputMap::PadActionFor(static_cast<int>(event.Value()),
                                                  m_Session.IsPlaying(), m_State.m_bResumeScreen));
        break;
    case WM_PAD_SIZE:
        m_Settings.m_nPadSize = static_cast<int>(event.Value());
        ResizePad();
        break;
    }
    m_Commands.RunWaitingCommand();
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
    if (m_TickAllowed && NeedsTick())
        StartTickTimer(m_Ticks.Next(m_Services.clock.NowMs()));
    else
        m_SleptWhilePlaying = m_Session.IsPlaying();
}

// Called after every event of the view and every command queued for MPlayer: wakes the timer
// when a tick has work. Only a tick puts it to sleep.
void CRavoloView::UpdateTickTimer() {
    if (!m_TickAllowed || m_nTimerId != 0 || !NeedsTick())
        return;
    const TickSchedule::Wakening wake = m_Ticks.Wake(m_Services.clock.NowMs());
    if (m_SleptWhilePlaying)
        m_Transport.SkipSeekTicks(wake.missed);
    StartTickTimer(wake.delayMs);
}

void CRavoloView::StartTickTimer(uint32_t delayMs) {
    m_nTimerId = startTimer(static_cast<int>(delayMs), Qt::PreciseTimer);
}

bool CRavoloView::NeedsTick() {
    return m_Engine.NeedsTick() || m_Supervisor.NeedsTick() ||
           m_Session.NeedsTick(ViewScreenRect());
}

QRect CRavoloView::ViewScreenRect() const {
    return QRect(mapToGlobal(QPoint(0, 0)), size());
}

void CRavoloView::OnTimer() {
    m_Engine.OnTimerTick();
    m_Supervisor.OnTick();
    m_Session.OnTimerTick(ViewScreenRect());
    m_Commands.RunWaitingCommand();
    m_Commands.PlayPendingFile();
    const QString mediaState = PlaybackStatus() + PlayingTitle();
    if (mediaState != m_LastMediaState) {
        m_LastMediaState = mediaState;
        emit mediaStateChanged();
    }
}

void CRavoloView::Raise() {
    QWidget* frame = m_Frame.FrameWindow();
    frame->setWindowState(frame->windowState() & ~Qt::WindowMinimized);
    frame->raise();
    frame->activateWindow();
}

// ---- keyboard and mouse -------------------------------------------------------------------

bool CRavoloView::focusNextPrevChild(bool) {
    // Tab switches screens here; it never moves the focus.
    return false;
}

void CRavoloView::keyPressEvent(QKeyEvent* event) {
    const KeyOutcome outcome =
        InputMap::KeyActionFor(event->key(), event->modifiers(), event->isAutoRepeat(),
                               InputMap::ScreenFor(m_Session.IsPlaying(), m_State.m_bResumeScreen));
    m_Commands.Perform(outcome.action);
    event->setAccepted(!outcome.defaultProcessing);
}

void CRavoloView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    m_PressOnButton = !m_Session.IsPlaying() && m_Title.Press(p, rect());
    if (m_PressOnButton)
        repaint(m_Title.TitleButtonRect(m_Title.PressedButton(), rect()));
    else
        TogglePad(p);
}

void CRavoloView::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = m_Title.PressedButton();
    if (event->button() != Qt::LeftButton || pressed < 0)
        return QWidget::mouseReleaseEvent(event);
    m_Title.SetPressedButton(-1);
    repaint(m_Title.TitleButtonRect(pressed, rect()));
    if (m_Title.HitTestTitleButton(event->position().toPoint(), rect()) != pressed)
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
    if (!m_PressOnButton)
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

void CRavoloView::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu = m_Commands.BuildMenu(this);
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(50, 50))
                                                                     : event->globalPos();
    m_PointerKeeper.SetMenuOpen(true);
    UpdateTickTimer(); // the pointer is shown on the ticks while the menu is open
    QAction* chosen = menu->exec(at);
    m_PointerKeeper.SetMenuOpen(false);
    if (chosen != nullptr)
        OnCommand(chosen->data().toInt());
}

// ---- painting -----------------------------------------------------------------------------

void CRavoloView::paintEvent(QPaintEvent*) {
    if (!std::exchange(m_Painted, true))
        emit firstPainted();
    QPainter painter(this);
    m_Title.Paint(painter, rect());
}

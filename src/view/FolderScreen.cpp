#include "view/FolderScreen.h"

#include "controls/CColorListCtrl.h"
#include "platform/IBeeper.h"
#include "platform/IPrompter.h"
#include "platform/RegularFile.h"
#include "settings/ResumeList.h"
#include "settings/ViewSettings.h"
#include "view/DriveList.h"
#include "view/FolderNavigation.h"
#include "view/FolderScanner.h"
#include "view/MediaFormat.h"
#include "view/PathParts.h"
#include "view/PlaybackSession.h"
#include "view/ViewColors.h"
#include "view/ViewState.h"

#include <QFileInfo>
#include <QWidget>

namespace {

int IconFor(const MediaItem& item) {
    switch (item.kind) {
    case MediaItemKind::Drive:
        return 0;
    case MediaItemKind::Folder:
        return 1;
    default:
        return (item.isAudio ? 5 : 2) + (item.positionSec != 0 ? 1 : 0);
    }
}

// Asked of every entry of a level read again after a stop: a file's name is compared where it
// lies in its path, without a copy.
bool HasKey(const MediaItem& item, const QString& key) {
    return item.kind == MediaItemKind::Drive ? PathParts::DriveRoot(item.path) == key
                                             : PathParts::FileNameView(item.path) == key;
}

CColorListCtrl::Row RowFor(const MediaItem& item) {
    CColorListCtrl::Row row;
    row.texts = {item.kind == MediaItemKind::Drive ? PathParts::DriveDisplayName(item.path)
                                                   : PathParts::FileNamePart(item.path),
                 item.kind == MediaItemKind::File ? MediaFormat::FormatFileSize(item.fileSize)
                                                  : QString()};
    row.iconIndex = IconFor(item);
    row.text = ViewColors::kRowText;
    row.background = ViewColors::kRowBackground;
    return row;
}

} // namespace

FolderScreen::FolderScreen(ViewSettings& settings, ViewState& state, const ResumeList& resume,
                           CColorListCtrl& list, IPrompter& prompter, QWidget& view,
                           std::function<void()> onNewLevel)
    : m_Settings(settings), m_State(state), m_Resume(resume), m_List(list), m_Prompter(prompter),
      m_View(view), m_OnNewLevel(std::move(onNewLevel)) {}

void FolderScreen::ReadLevel() {
    for (;;) {
        if (AtDriveLevel()) {
            m_FolderItems = DriveList::ListDrives();
            m_DriveRoots = DriveList::DriveRoots(m_FolderItems);
            return;
        }
        if (QFileInfo(m_Settings.m_strCurrentFolder).isDir()) {
            // The shown level goes before the next one is read, so that the next reuses its
            // memory: a large folder read again then needs half the memory at its peak.
            m_List.DeleteAllRows();
            m_FolderItems = {};
            const QHash<QString, uint32_t> positions = m_Resume.PositionsByPath();
            m_FolderItems = FolderScanner::ScanFolder(
                m_Settings.m_strCurrentFolder, m_Settings.m_strExtFilterV,
                m_Settings.m_strExtFilterA,
                [&positions](const QString& path) { return positions.value(path); });
            return;
        }
        if (!m_Prompter.AskRetry(QStringLiteral("フォルダーが見つかりません。")))
            m_Settings.m_strCurrentFolder.clear();
    }
}

void FolderScreen::FillFolderList(const QString& selectName) {
    ReadLevel();
    if (m_Settings.m_strCurrentFolder != m_LevelShown) {
        m_LevelShown = m_Settings.m_strCurrentFolder;
        if (m_OnNewLevel)
            m_OnNewLevel();
    }
    std::vector<CColorListCtrl::Row> rows;
    rows.reserve(m_FolderItems.size());
    int selected = 0;
    for (const MediaItem& item : m_FolderItems) {
        if (!selectName.isEmpty() && HasKey(item, selectName))
            selected = static_cast<int>(rows.size());
        rows.push_back(RowFor(item));
    }
    m_List.FillRows(std::move(rows));
    m_List.SelectRow(selected, true);
    m_List.EnsureVisible(selected);
    m_View.update();
}

void FolderScreen::OpenItem(const MediaItem& item) {
    if (item.kind == MediaItemKind::Drive)
        m_Settings.m_strCurrentFolder = PathParts::DriveRoot(item.path);
    else if (item.kind == MediaItemKind::Folder)
        m_Settings.m_strCurrentFolder = item.path;
    FillFolderList();
}

void FolderScreen::Move(const std::optional<FolderMove>& move) {
    if (!move)
        return;
    m_Settings.m_strCurrentFolder = move->newFolder;
    FillFolderList(move->selectName);
}

// The roots as the drive level last listed them: asking every mount again at each move would
// stall on a network share that does not answer.
const QStringList& FolderScreen::DriveRoots() {
    if (m_DriveRoots.isEmpty())
        m_DriveRoots = DriveList::DriveRoots(DriveList::ListDrives());
    return m_DriveRoots;
}

void FolderScreen::GoUpFolder() {
    Move(FolderNavigation::GoUpFolder(m_Settings.m_strCurrentFolder, DriveRoots()));
}

void FolderScreen::GoTopFolder() {
    Move(FolderNavigation::GoTopFolder(m_Settings.m_strCurrentFolder, DriveRoots()));
}

bool FolderScreen::AtDriveLevel() const {
    return m_Settings.m_strCurrentFolder.isEmpty();
}

int FolderScreen::SelectedIndex() const {
    return m_List.SelectedRow();
}

const MediaItem* FolderScreen::SelectedItem() const {
    const int index = SelectedIndex();
    if (index < 0 || index >= m_FolderItems.size())
        return nullptr;
    return &m_FolderItems[index];
}

int FolderScreen::FileCount() const {
    return static_cast<int>(
        std::count_if(m_FolderItems.begin(), m_FolderItems.end(),
                      [](const MediaItem& item) { return item.kind == MediaItemKind::File; }));
}

const MediaItem* FolderScreen::SelectedResumedFile() const {
    const MediaItem* selected = SelectedItem();
    return selected != nullptr && selected->kind == MediaItemKind::File &&
                   selected->positionSec != 0
               ? selected
               : nullptr;
}

void FolderScreen::PlaySelected(PlaybackSession& session, IBeeper& beeper) {
    const MediaItem* selected = SelectedItem();
    if (selected == nullptr)
        return;
    const MediaItem item = *selected;
    if (item.kind == MediaItemKind::Drive || item.kind == MediaItemKind::Folder) {
        OpenItem(item);
        return;
    }
    if (item.kind != MediaItemKind::File)
        return;
    if (!IsRegularFile(item.path)) {
        FillFolderList();
        return;
    }
    const std::optional<uint32_t> seekTo =
        item.positionSec != 0 ? std::optional<uint32_t>(item.positionSec) : std::nullopt;
    if (!session.StartPlayback(item, seekTo))
        beeper.Beep(BEEP_DEFAULT);
}

void FolderScreen::PlayNextAfter(const QString& finished, PlaybackSession& session,
                                 IBeeper& beeper) {
    // Only a finished file that is still listed has a next one; otherwise the selection fell
    // back to the first row and would start an unrelated file.
    const int s = SelectedIndex();
    const MediaItem* current = SelectedItem();
    if (current == nullptr || PathParts::FileNamePart(current->path) != finished)
        return;
    if (s >= 0 && s < m_List.RowCount() - 1) {
        m_List.SelectRow(s, false);
        m_List.SelectRow(s + 1, true);
        PlaySelected(session, beeper);
    }
}

void FolderScreen::CarrySelection() {
    const MediaItem* item = SelectedResumedFile();
    if (item != nullptr && QFileInfo(PathParts::FolderOf(item->path)).isDir())
        m_State.m_CurrentItem = *item;
}

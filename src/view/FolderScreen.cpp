#include "view/FolderScreen.h"

#include "controls/CColorListCtrl.h"
#include "platform/IPrompter.h"
#include "view/DriveList.h"
#include "view/FolderNavigation.h"
#include "view/FolderScanner.h"
#include "view/MediaFormat.h"
#include "view/PathParts.h"
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

QString KeyFor(const MediaItem& item) {
    return item.kind == MediaItemKind::Drive ? PathParts::DriveRoot(item.path)
                                             : PathParts::FileNamePart(item.path);
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

FolderScreen::FolderScreen(ViewState& state, CColorListCtrl& list, IPrompter& prompter,
                           QWidget& view, std::function<void()> onNewLevel)
    : m_State(state), m_List(list), m_Prompter(prompter), m_View(view),
      m_OnNewLevel(std::move(onNewLevel)) {}

void FolderScreen::ReadLevel() {
    for (;;) {
        if (m_State.AtDriveLevel()) {
            m_State.m_FolderItems = DriveList::ListDrives();
            m_DriveRoots = DriveList::DriveRoots(m_State.m_FolderItems);
            return;
        }
        if (QFileInfo(m_State.m_strCurrentFolder).isDir()) {
            // The shown level goes before the next one is read, so that the next reuses its
            // memory: a large folder read again then needs half the memory at its peak.
            m_List.DeleteAllRows();
            m_State.m_FolderItems = {};
            const QHash<QString, uint32_t> positions = m_State.m_ResumeList.PositionsByPath();
            m_State.m_FolderItems = FolderScanner::ScanFolder(
                m_State.m_strCurrentFolder, m_State.m_strExtFilterV, m_State.m_strExtFilterA,
                [&positions](const QString& path) { return positions.value(path); });
            return;
        }
        if (!m_Prompter.AskRetry(QStringLiteral("フォルダーが見つかりません。")))
            m_State.m_strCurrentFolder.clear();
    }
}

void FolderScreen::FillFolderList(const QString& selectName) {
    ReadLevel();
    if (m_State.m_strCurrentFolder != m_strLevelShown) {
        m_strLevelShown = m_State.m_strCurrentFolder;
        if (m_OnNewLevel)
            m_OnNewLevel();
    }
    std::vector<CColorListCtrl::Row> rows;
    rows.reserve(m_State.m_FolderItems.size());
    int selected = 0;
    for (const MediaItem& item : m_State.m_FolderItems) {
        if (!selectName.isEmpty() && KeyFor(item) == selectName)
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
        m_State.m_strCurrentFolder = PathParts::DriveRoot(item.path);
    else if (item.kind == MediaItemKind::Folder)
        m_State.m_strCurrentFolder = item.path;
    FillFolderList();
}

void FolderScreen::Move(const std::optional<FolderMove>& move) {
    if (!move)
        return;
    m_State.m_strCurrentFolder = move->newFolder;
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
    Move(FolderNavigation::GoUpFolder(m_State.m_strCurrentFolder, DriveRoots()));
}

void FolderScreen::GoTopFolder() {
    Move(FolderNavigation::GoTopFolder(m_State.m_strCurrentFolder, DriveRoots()));
}

int FolderScreen::SelectedIndex() const {
    return m_List.SelectedRow();
}

const MediaItem* FolderScreen::SelectedItem() const {
    const int index = SelectedIndex();
    if (index < 0 || index >= m_State.m_FolderItems.size())
        return nullptr;
    return &m_State.m_FolderItems[index];
}

int FolderScreen::FileCount() const {
    return static_cast<int>(
        std::count_if(m_State.m_FolderItems.begin(), m_State.m_FolderItems.end(),
                      [](const MediaItem& item) { return item.kind == MediaItemKind::File; }));
}

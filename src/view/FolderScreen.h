#pragma once

#include "settings/MediaItem.h"
#include "view/FolderNavigation.h"

#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

class CColorListCtrl;
class IPrompter;
class QWidget;
struct ViewState;

// The folder screen: reads one level (the drives, or a folder's sub-folders and media files)
// into the state's folder items and shows it in the folder list.
class FolderScreen {
public:
    // onNewLevel runs whenever a level other than the one shown before is read, so the caller
    // can store the current folder at once.
    FolderScreen(ViewState& state, CColorListCtrl& list, IPrompter& prompter, QWidget& view,
                 std::function<void()> onNewLevel);

    // Reads the current level anew and selects the row whose key is selectName (else row 0).
    void FillFolderList(const QString& selectName = QString());
    // A drive or folder becomes the current level; a vanished file makes the level read again.
    void OpenItem(const MediaItem& item);
    void GoUpFolder();
    void GoTopFolder();

    int SelectedIndex() const;
    const MediaItem* SelectedItem() const;
    int FileCount() const;

private:
    void ReadLevel();
    const QStringList& DriveRoots();
    void Move(const std::optional<FolderMove>& move);

    ViewState& m_State;
    CColorListCtrl& m_List;
    IPrompter& m_Prompter;
    QWidget& m_View; // its title shows the file count and the folder
    std::function<void()> m_OnNewLevel;
    QString m_strLevelShown;
    QStringList m_DriveRoots; // read with the drive level; empty until it is first read
};

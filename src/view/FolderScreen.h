#pragma once

#include "settings/MediaItem.h"
#include "view/FolderNavigation.h"

#include <functional>
#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

class CColorListCtrl;
class IBeeper;
class IPrompter;
class PlaybackSession;
class QWidget;
class ResumeList;
struct ViewSettings;
struct ViewState;

// The folder screen: reads one level (the drives, or a folder's sub-folders and media files)
// and shows it in the folder list.
class FolderScreen {
public:
    // onNewLevel runs whenever a level other than the one shown before is read, so the caller
    // can store the current folder at once.
    FolderScreen(ViewSettings& settings, ViewState& state, const ResumeList& resume,
                 CColorListCtrl& list, IPrompter& prompter, QWidget& view,
                 std::function<void()> onNewLevel);

    // Reads the current level anew and selects the row whose key is selectName (else row 0).
    void FillFolderList(const QString& selectName = QString());
    // A drive or folder becomes the current level; a vanished file makes the level read again.
    void OpenItem(const MediaItem& item);
    void GoUpFolder();
    void GoTopFolder();

    // The drives are listed, not a folder.
    bool AtDriveLevel() const;
    int SelectedIndex() const;
    const MediaItem* SelectedItem() const;
    // The selected file when it has a resume entry, else nullptr.
    const MediaItem* SelectedResumedFile() const;
    int FileCount() const;
    const QList<MediaItem>& Items() const { return m_FolderItems; }

    // Opens the selected drive or folder, or plays the selected file from its stored position.
    void PlaySelected(PlaybackSession& session, IBeeper& beeper);
    // After the file `finished` (listed anew): plays the file listed after it, if any.
    void PlayNextAfter(const QString& finished, PlaybackSession& session, IBeeper& beeper);
    // The resume screen is to select the selected file, when it has a resume entry.
    void CarrySelection();

private:
    void ReadLevel();
    const QStringList& DriveRoots();
    void Move(const std::optional<FolderMove>& move);

    ViewSettings& m_Settings; // the current folder and the extensions listed
    ViewState& m_State;
    const ResumeList& m_Resume; // its positions are shown with the files
    CColorListCtrl& m_List;
    IPrompter& m_Prompter;
    QWidget& m_View; // its title shows the file count and the folder
    std::function<void()> m_OnNewLevel;
    QString m_LevelShown;
    QStringList m_DriveRoots; // read with the drive level; empty until it is first read
    QList<MediaItem> m_FolderItems;
};

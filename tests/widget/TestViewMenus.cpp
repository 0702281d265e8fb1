// The three context menus opened on the view as the desktop opens them: which menu, where, and
// the enable and check state of every item in representative states of the view.
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/ModalDriver.h"
#include "support/QtPrinters.h"
#include "support/StoredResume.h"
#include "support/ViewFixture.h"
#include "support/ViewTestKit.h"
#include "view/CRavoloView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace ViewTestKit;

namespace {

struct ItemState {
    bool enabled = true;
    bool checked = false;
    bool operator==(const ItemState&) const = default;
};
void PrintTo(const ItemState& s, std::ostream* out) {
    *out << (s.enabled ? "enabled" : "disabled") << (s.checked ? ", checked" : "");
}

// What was on screen while the menu was open.
struct OpenedMenu {
    std::map<int, ItemState> items; // by command id, submenus included
    QStringList captions;           // the top level, in order ("" for a separator)
    QPoint position;
    bool menuOpenFlag = false;
};

void Collect(const QMenu& menu, OpenedMenu& seen, bool top) {
    for (const QAction* action : menu.actions()) {
        if (top)
            seen.captions << action->text();
        if (action->menu())
            Collect(*action->menu(), seen, false);
        else if (!action->isSeparator())
            seen.items[action->data().toInt()] = {action->isEnabled(), action->isChecked()};
    }
}

// Sends a context-menu event to `target` and closes the menu it opens once it is shown.
OpenedMenu OpenContextMenu(CRavoloView& view, QWidget& target, QContextMenuEvent::Reason reason,
                           QPoint local = {}) {
    OpenedMenu seen;
    bool found = false;
    OnNextShown<QMenu>(&QApplication::activePopupWidget, [&](QMenu* menu) {
        found = true;
        Collect(*menu, seen, true);
        seen.position = menu->pos();
        seen.menuOpenFlag = view.Pointer().MenuOpen();
        menu->close();
    });
    QContextMenuEvent event(reason, local, target.mapToGlobal(local));
    QApplication::sendEvent(&target, &event);
    EXPECT_TRUE(found) << "no menu opened";
    EXPECT_FALSE(view.Pointer().MenuOpen());
    return seen;
}

class ViewMenusOnScreen : public ViewFixture {
protected:
    void SetUp() override {
        QDir().mkpath(h.Folder() + "/media/sub");
        m_A = h.MakeFile(QStringLiteral("media/a.avi"));
        h.MakeFile(QStringLiteral("media/b.avi"));
        h.OpenAt(QStringLiteral("media"));
        h.StoreResume(0, StoredResume::Video(m_A, 30));
        h.StoreResume(1, StoredResume::Video(h.Folder() + "/gone.avi", 40));
    }
    // The menu opened with the mouse on the visible list, or on the view while playing.
    OpenedMenu Open() {
        QWidget& target = View().Session().IsPlaying() ? static_cast<QWidget&>(View())
                                                       : *VisibleList(View()).viewport();
        return OpenContextMenu(View(), target, QContextMenuEvent::Mouse, QPoint(20, 20));
    }
    void Expect(const OpenedMenu& menu, const std::map<int, ItemState>& expected) {
        for (const auto& [id, state] : expected) {
            ASSERT_TRUE(menu.items.count(id)) << id;
            EXPECT_EQ(menu.items.at(id), state) << id;
        }
    }

    QString m_A;
};

constexpr ItemState kOn{true, false};
constexpr ItemState kOff{false, false};
constexpr ItemState kOnChecked{true, true};
constexpr ItemState kOffChecked{false, true};

TEST_F(ViewMenusOnScreen, TheResumeScreenMenuFollowsTheSelectedEntry) {
    Start();
    const OpenedMenu menu = Open();
    EXPECT_TRUE(menu.menuOpenFlag);
    EXPECT_EQ(menu.captions,
              (QStringList{"再生\tEnter", "", "Folder画面へ(選択継承)\tTab",
                           "Folder画面へ(選択無視)\tCtrl+O", "Resume登録削除\tBackspace", "",
                           "連続再生モード", "Full Screen 切替\tCtrl+F", "", "MPlayer パス設定 ...",
                           "設定 ...", "Ravoloについて ...", "", "終了\tAlt+F4"}));
    Expect(menu, {{ID_PLAY, kOn},
                  {ID_RESUME_DELETE, kOn},
                  {ID_CONTINUOUS_MODE, kOnChecked},
                  {ID_VIEW_FULLSCREEN, kOn},
                  {ID_SWITCH_SCREEN_CARRY, kOn}});
    // A missing file cannot be played, yet its entry can be deleted.
    ASSERT_TRUE(View().ResumeListCtrl().SelectRow(1, true));
    View().OnCommand(ID_CONTINUOUS_MODE);
    h.frame.fullScreen = true;
    Expect(Open(), {{ID_PLAY, kOff},
                    {ID_RESUME_DELETE, kOn},
                    {ID_CONTINUOUS_MODE, kOn},
                    {ID_VIEW_FULLSCREEN, kOnChecked}});
    // An empty list: nothing to play or delete.
    h.prompter.resumeDeleteAnswers = {true, true};
    View().OnCommand(ID_RESUME_DELETE);
    View().OnCommand(ID_RESUME_DELETE);
    ASSERT_EQ(View().ResumeListCtrl().RowCount(), 0);
    Expect(Open(), {{ID_PLAY, kOff}, {ID_RESUME_DELETE, kOff}});
}

TEST_F(ViewMenusOnScreen, TheFolderScreenMenuFollowsTheSelectedItemAndTheLevel) {
    Start();
    View().OnCommand(ID_SWITCH_SCREEN);
    struct Case {
        const char* selected;
        std::map<int, ItemState> expected;
    };
    const Case cases[] = {
        {"sub",
         {{ID_PLAY, kOff},
          {ID_OPEN_FOLDER, kOn},
          {ID_FOLDER_UP, kOn},
          {ID_FOLDER_TOP, kOn},
          {ID_RESUME_DELETE, kOff}}},
        {"a.avi", {{ID_PLAY, kOn}, {ID_OPEN_FOLDER, kOff}, {ID_RESUME_DELETE, kOn}}},
        {"b.avi", {{ID_PLAY, kOn}, {ID_OPEN_FOLDER, kOff}, {ID_RESUME_DELETE, kOff}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        ASSERT_TRUE(SelectNamed(View().FolderList(), QString::fromUtf8(c.selected)));
        const OpenedMenu menu = Open();
        EXPECT_EQ(menu.captions.size(), 17);
        EXPECT_EQ(menu.captions.value(5), QStringLiteral("Resume画面へ(選択継承)\tTab"));
        Expect(menu, c.expected);
    }
    View().OnCommand(ID_FOLDER_TOP);
    Expect(Open(), {{ID_PLAY, kOff},
                    {ID_OPEN_FOLDER, kOn},
                    {ID_FOLDER_UP, kOff},
                    {ID_FOLDER_TOP, kOff},
                    {ID_RESUME_DELETE, kOff}});
}

TEST_F(ViewMenusOnScreen, ThePlaybackMenuFollowsTheLevel) {
    Start();
    ASSERT_TRUE(h.WaitForReady());
    View().PlaySelectedItem();
    ASSERT_TRUE(View().Session().IsPlaying());
    const std::vector<int> levelNine = {ID_SEEK_START, ID_SKIP_FORWARD, ID_SKIP_BACK,
                                        ID_SWITCH_AUDIO, ID_SWITCH_SUBTITLE};
    struct Case {
        int command; // brings the level
        ItemState pause, normal, frameStep, levelNineItems;
        int checkedLevelItem; // the submenu item checked, 0 for none
    };
    const Case cases[] = {
        {ID_SPEED_NORMAL, kOn, kOffChecked, kOff, kOn, 0},
        {ID_PAUSE, kOffChecked, kOn, kOn, kOff, 0},
        {ID_FF_X12, kOff, kOn, kOff, kOff, ID_FF_X12},
        {ID_SPEED_X1_10, kOff, kOn, kOff, kOff, ID_SPEED_X1_10},
        {ID_REW_X120, kOff, kOn, kOff, kOff, ID_REW_X120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        View().OnCommand(c.command);
        const OpenedMenu menu = Open();
        EXPECT_TRUE(menu.menuOpenFlag);
        EXPECT_EQ(menu.items.size(), 25u);
        Expect(menu, {{ID_PAUSE, c.pause},
                      {ID_SPEED_NORMAL, c.normal},
                      {ID_FRAME_STEP, c.frameStep},
                      {ID_STOP_REGISTER, kOn},
                      {ID_STOP_NO_REGISTER, kOn}});
        for (int id : levelNine)
            EXPECT_EQ(menu.items.at(id), c.levelNineItems) << id;
        for (int id : {ID_SPEED_X1_20, ID_SPEED_X1_10, ID_SPEED_X1_5TH, ID_SPEED_X1_2,
                       ID_SPEED_X1_5, ID_SPEED_X2, ID_FF_X4, ID_FF_X12, ID_FF_X40, ID_FF_X120,
                       ID_REW_X4, ID_REW_X12, ID_REW_X40, ID_REW_X120})
            EXPECT_EQ(menu.items.at(id), (ItemState{true, id == c.checkedLevelItem})) << id;
    }
}

TEST_F(ViewMenusOnScreen, AMenuAskedForFromTheKeyboardOpensAtTheViewsCornerPlusFifty) {
    Start();
    const OpenedMenu menu =
        OpenContextMenu(View(), View().ResumeListCtrl(), QContextMenuEvent::Keyboard);
    EXPECT_EQ(menu.position, View().mapToGlobal(QPoint(50, 50)));
    const QPoint click(120, 90);
    const OpenedMenu byMouse = OpenContextMenu(View(), *View().ResumeListCtrl().viewport(),
                                               QContextMenuEvent::Mouse, click);
    EXPECT_EQ(byMouse.position, View().ResumeListCtrl().viewport()->mapToGlobal(click));
}

TEST_F(ViewMenusOnScreen, AChosenItemRunsItsCommand) {
    Start();
    OnNextShown<QMenu>(&QApplication::activePopupWidget, [](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->data().toInt() == ID_SWITCH_SCREEN)
                menu->setActiveAction(action);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(), View().mapToGlobal(QPoint()));
    QApplication::sendEvent(&View(), &event);
    EXPECT_FALSE(View().State().m_bResumeScreen);
    EXPECT_FALSE(View().Pointer().MenuOpen());
}

} // namespace

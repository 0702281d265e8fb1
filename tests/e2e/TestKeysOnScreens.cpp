// Keys pressed on the real window do their jobs on the screen they belong to: Tab, Enter, Esc,
// Backspace with its confirmation, Left and Ctrl+S.
#include "support/RavoloDesktop.h"

#include <gtest/gtest.h>

namespace {

const QString kPlainTitle = QStringLiteral("Ravolo");
const QString kDeleteDialog = QStringLiteral("^Resume 削除$");

// The position of a stored entry "kind|seconds|size|path"; -1 when there is none.
int StoredSeconds(const QString& entry) {
    bool ok = false;
    const int seconds = entry.section(QLatin1Char('|'), 1, 1).toInt(&ok);
    return ok ? seconds : -1;
}

} // namespace

class KeysOnScreens : public testing::Test {
protected:
    // Three clips in the media folder, which the folder screen shows; b and a have entries.
    void SetUp() override {
        for (QString* clip : {&a, &b, &c})
            *clip =
                desktop.MakeClip(QStringLiteral("%1.avi").arg(QChar(u'a' + int(clip - &a))), 20);
        desktop.WriteSetting(QStringLiteral("CurrentFolder"), desktop.MediaFolder());
        stored = {RavoloDesktop::ResumeValue(b, 8), RavoloDesktop::ResumeValue(a, 3)};
        for (int i = 0; i < stored.size(); ++i)
            desktop.WriteSetting(QStringLiteral("Resume%1").arg(i), stored[i]);
    }

    // Answers the resume-delete confirmation with the keys.
    bool AnswerDeleteDialog(const QString& keys) const {
        QList<quint64> dialogs;
        if (!RavoloDesktop::WaitUntil(
                [&] { return !(dialogs = desktop.VisibleWindows(kDeleteDialog)).isEmpty(); },
                RavoloDesktop::kWaitMs))
            return false;
        desktop.KeyTo(dialogs.first(), keys);
        return RavoloDesktop::WaitUntil(
            [&] { return desktop.VisibleWindows(kDeleteDialog).isEmpty(); },
            RavoloDesktop::kWaitMs);
    }

    RavoloDesktop desktop;
    QString a, b, c;
    QStringList stored;
};

TEST_F(KeysOnScreens, TabCarriesTheSelectionBothWaysAndEnterPlaysIt) {
    ASSERT_TRUE(desktop.Start());
    // The resume screen opens on b. Tab shows the folder with b selected; the row below is c.
    desktop.Key(QStringLiteral("Tab Down Return"));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("c.avi - Ravolo")));

    // Esc stops; the folder screen comes back with c selected. Two rows up is a, which has an
    // entry; Tab shows the resume screen with a selected, not the first entry b.
    desktop.Key(QStringLiteral("Escape"));
    ASSERT_TRUE(desktop.WaitForTitle(kPlainTitle));
    ASSERT_TRUE(desktop.WaitForListScreen());
    desktop.Key(QStringLiteral("Up Up Tab Return"));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("a.avi - Ravolo")));

    // Ctrl+S puts a at the front with its new position; b follows untouched.
    desktop.Key(QStringLiteral("ctrl+s"));
    ASSERT_TRUE(desktop.WaitForTitle(kPlainTitle));
    EXPECT_TRUE(RavoloDesktop::WaitUntil(
        [&] {
            const QStringList now = desktop.StoredResumeList();
            return now.size() == 2 && now[0].endsWith(QLatin1Char('|') + a) && now[1] == stored[0];
        },
        RavoloDesktop::kWaitMs))
        << desktop.StoredResumeList().join(QLatin1Char('\n')).toStdString();
}

TEST_F(KeysOnScreens, BackspaceDeletesAnEntryOnlyWhenConfirmed) {
    ASSERT_TRUE(desktop.Start());
    // The resume screen, b selected: "No" keeps it, then Enter on the default "Yes" deletes it.
    desktop.Key(QStringLiteral("BackSpace"));
    ASSERT_TRUE(AnswerDeleteDialog(QStringLiteral("alt+n")));
    desktop.Key(QStringLiteral("BackSpace"));
    ASSERT_TRUE(AnswerDeleteDialog(QStringLiteral("Return")));
    ASSERT_TRUE(RavoloDesktop::WaitUntil(
        [&] { return desktop.StoredResumeList() == QStringList{stored[1]}; },
        RavoloDesktop::kWaitMs))
        << desktop.StoredResumeList().join(QLatin1Char('\n')).toStdString();

    // The folder screen with a selected: Alt+Y deletes its entry.
    desktop.Key(QStringLiteral("Tab BackSpace"));
    ASSERT_TRUE(AnswerDeleteDialog(QStringLiteral("alt+y")));
    EXPECT_TRUE(RavoloDesktop::WaitUntil([&] { return desktop.StoredResumeList().isEmpty(); },
                                         RavoloDesktop::kWaitMs))
        << desktop.StoredResumeList().join(QLatin1Char('\n')).toStdString();
}

TEST_F(KeysOnScreens, BackspaceWhilePlayingGoesBackToTheStart) {
    // The first 4 seconds of b are red; it resumes at second 8, past them.
    ASSERT_FALSE(desktop.MakeClip(QStringLiteral("b.avi"), 20, true, 4).isEmpty());
    ASSERT_TRUE(desktop.Start());
    desktop.Key(QStringLiteral("Return"));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("b.avi - Ravolo")));
    ASSERT_TRUE(desktop.WaitForRedPicture(false));

    desktop.Key(QStringLiteral("BackSpace"));
    ASSERT_TRUE(desktop.WaitForRedPicture(true));
    desktop.Key(QStringLiteral("ctrl+s"));
    ASSERT_TRUE(desktop.WaitForTitle(kPlainTitle));
    // The stop is complete, and the position stored, when the list screen is back.
    ASSERT_TRUE(desktop.WaitForListScreen());
    const QStringList now = desktop.StoredResumeList();
    ASSERT_EQ(now.size(), 2);
    EXPECT_TRUE(now[0].endsWith(QLatin1Char('|') + b));
    EXPECT_LT(StoredSeconds(now[0]), 4);
    EXPECT_EQ(now[1], stored[1]);
}

TEST_F(KeysOnScreens, LeftGoesUpAFolderAndEscToTheDrives) {
    desktop.WriteSetting(QStringLiteral("Resume0"), QString());
    desktop.WriteSetting(QStringLiteral("Resume1"), QString());
    ASSERT_TRUE(desktop.Start());
    // The folder screen on the media folder; the profile follows every move at once.
    desktop.Key(QStringLiteral("Left"));
    EXPECT_TRUE(desktop.WaitForSetting(QStringLiteral("CurrentFolder"), desktop.Root()));
    desktop.Key(QStringLiteral("Escape"));
    EXPECT_TRUE(desktop.WaitForSetting(QStringLiteral("CurrentFolder"), QString()));
}

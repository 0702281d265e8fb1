// The settings command and the About command run through the view: what the dialog shows,
// what OK writes to the profile and changes on screen, what Cancel undoes.
#include "controls/CControlDlg.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CSettingDlg.h"
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/ModalDriver.h"
#include "support/QtPrinters.h"
#include "support/ViewHarness.h"
#include "support/ViewTestKit.h"
#include "view/CRavoloView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>
#include <map>

using namespace ViewTestKit;

namespace {

class ViewSettings : public testing::Test {
protected:
    void SetUp() override {
        h.MakeFile(QStringLiteral("media/a.avi"));
        h.MakeFile(QStringLiteral("media/c.mkv"));
        h.MakeFile(QStringLiteral("media/d.ogg"));
        h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/media");
        h.Start(FakePlayer::Program());
    }
    CRavoloView& View() { return h.View(); }
    QByteArray ProfileBytes() const {
        QFile file(h.ProfileOnDisk()->Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Runs the settings command; `act` sees the open dialog and ends it.
    void RunSettings(const std::function<void(CSettingDlg&)>& act) {
        bool opened = false;
        OnNextModal<CSettingDlg>([&](CSettingDlg* dialog) {
            opened = true;
            act(*dialog);
        });
        View().OnCommand(ID_SETTINGS);
        EXPECT_TRUE(opened);
    }
    template <typename T> static T& Control(CSettingDlg& dialog, const char* id) {
        T* control = dialog.findChild<T*>(QString::fromLatin1(id));
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }

    FakePlayer m_Player{""};
    ViewHarness h;
};

TEST_F(ViewSettings, OkWritesEverySettingAndLaysTheListsOutAnew) {
    const std::map<const char*, QString> edits = {{"1006", "30"},      {"1008", "5"},
                                                  {"1013", "3000"},    {"1015", "4000"},
                                                  {"1002", "avi;mkv"}, {"1003", "ogg"}};
    QSize padWhileOpen;
    RunSettings([&](CSettingDlg& dialog) {
        // The view's values.
        EXPECT_EQ(Control<QComboBox>(dialog, "1000").currentIndex(), 2);
        EXPECT_EQ(Control<QComboBox>(dialog, "1001").currentIndex(), 4);
        EXPECT_EQ(Control<QSlider>(dialog, "1005").value(), 40);
        EXPECT_EQ(Control<QLineEdit>(dialog, "1006").text(), QStringLiteral("12"));
        EXPECT_EQ(Control<QLineEdit>(dialog, "1013").text(), QStringLiteral("2200"));
        EXPECT_EQ(Control<QLineEdit>(dialog, "1015").text(), QStringLiteral("2000"));
        EXPECT_EQ(Control<QLineEdit>(dialog, "1002").text(),
                  QStringLiteral("avi;mov;mpg;mpeg;wmv;mp4;m4v;flv;ogm;divx"));
        EXPECT_TRUE(Control<QCheckBox>(dialog, "1004").isChecked());
        Control<QComboBox>(dialog, "1000").setCurrentIndex(0);
        Control<QComboBox>(dialog, "1001").setCurrentIndex(1);
        Control<QSlider>(dialog, "1005").setValue(60);
        QCoreApplication::sendPostedEvents();
        padWhileOpen = View().ControlPad()->size();
        for (const auto& [id, text] : edits)
            Control<QLineEdit>(dialog, id).setText(text);
        Control<QCheckBox>(dialog, "1004").setChecked(false);
        Control<QPushButton>(dialog, "1").click();
    });
    EXPECT_EQ(padWhileOpen, QSize(230, 537));
    EXPECT_EQ(View().ControlPad()->size(), QSize(230, 537));
    const std::unique_ptr<SettingsStore> disk = h.ProfileOnDisk();
    const std::map<QString, QString> written = {
        {"FontSize", "0:1:60"},    {"ExtFilterV", "avi;mkv"},  {"ExtFilterA", "ogg"},
        {"AFNoResume", "0"},       {"SkipForwardSec", "30"},   {"SkipBackSec", "5"},
        {"EndChkTimeout", "3000"}, {"MPPrepCycleTime", "4000"}};
    for (const auto& [key, value] : written)
        EXPECT_EQ(disk->ReadString(key), value) << key.toStdString();
    EXPECT_EQ(View().Settings().m_nSkipForwardSec, 30);
    EXPECT_EQ(View().Settings().m_nEndChkTimeout, 3000u);
    // The new size step and extension lists show at once.
    CColorListCtrl& list = View().FolderList();
    EXPECT_EQ(list.geometry().top(), 37);
    EXPECT_EQ(list.RowHeight(), 22);
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.IconIndex(RowNamed(list, QStringLiteral("c.mkv"))), 2);
    EXPECT_EQ(list.IconIndex(RowNamed(list, QStringLiteral("d.ogg"))), 5);
    EXPECT_TRUE(list.isVisible());
}

TEST_F(ViewSettings, CancelPutsThePadSizeBackAndWritesNothing) {
    const QByteArray before = ProfileBytes();
    QSize padWhileOpen;
    RunSettings([&](CSettingDlg& dialog) {
        Control<QSlider>(dialog, "1005").setValue(80);
        QCoreApplication::sendPostedEvents();
        padWhileOpen = View().ControlPad()->size();
        Control<QLineEdit>(dialog, "1006").setText(QStringLiteral("99"));
        Control<QComboBox>(dialog, "1000").setCurrentIndex(4);
        Control<QPushButton>(dialog, "2").click();
    });
    EXPECT_EQ(padWhileOpen, QSize(307, 716));
    EXPECT_EQ(View().ControlPad()->size(), QSize(153, 358));
    EXPECT_EQ(View().Settings().m_nPadSize, 40);
    EXPECT_EQ(View().Settings().m_nSkipForwardSec, 12);
    EXPECT_EQ(View().FolderList().geometry().top(), 68);
    EXPECT_EQ(ProfileBytes(), before);
}

TEST_F(ViewSettings, AboutShowsTheVersionAfterABlank) {
    QString version;
    OnNextModal<CAboutDlg>([&](CAboutDlg* dialog) {
        version = dialog->findChild<QLabel*>(CAboutDlg::kVersionId)->text();
        dialog->accept();
    });
    View().OnCommand(ID_APP_ABOUT);
    EXPECT_EQ(version, QStringLiteral(" 1.5.0.0"));
}

} // namespace

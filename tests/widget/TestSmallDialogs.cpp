#include "dialogs/CAboutDlg.h"
#include "dialogs/CInqResumeDeleteDlg.h"
#include "dialogs/CWaitDlg.h"
#include "support/QtPrinters.h"
#include "support/WidgetChecks.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

QString LabelText(const QWidget& dialog, const char* id) {
    const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(id));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(id));
}

} // namespace

TEST(WaitDlg, IsHiddenUntilShownThenShowsItsTextCentredOnTheParentWindow) {
    QWidget frame;
    frame.setGeometry(100, 80, 800, 600);
    frame.show();
    CWaitDlg wait(&frame);
    wait.messageText = QStringLiteral("MPlayer の準備中");
    EXPECT_FALSE(wait.isVisible());
    EXPECT_FALSE(wait.isModal());

    wait.CenterAndShow();

    EXPECT_TRUE(wait.isVisible());
    EXPECT_EQ(wait.windowTitle(), QStringLiteral("お待ちください"));
    EXPECT_EQ(LabelText(wait, CWaitDlg::kTextId), QStringLiteral("MPlayer の準備中"));
    EXPECT_FALSE(wait.windowFlags() & Qt::WindowCloseButtonHint);
    const QPoint offset = wait.frameGeometry().center() - frame.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
    wait.hide();
    EXPECT_FALSE(wait.isVisible());
}

TEST(WaitDlg, CentresOnTheScreenWhileTheParentWindowIsHidden) {
    QWidget frame;
    frame.setGeometry(0, 0, 200, 100); // not shown: the frame appears only after start-up
    CWaitDlg wait(&frame);
    wait.CenterAndShow();
    const QPoint offset =
        wait.frameGeometry().center() - frame.screen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

TEST(WaitDlg, EnterAndEscDismissItAndTheLaterHideIsHarmless) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        CWaitDlg wait;
        wait.CenterAndShow();
        QTest::keyClick(&wait, key);
        EXPECT_FALSE(wait.isVisible()) << key;
        wait.hide();
        wait.CenterAndShow(); // the next start of MPlayer shows it again
        EXPECT_TRUE(wait.isVisible()) << key;
    }
}

TEST(InqResumeDeleteDlg, OnlyYesConfirms) {
    struct Case {
        const char* name;
        std::function<void(CInqResumeDeleteDlg*)> answer;
        int expected;
    };
    const Case cases[] = {
        {"yes button", [](auto* d) { d->YesButton()->click(); }, QDialog::Accepted},
        {"no button", [](auto* d) { d->NoButton()->click(); }, QDialog::Rejected},
        {"Enter on the default", [](auto* d) { QTest::keyClick(d, Qt::Key_Return); },
         QDialog::Accepted},
        {"Esc", [](auto* d) { QTest::keyClick(d, Qt::Key_Escape); }, QDialog::Rejected},
        {"close box", [](auto* d) { d->close(); }, QDialog::Rejected},
        {"Y", [](auto* d) { QTest::keyClick(d, Qt::Key_Y); }, QDialog::Accepted},
        {"N", [](auto* d) { QTest::keyClick(d, Qt::Key_N); }, QDialog::Rejected},
    };
    for (const Case& c : cases) {
        CInqResumeDeleteDlg dialog;
        QTimer::singleShot(0, &dialog, [&] { c.answer(&dialog); });
        EXPECT_EQ(dialog.exec(), c.expected) << c.name;
    }
}

TEST(InqResumeDeleteDlg, AsksInItsOwnWords) {
    CInqResumeDeleteDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Resume 削除"));
    EXPECT_EQ(dialog.YesButton()->text(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(dialog.NoButton()->text(), QStringLiteral("いいえ(&N)"));
    EXPECT_TRUE(dialog.YesButton()->isDefault());
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Resume登録を削除しますか？")))
        << texts.join('|').toStdString();
}

TEST(SmallDialogs, EveryCaptionFits) {
    CWaitDlg wait;
    wait.messageText = QStringLiteral("MPlayer の準備中");
    wait.CenterAndShow();
    CInqResumeDeleteDlg confirm;
    confirm.show();
    CAboutDlg about(ProgramVersion::FromBuild());
    about.show();
    for (const QWidget* dialog : {static_cast<QWidget*>(&wait), static_cast<QWidget*>(&confirm),
                                  static_cast<QWidget*>(&about)})
        EXPECT_EQ(ClippedTexts(*dialog), QStringList()) << dialog->windowTitle().toStdString();
}

TEST(AboutDlg, ShowsTheVersionAfterABlank) {
    struct Case {
        ProgramVersion version;
        const char* expected;
    };
    const Case cases[] = {
        {ProgramVersion::FromBuild(), " 1.5.0.0"},
        {ProgramVersion{}, " 0.0.0.0"}, // unread
        {ProgramVersion{0x0002000A, 0xFFFF0003}, " 2.10.65535.3"},
    };
    for (const Case& c : cases) {
        CAboutDlg about(c.version);
        EXPECT_EQ(LabelText(about, CAboutDlg::kVersionId), QString::fromLatin1(c.expected));
    }
}

TEST(AboutDlg, NamesTheProgramAndClosesWithOk) {
    CAboutDlg about(ProgramVersion::FromBuild());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("バージョン情報"));
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Ravolo  Ver."))) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Copyright (C) 2015 Quendal")));
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("1"));
    ASSERT_NE(ok, nullptr);
    QTimer::singleShot(0, ok, &QPushButton::click);
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

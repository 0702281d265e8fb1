#include "dialogs/CInqResumeDeleteDlg.h"
#include "dialogs/QtPrompter.h"
#include "support/ModalDriver.h"
#include "support/Patience.h"
#include "support/QtPrinters.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(QtPrompter, ShowMessageShowsTheTextWithItsIconAndOnlyOk) {
    struct Case {
        MessageIcon icon;
        QMessageBox::Icon shown;
    };
    const Case cases[] = {{MessageIcon::Stop, QMessageBox::Critical},
                          {MessageIcon::Warning, QMessageBox::Warning},
                          {MessageIcon::Information, QMessageBox::Information},
                          {MessageIcon::None, QMessageBox::NoIcon}};
    QtPrompter prompter(nullptr);
    for (const Case& c : cases) {
        bool seen = false;
        OnNextModal<QMessageBox>([&](QMessageBox* box) {
            seen = true;
            EXPECT_EQ(box->text(), QStringLiteral("CreateMutex: Failed."));
            EXPECT_EQ(box->icon(), c.shown);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Ravolo"));
            EXPECT_EQ(box->buttons().size(), 1);
            box->button(QMessageBox::Ok)->click();
        });
        prompter.ShowMessage(QStringLiteral("CreateMutex: Failed."), c.icon);
        EXPECT_TRUE(seen);
    }
}

TEST(QtPrompter, AskRetryIsTrueOnlyForRetry) {
    struct Case {
        const char* name;
        std::function<void(QMessageBox*)> answer;
        bool expected;
    };
    const Case cases[] = {
        {"Retry", [](QMessageBox* b) { b->button(QMessageBox::Retry)->click(); }, true},
        {"Cancel", [](QMessageBox* b) { b->button(QMessageBox::Cancel)->click(); }, false},
        {"Esc", [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }, false},
    };
    QtPrompter prompter(nullptr);
    for (const Case& c : cases) {
        OnNextModal<QMessageBox>([&](QMessageBox* box) {
            EXPECT_EQ(box->text(), QStringLiteral("フォルダーが見つかりません。"));
            EXPECT_EQ(box->buttons().size(), 2);
            c.answer(box);
        });
        EXPECT_EQ(prompter.AskRetry(QStringLiteral("フォルダーが見つかりません。")), c.expected)
            << c.name;
    }
}

TEST(QtPrompter, ConfirmResumeDeleteAsksWithTheConfirmationDialog) {
    QtPrompter prompter(nullptr);
    OnNextModal<CInqResumeDeleteDlg>([](CInqResumeDeleteDlg* d) { d->YesButton()->click(); });
    EXPECT_TRUE(prompter.ConfirmResumeDelete());
    OnNextModal<CInqResumeDeleteDlg>([](CInqResumeDeleteDlg* d) { d->NoButton()->click(); });
    EXPECT_FALSE(prompter.ConfirmResumeDelete());
}

class ChooseExecutableTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QFile player(folder.filePath("mplayer"));
        ASSERT_TRUE(player.open(QIODevice::WriteOnly));
        player.setPermissions(player.permissions() | QFileDevice::ExeOwner);
    }

    QTemporaryDir folder;
    QtPrompter prompter{nullptr};
};

TEST_F(ChooseExecutableTest, OpensAtTheFolderWithTheNameAndReturnsTheChosenFile) {
    OnNextModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->directory().absolutePath(), folder.path());
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog->nameFilters(),
                  (QStringList{QtPrompter::kExecutablesFilter, QtPrompter::kAllFilesFilter}));
        EXPECT_TRUE(dialog->filter() & QDir::Executable);
        static_cast<QDialog*>(dialog)->accept(); // as the Open button does
    });
    EXPECT_EQ(prompter.ChooseExecutable(folder.path(), QStringLiteral("mplayer")),
              folder.filePath("mplayer"));
}

TEST_F(ChooseExecutableTest, CancelReturnsNothing) {
    OnNextModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(prompter.ChooseExecutable(folder.path(), QStringLiteral("mplayer")), QString());
}

TEST_F(ChooseExecutableTest, TheExecutablesFilterHidesFilesThatCannotRun) {
    QFile notes(folder.filePath("notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    const auto listed = [&](QFileDialog* dialog) {
        auto* model = dialog->findChild<QFileSystemModel*>();
        QStringList names;
        const QModelIndex root = model->index(folder.path());
        for (int row = 0; row < model->rowCount(root); ++row)
            names << model->index(row, 0, root).data().toString();
        names.sort();
        return names;
    };
    OnNextModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !listed(dialog).isEmpty(); }, kPatienceMs));
        EXPECT_EQ(listed(dialog), QStringList{"mplayer"});
        emit dialog->filterSelected(QtPrompter::kAllFilesFilter);
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed(dialog).size() == 2; }, kPatienceMs));
        EXPECT_EQ(listed(dialog), (QStringList{"mplayer", "notes.txt"}));
        emit dialog->filterSelected(QtPrompter::kExecutablesFilter);
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed(dialog).size() == 1; }, kPatienceMs));
        dialog->reject();
    });
    prompter.ChooseExecutable(folder.path(), QStringLiteral("mplayer"));
}

TEST(QtPrompter, DismissCancelsTheOpenPromptAndAnswersEveryLaterOneAtOnce) {
    QtPrompter prompter(nullptr);
    OnNextModal<QMessageBox>([&](QMessageBox*) { prompter.Dismiss(); });
    EXPECT_FALSE(prompter.AskRetry(QStringLiteral("フォルダーが見つかりません。")));
    // Nothing opens any more: each would block until the test times out.
    prompter.ShowMessage(QStringLiteral("MPlayer を起動できませんでした。"), MessageIcon::Warning);
    EXPECT_FALSE(prompter.AskRetry(QStringLiteral("フォルダーが見つかりません。")));
    EXPECT_FALSE(prompter.ConfirmResumeDelete());
    EXPECT_EQ(prompter.ChooseExecutable(QString(), QStringLiteral("mplayer")), QString());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

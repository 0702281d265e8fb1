#include "support/QtPrinters.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

TEST(ScriptedPrompter, AnswersInQueueOrderThenAsAPersonCancelling) {
    ScriptedPrompter prompter;
    prompter.retryAnswers = {true, true};
    prompter.resumeDeleteAnswers = {true};
    prompter.executableAnswers = {QStringLiteral("/usr/bin/mplayer")};

    EXPECT_TRUE(prompter.AskRetry(QStringLiteral("a")));
    EXPECT_TRUE(prompter.AskRetry(QStringLiteral("b")));
    EXPECT_FALSE(prompter.AskRetry(QStringLiteral("c")));
    EXPECT_TRUE(prompter.ConfirmResumeDelete());
    EXPECT_FALSE(prompter.ConfirmResumeDelete());
    EXPECT_EQ(prompter.ChooseExecutable(QStringLiteral("/opt"), QStringLiteral("mplayer")),
              QStringLiteral("/usr/bin/mplayer"));
    EXPECT_EQ(prompter.ChooseExecutable(QStringLiteral("/opt"), QStringLiteral("mplayer")),
              QString());

    EXPECT_EQ(prompter.Texts(ScriptedPrompter::Kind::Retry), (QStringList{"a", "b", "c"}));
    ASSERT_EQ(prompter.prompts.size(), 7u);
    EXPECT_EQ(prompter.prompts.back().initialDir, QStringLiteral("/opt"));
    EXPECT_EQ(prompter.prompts.back().initialName, QStringLiteral("mplayer"));
}

TEST(ScriptedPrompter, TheHookSeesEachPromptWhileItIsOpenEvenWhenItPromptsAgain) {
    ScriptedPrompter prompter;
    QStringList seen;
    prompter.onPrompt = [&](const ScriptedPrompter::Prompt& prompt) {
        seen << prompt.text;
        if (prompt.text == QStringLiteral("first"))
            prompter.ShowMessage(QStringLiteral("nested"), MessageIcon::Information);
    };
    prompter.ShowMessage(QStringLiteral("first"), MessageIcon::Stop);
    EXPECT_EQ(seen, (QStringList{"first", "nested"}));
    EXPECT_EQ(prompter.prompts[0].icon, MessageIcon::Stop);
    EXPECT_EQ(prompter.prompts[1].icon, MessageIcon::Information);
}

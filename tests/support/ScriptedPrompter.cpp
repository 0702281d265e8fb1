#include "support/ScriptedPrompter.h"

#include <utility>

void ScriptedPrompter::ShowMessage(const QString& text, MessageIcon icon) {
    Record({Kind::Message, text, icon, {}, {}});
}

bool ScriptedPrompter::AskRetry(const QString& text) {
    Record({Kind::Retry, text, MessageIcon::None, {}, {}});
    return Take(retryAnswers, false);
}

bool ScriptedPrompter::ConfirmResumeDelete() {
    Record({Kind::ResumeDelete, {}, MessageIcon::None, {}, {}});
    return Take(resumeDeleteAnswers, false);
}

QString ScriptedPrompter::ChooseExecutable(const QString& initialDir, const QString& initialName) {
    Record({Kind::Executable, {}, MessageIcon::None, initialDir, initialName});
    return Take(executableAnswers, QString());
}

QStringList ScriptedPrompter::Texts(Kind kind) const {
    QStringList texts;
    for (const Prompt& prompt : prompts) {
        if (prompt.kind == kind)
            texts << prompt.text;
    }
    return texts;
}

void ScriptedPrompter::Record(Prompt prompt) {
    prompts.push_back(prompt);
    if (onPrompt)
        onPrompt(prompt); // a copy: the hook may prompt again and grow the list
}

template <typename T> T ScriptedPrompter::Take(std::deque<T>& answers, T unanswered) {
    if (answers.empty())
        return unanswered;
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

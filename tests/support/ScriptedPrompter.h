#pragma once

#include "platform/IPrompter.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// Answers prompts from queued answers and records every prompt, so tests see what a person
// would have seen. An empty queue answers as a person cancelling would: no retry, no deletion,
// no file.
class ScriptedPrompter : public IPrompter {
public:
    enum class Kind { Message, Retry, ResumeDelete, Executable };
    struct Prompt {
        Kind kind;
        QString text; // a message's or a question's
        MessageIcon icon = MessageIcon::None;
        QString initialDir; // the chooser's
        QString initialName;
    };

    std::deque<bool> retryAnswers;
    std::deque<bool> resumeDeleteAnswers;
    std::deque<QString> executableAnswers;
    std::vector<Prompt> prompts;
    // Runs while a prompt is open, after it has been recorded (a modal box would block here).
    std::function<void(const Prompt&)> onPrompt;

    void ShowMessage(const QString& text, MessageIcon icon) override;
    bool AskRetry(const QString& text) override;
    bool ConfirmResumeDelete() override;
    QString ChooseExecutable(const QString& initialDir, const QString& initialName) override;

    // The texts of every prompt of one kind, in order.
    QStringList Texts(Kind kind) const;

private:
    void Record(Prompt prompt);
    template <typename T> static T Take(std::deque<T>& answers, T unanswered);
};
